#include "labels/LabelsSource.h"

#include <gtest/gtest.h>

#include <set>

#include "LabelsTexts.h"
#include "labels/LabelsFile.h"
#include "labels/LabelsWriter.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

// A source giving every value: the fields and numbered values not listed are filled in.
std::string CompleteSource(const std::string& fields) {
    std::string source = fields;
    for (int n = 0; n < kLabelsFieldCount; ++n) {
        std::string head = "field " + std::to_string(n) + ":";
        if (source.find(head) == std::string::npos)
            source += head + " F" + std::to_string(n) + "\n";
    }
    for (int i = 0; i < 30; ++i) source += "section " + std::to_string(i) + ":\n";
    for (int i = 0; i < 250; ++i) source += "label " + std::to_string(i) + ": L\n";
    for (int i = 0; i < 7; ++i) source += "weekday " + std::to_string(i) + ": W\n";
    for (int i = 0; i < 12; ++i) source += "month " + std::to_string(i) + ": M\n";
    for (int i = 0; i < 4; ++i) source += "age " + std::to_string(i) + ": A\n";
    for (int i = 0; i < 12; ++i) source += "short month " + std::to_string(i) + ": S\n";
    return source;
}

TEST(LabelsSourceTest, CompilesCaptionsListsAndMenus) {
    Labels labels;
    Error error;
    ASSERT_TRUE(CompileLabelsSource(CompleteSource("; comment\n"
                                                   "field 6:  Y\r\n"
                                                   "field 91: Medicine\n"
                                                   "    | Paracetamol 1 g *oral*  \n"
                                                   "    menu: Antibiotics (b)\n"
                                                   "        |  &- Amoxicillin 1 g\n"
                                                   "        | Ceftriaxone 2 g((1))\n"
                                                   "    end\n"
                                                   "    | <==\n"
                                                   "field 0:\n"),
                                    labels, &error))
        << error.message;
    EXPECT_EQ(labels.captions[6], u" Y");
    EXPECT_EQ(labels.captions[0], u"");
    EXPECT_EQ(labels.shortcutLists[91],
              u"Paracetamol 1 g *oral*|¢2¢Antibiotics (b)| &- Amoxicillin 1 g|"
              u"Ceftriaxone 2 g((1))|<==||");
    EXPECT_EQ(labels.shortcutLists[5], u"||");
    EXPECT_EQ(labels.uiLabels[249], u"L");
    EXPECT_TRUE(CheckLabels(labels));
}

TEST(LabelsSourceTest, RefusesSourcesThatWouldMakeABadFile) {
    struct Case {
        std::string fields;
        std::string message;
    };
    const Case cases[] = {
        {"field 1: Pulse\nfield 2: Pulse\n", "line 2: caption \"Pulse\" already used on line 1"},
        {"field 1: A\n| x\n| x\n", "line 1: shortcut \"x\" given twice"},
        {"field 1: A\n| Room #\n", "line 2: the characters | # ¢ ¦ § ¬ are reserved"},
        {"field 1: A\n| a|b\n", "line 2: the characters | # ¢ ¦ § ¬ are reserved"},
        {"field 1: A\nmenu: M\nend\n", "line 3: an empty menu"},
        {"field 1: A\nmenu: M\n| a\n", "line 4: the menu is not closed with \"end\""},
        {"field 1: A\nmenu: M\nmenu: N\n", "line 3: a menu inside a menu (close it with \"end\")"},
        {"| a\n", "line 1: a shortcut before any field"},
        {"field 230: A\n", "line 1: no such field"},
        {"field 1: A\nfield 1: B\n", "line 2: field given twice"},
        {"field 1: A\n|\n", "line 2: an empty shortcut"},
        {"fields 1: A\n", "line 1: not understood: fields 1: A"},
        {"label 3: x\nlabel 3: y\n", "line 2: label given twice"},
    };
    for (const Case& c : cases) {
        Labels labels;
        Error error;
        EXPECT_FALSE(CompileLabelsSource(CompleteSource(c.fields), labels, &error)) << c.fields;
        EXPECT_EQ(error.message, c.message) << c.fields;
    }
    Labels labels;
    Error error;
    EXPECT_FALSE(CompileLabelsSource("field 0:\n", labels, &error));
    EXPECT_EQ(error.message, "field 1 is missing");
}

// The factory file shipped in the installation folder.
class FactoryLabelsTest : public ::testing::Test {
protected:
    std::string Source() {
        return test::ReadHostFile(std::string(PONDREL_RESOURCES_DIR) + "/src/labels-en.txt");
    }
    std::string Shipped() {
        return test::ReadHostFile(std::string(PONDREL_RESOURCES_DIR) + "/Labels.txt");
    }
};

TEST_F(FactoryLabelsTest, ShippedFileIsTheCompiledSource) {
    Labels labels;
    Error error;
    ASSERT_TRUE(CompileLabelsSource(Source(), labels, &error)) << error.message;
    ASSERT_TRUE(CheckLabels(labels, &error)) << error.message;
    // When this fails, run: pondrel-tool labels-build resources/src/labels-en.txt
    // resources/Labels.txt
    EXPECT_EQ(Shipped(), EncodeLabelsText(ComposeLabelsText(labels)));
}

TEST_F(FactoryLabelsTest, ShippedFileIsCompleteAndReadWithoutConversion) {
    std::string bytes = Shipped();
    ASSERT_GT(bytes.size(), 1000u);
    ASSERT_LT(bytes.size(), kLabelsMaxBytes);
    LabelsInterpretation result = InterpretLabelsBytes(bytes);
    EXPECT_EQ(result.encoding, LabelsEncoding::Utf16);
    EXPECT_EQ(result.layout, LabelsLayout::Current);
    EXPECT_FALSE(result.newText);
    EXPECT_FALSE(result.writeBackRefused);
    const LabelsReadResult& read = result.read;
    EXPECT_EQ(read.fieldRecords, 230);
    EXPECT_EQ(read.sectionCaptions.items, 30);
    EXPECT_EQ(read.plainText.items, 250);
    EXPECT_EQ(read.date.items, 35);
    EXPECT_TRUE(read.sectionCaptions.intact && read.plainText.intact && read.date.intact);

    const Labels& labels = read.labels;
    EXPECT_EQ(labels.captions[7], u"Weight [kg]");
    EXPECT_EQ(labels.captions[8], u"Height [cm]");
    EXPECT_EQ(labels.captions[9], u"T° [°C]");
    EXPECT_EQ(labels.captions[11], u"Systolic P [mmHg]");
    // Every field but the unnamed field 0 has a caption, and no two share one: the label
    // editor finds a record by its caption.
    std::set<std::u16string> captions;
    for (int n = 1; n < kLabelsFieldCount; ++n) {
        EXPECT_FALSE(labels.captions[n].empty()) << n;
        EXPECT_TRUE(captions.insert(labels.captions[n]).second) << ToUtf8(labels.captions[n]);
    }
    // The words every page and summary needs are the file's own, not built-ins.
    for (int index : {0,  21, 22, 23, 26, 28, 29, 32, 33, 34, 52, 53, 54,  55,  76,  77,  78,
                      79, 80, 81, 82, 83, 84, 87, 88, 89, 90, 91, 92, 111, 112, 190, 191, 192}) {
        EXPECT_FALSE(result.read.fileUiItems[index].empty()) << index;
    }
    for (int index = 121; index <= 187; ++index) {
        if (!BuiltInLabel(index).empty()) {
            EXPECT_FALSE(read.fileUiItems[index].empty()) << index;
        }
    }
    EXPECT_EQ(labels.uiLabels[122], u"Stop");
    EXPECT_EQ(labels.weekdayNames[0], u"Sunday");
    EXPECT_EQ(labels.monthNames[11], u"December");
    EXPECT_EQ(labels.ageWords[3], u"weeks");
    EXPECT_EQ(labels.shortMonthNames[2], u"Mar");
    // Clinically useful fields carry shortcuts.
    for (int field : {16, 19, 20, 45, 50, 54, 63, 64, 87, 88, 89, 91, 93}) {
        EXPECT_NE(labels.shortcutLists[field], u"||") << field;
    }
}

}  // namespace
}  // namespace pondrel
