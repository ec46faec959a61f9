#pragma once

// What the statistics tests share: a hand-made patient, options and a reader of table files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/StatisticTables.h"
#include "platform/Text.h"
#include "records/DayNumber.h"
#include "records/PatientFileFormat.h"
#include "records/PatientFileWriter.h"
#include "records/PatientSet.h"

namespace pondrel::test {

// A hand-made patient: two stays (the current one without exit date), twelve problems, a to-do
// list, texts that would start formulas, a tab inside a text.
inline std::u16string HandMadeText(PatientSet& set) {
    PatientRecord& r = set.AddNew();
    r.SetField(120, u"Doe");
    r.SetField(121, u"John");
    r.SetField(122, u"7");
    r.SetField(123, u"2");
    r.SetField(124, u"1950");
    r.sex = 1;
    r.location = u"Cardio A";
    r.SetField(1, u"Dr Who");
    r.SetField(7, u"=1+1");
    r.SetField(8, u"@SUM(A1)");
    r.SetField(9, u"-5\r\n-6");
    r.SetField(15, u"left\tright");
    r.SetField(98, u"#1 Call GP|N|#2 X-ray|*|");
    std::u16string journal;
    for (int p = 0; p < 12; ++p) {
        std::u16string title = p == 11 ? u"Asthma" : u"Problem " + ToText(p + 1);
        journal += u"§" + ToText(p) + u"|" + title + u"¦" + (p == 0 ? u"DD one" : u"") + u"¦A¦";
    }
    const std::u16string day = ToText(DayNumberOf(2006, 3, 13));
    journal += u"#" + day + u"§0|cough|fever 39|||||§11||||-Salbutamol|||";
    journal += u"#" + ToText(DayNumberOf(2006, 3, 14)) + u"§0||better, : |||||";
    r.problemJournal = journal;
    r.inUse = 1;
    r.subfolderType = u"Hosp";
    r.admission = DateTime{2006, 3, 13, 9, 5, 0};
    r.exit = DateTime{2006, 3, 20, 14, 30, 0};
    r.exitDateSet = 0;
    r.subfolderKey = SubfolderKeyOf(r);
    std::u16string first = ComposePatientText(r, r.subfolderKey);
    // An earlier stay, ambulatory, with its exit set.
    r.admission = DateTime{2005, 1, 2, 8, 0, 0};
    r.exit = DateTime{2005, 1, 3, 17, 45, 0};
    r.exitDateSet = 1;
    r.subfolderType = u"Ambu";
    r.SetField(1, u"Dr No");
    const std::u16string second = ComposePatientText(r, SubfolderKeyOf(r));
    const size_t block = second.find(kBlockMarkH);
    return first + second.substr(block);
}

inline StatisticOptions Options(bool dayFirst) {
    StatisticOptions options;
    for (int k = 0; k < kFieldCount; ++k) options.captions[static_cast<size_t>(k)] = u"F" + ToText(k);
    options.captions[7] = u" = Weight :\r\n";
    options.captions[8] = u"Height\t[cm]: ";
    options.dayFirst = dayFirst;
    return options;
}

// The lines of a table file, each split into its cells (the tab after the last cell removed).
inline std::vector<std::vector<std::u16string>> Rows(const std::string& bytes) {
    EXPECT_GE(bytes.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string(2, '\0'));
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size() - 2; i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    std::vector<std::vector<std::u16string>> rows;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(u"\r\n", pos);
        EXPECT_NE(end, std::u16string::npos);
        if (end == std::u16string::npos) break;
        std::u16string_view line = std::u16string_view(text).substr(pos, end - pos);
        EXPECT_EQ(line.back(), u'\t');  // a tab after every cell, the last one included
        rows.push_back(Split(line.substr(0, line.size() - 1), u'\t'));
        pos = end + 2;
    }
    return rows;
}

}  // namespace pondrel::test
