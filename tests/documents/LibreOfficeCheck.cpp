// The letters as their readers see them: every factory template is filled for a demo patient and
// for a patient whose texts look like RTF, the files are converted to plain text by LibreOffice
// (one start for all of them), and the text must hold the patient's values as typed, in the
// order of the template, and nothing of the template's codes.

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include <gtest/gtest.h>

#include "LetterFixtures.h"
#include "TempFolder.h"
#include "demo/DemoPatients.h"
#include "documents/CodeReplacer.h"
#include "documents/DocumentFiles.h"
#include "documents/LetterData.h"
#include "documents/TemplateCode.h"
#include "documents/TemplateFiller.h"
#include "platform/Text.h"

namespace pondrel::test {
namespace {

namespace fs = std::filesystem;

const DateTime kNow = {2026, 3, 2, 10, 0, 0};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Jane's texts written to break a document that would not escape them.
PatientRecord HostilePatient() {
    PatientRecord r = SamplePatient();
    r.SetField(1, u"Dr \u00C5sa \\\\ N\u00F8rby");
    r.SetField(2, u"Zo\u00EB {\\rtf1");
    r.SetField(3, u"}}}} \u00E9\u20AC\u0142\u4E2D");
    r.SetField(59, u"Dr {\\b Bold}");
    r.SetField(60, u"Dr \\'a2E2# Head");
    r.SetField(61, u"Fell at home \\par \u00A2E2# \u00A2 \\'a2558#");
    r.SetField(200, u"12345");
    r.admission = {2026, 2, 27, 9, 0, 0};
    r.admissionDay = DayNumberOf(2026, 2, 27);
    const std::u16string day = ToText(r.admissionDay);
    r.problemJournal =
        u"\u00A70|Pneumonia (J18.9) {\\b x}\u00A6\u00A6A\u00A6Treated \\par {\\i ok} \u00A2 done"
        u"\u00A71|}{\\rtf1 second\u00A6\u00A6A\u00A6"
        u"#" +
        day +
        u"\u00A70|cough \\line|||Amoxicillin (Clamoxyl) 1 g x3\r\n-"
        u"\\par}{ Drops\u00A2|||}";
    return r;
}

struct Letter {
    std::string name;                    // file name without extension
    std::string templateFile;            // in the resources folder
    std::vector<std::u16string> values;  // in the order the letter must show them
    std::vector<std::u16string> codeTexts;
};

// The code texts of a template ("E61dp" for "\'a2E61dp#").
std::vector<std::u16string> CodeTextsOf(const std::string& rtf) {
    std::vector<std::u16string> codes;
    for (size_t at = rtf.find("\\'a2"); at != std::string::npos; at = rtf.find("\\'a2", at + 1)) {
        const size_t end = rtf.find('#', at);
        if (end == std::string::npos) break;
        codes.push_back(NormaliseCodeText(rtf.substr(at + 4, end - at - 4)));
    }
    return codes;
}

class LibreOfficeCheck : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (std::system("command -v soffice > /dev/null 2>&1") != 0) return;
        s_folder = new TempFolder("pondrel-letters");
        DemoOptions options;
        options.patients = 1;
        s_patients.push_back(MakeDemoPatients(options).front());
        s_patients.push_back(HostilePatient());
        const char* templates[] = {"Admission template", "Out Letter Template", "Referral letter",
                                   "Medical certificate", "Hospital course"};
        for (size_t p = 0; p < s_patients.size(); ++p) {
            PatientRecord& record = s_patients[p];
            const LetterDays days = DaysOnOpening(record, FactoryLabels(), kNow);
            const TemplateData data =
                MakeTemplateData(record, FactoryLabels(), DateOrder::DayMonthYear, kNow, days);
            for (const char* name : templates) {
                const std::string source =
                    ReadFile(fs::path(PONDREL_RESOURCES_DIR) / (std::string(name) + ".rtf"));
                TemplateFill fill = FillTemplateBytes(source, data);
                ASSERT_TRUE(fill.Ok()) << name;
                Letter letter{std::string(name) + " " + std::to_string(p), name,
                              Expected(name, data), CodeTextsOf(source)};
                std::ofstream(*s_folder / (letter.name + ".rtf"), std::ios::binary)
                    << MarkedDocument(fill.bytes, record);
                s_letters.push_back(letter);
            }
        }
        const std::string command = "cd '" + s_folder->Path().string() +
                                    "' && soffice -env:UserInstallation=file://" +
                                    (s_folder->Path() / "profile").string() +
                                    " --headless --convert-to 'txt:Text (encoded):UTF8' "
                                    "--outdir txt *.rtf > soffice.log 2>&1";
        s_converted = std::system(command.c_str()) == 0;
    }
    // PONDREL_KEEP_LETTERS=1 keeps the letters and their texts, and prints where they are.
    static void TearDownTestSuite() {
        if (s_folder && std::getenv("PONDREL_KEEP_LETTERS")) {
            std::printf("letters kept in %s\n", s_folder->Path().c_str());
            return;
        }
        delete s_folder;
        s_folder = nullptr;
    }
    void SetUp() override {
        if (!s_folder)
            GTEST_SKIP() << "soffice (LibreOffice) is not installed: letters not checked";
        ASSERT_TRUE(s_converted) << ReadFile(*s_folder / "soffice.log");
    }

    // What each template shows of the patient, in its order.
    static std::vector<std::u16string> Expected(const std::string& name, const TemplateData& d) {
        const PatientRecord& r = d.record;
        auto code = [&](std::u16string_view text) {
            return CodeReplacer(d).Replace(*ParseCode(text)).PlainText();
        };
        const std::u16string title = code(u"553");
        // The first treatment started on the admission day (courses of earlier stays come
        // before it).
        auto admitted = std::find_if(
            d.treatmentCourses.begin(), d.treatmentCourses.end(),
            [&](const TreatmentCourse& course) { return course.startDay == r.admissionDay; });
        // The first current treatment, or the words a letter shows without any.
        const std::u16string today =
            d.treatmentsToday.empty() ? code(u"559") : d.treatmentsToday.front();
        if (name == "Admission template") {
            return {r.Field(60),
                    r.Field(59),
                    code(u"550"),
                    code(u"551"),
                    r.Field(61),
                    title,
                    admitted == d.treatmentCourses.end() ? std::u16string() : admitted->text,
                    r.Field(1)};
        }
        if (name == "Out Letter Template") {
            return {r.Field(60),
                    r.Field(59),
                    code(u"550"),
                    code(u"551"),
                    title,
                    r.Field(61),
                    today,
                    r.Field(1)};
        }
        if (name == "Referral letter") {
            return {r.Field(1),   r.Field(60), code(u"550"),
                    code(u"551"), title,       today,
                    r.Field(1)};
        }
        if (name == "Medical certificate") return {r.Field(60), code(u"550"), code(u"551")};
        return {code(u"550"), code(u"551"), title};
    }

    static inline TempFolder* s_folder = nullptr;
    static inline bool s_converted = false;
    static inline std::vector<PatientRecord> s_patients;
    static inline std::vector<Letter> s_letters;
};

TEST_F(LibreOfficeCheck, LettersShowThePatientsValuesAsTypedInOrder) {
    for (const Letter& letter : s_letters) {
        const std::u16string text = FromUtf8(ReadFile(*s_folder / "txt" / (letter.name + ".txt")));
        ASSERT_FALSE(text.empty()) << letter.name;
        size_t from = 0;
        for (const std::u16string& value : letter.values) {
            ASSERT_FALSE(value.empty()) << letter.name;
            const size_t at = text.find(value, from);
            EXPECT_NE(at, std::u16string::npos)
                << letter.name << ": " << ToUtf8(value) << " not found in order";
            if (at != std::u16string::npos) from = at + value.size();
        }
        for (const std::u16string& code : letter.codeTexts) {
            EXPECT_EQ(text.find(u"\u00A2" + code + u"#"), std::u16string::npos)
                << letter.name << ": code " << ToUtf8(code) << " left";
        }
    }
}

TEST_F(LibreOfficeCheck, ADemoLetterHoldsNoTraceOfRtf) {
    for (const Letter& letter : s_letters) {
        if (letter.name.back() != '0') continue;  // the demo patient
        const std::string text = ReadFile(*s_folder / "txt" / (letter.name + ".txt"));
        EXPECT_EQ(text.find('\\'), std::string::npos) << letter.name;
        EXPECT_EQ(text.find("\xC2\xA2"), std::string::npos) << letter.name;  // a cent sign
        EXPECT_EQ(text.find('{'), std::string::npos) << letter.name;
        EXPECT_EQ(text.find("pondrelpatient"), std::string::npos) << letter.name;
    }
}

TEST_F(LibreOfficeCheck, HostileTextsComeOutAsTyped) {
    const std::u16string text =
        FromUtf8(ReadFile(*s_folder / "txt" / "Out Letter Template 1.txt")) +
        FromUtf8(ReadFile(*s_folder / "txt" / "Hospital course 1.txt"));
    for (std::u16string_view typed :
         {std::u16string_view(u"Zo\u00EB {\\rtf1 }}}} \u00E9\u20AC\u0142\u4E2D"),
          std::u16string_view(u"Dr {\\b Bold}"), std::u16string_view(u"Dr \\'a2E2# Head"),
          std::u16string_view(u"Fell at home \\par \u00A2E2# \u00A2 \\'a2558#."),
          std::u16string_view(u"Pneumonia (J18.9) {\\b x}"),
          std::u16string_view(u"Treated \\par {\\i ok} \u00A2 done"),
          std::u16string_view(u"}{\\rtf1 second"),
          std::u16string_view(u"Amoxicillin (Clamoxyl) 1 g x3"),
          std::u16string_view(u"\\par}{ Drops\u00A2"), std::u16string_view(u"cough \\line")}) {
        EXPECT_NE(text.find(typed), std::u16string::npos) << ToUtf8(typed);
    }
}

}  // namespace
}  // namespace pondrel::test
