#pragma once

#include <gtest/gtest.h>

#include <string>

#include "TestPlatform.h"
#include "records/ItemEncoding.h"
#include "records/LocationList.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileParser.h"
#include "records/PatientFileReader.h"
#include "records/PatientFileWriter.h"
#include "records/PatientSet.h"
#include "records/WorkingFolders.h"

namespace pondrel::test {

// A device with the working folders, a set, a location list, a writer and a reader.
class RecordsFixture : public ::testing::Test {
protected:
    RecordsFixture() {
        t.files.AddFolder(WorkingFolders::kActivePatients);
        t.files.AddFolder(folders.Backup());
    }

    // A begun record of the set with name and birth date in the first-page and identity fields.
    PatientRecord& NewPatient(std::u16string last = u"Doe", std::u16string first = u"John",
                              std::u16string year = u"1950") {
        PatientRecord& r = set.AddNew();
        r.SetField(2, last);
        r.SetField(3, first);
        r.SetField(4, u"1");
        r.SetField(5, u"2");
        r.SetField(6, year);
        r.SetField(120, last);
        r.SetField(121, first);
        r.SetField(122, u"1");
        r.SetField(123, u"2");
        r.SetField(124, year);
        r.inUse = 1;
        r.subfolderType = u"Hosp";
        r.admission = DateTime{2006, 3, 13, 9, 41, 7};
        r.exit = r.admission;
        return r;
    }

    SaveOutcome Save(PatientRecord& r, SaveMode mode = SaveMode::Normal) {
        return writer.SavePatient(r, set.IndexOf(&r), mode, state);
    }

    static std::u16string ActivePath(std::u16string_view name) {
        return WorkingFolders::ActiveFile(name);
    }
    std::u16string BackupPath(std::u16string_view name) const {
        return JoinPath(folders.Backup(), name);
    }
    // The decoded text of a file, or "<none>".
    std::u16string TextOf(std::u16string_view path) const {
        auto bytes = t.files.Bytes(path);
        return bytes ? DecodeItemText(*bytes) : u"<none>";
    }
    void PutText(std::u16string_view name, std::u16string_view text) {
        t.files.AddFile(ActivePath(name), EncodeItemText(text));
    }

    TestPlatform t;
    WorkingFolders folders;
    PatientSet set{t.clock};
    LocationList locations;
    SaveState state;
    PatientFileWriter writer{t.files, t.messages, PatientFolders::Of(folders)};
    PatientFileReader reader{t.files, t.messages, folders, set, locations};
};

// Text from the first "¬H" to the first "¬E" inclusive.
inline std::u16string FirstBlock(std::u16string_view text) {
    size_t begin = text.find(kBlockMarkH);
    size_t end = text.find(kBlockEndMark, begin);
    return std::u16string(text.substr(begin, end + 2 - begin));
}

inline std::u16string Repeat(std::u16string_view piece, int count) {
    std::u16string out;
    for (int i = 0; i < count; ++i) out += piece;
    return out;
}

}  // namespace pondrel::test
