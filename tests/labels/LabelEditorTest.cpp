// The label editor's commands on a working list, its save into the labels file, and random
// moves that must never put an item between a menu header and its items.

#include "labels/LabelEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "LabelsTexts.h"
#include "TestPlatform.h"
#include "labels/LabelsFile.h"
#include "labels/LabelsReader.h"
#include "labels/LabelsWriter.h"
#include "labels/ShortcutItems.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

using Kind = LabelEditor::RowKind;

std::vector<std::u16string> Texts(const LabelEditor& editor) {
    std::vector<std::u16string> rows;
    for (const auto& row : editor.Rows()) rows.push_back(row.text);
    return rows;
}

TEST(LabelEditorTest, RowsShowMenusAndTheirItems) {
    LabelEditor editor(u"a|\u00A22\u00A2Drugs|x|y|z||");
    EXPECT_EQ(Texts(editor), (std::vector<std::u16string>{u"a", u"----- Drugs ----- {2}",
                                                          u"      x", u"      y", u"z"}));
    EXPECT_EQ(editor.Rows()[1].kind, Kind::Header);
    EXPECT_EQ(editor.Rows()[4].kind, Kind::Plain);
    EXPECT_EQ(editor.List(), u"a|\u00A22\u00A2Drugs|x|y|z||");
    EXPECT_EQ(LabelEditor(u"||").List(), u"||");
    EXPECT_TRUE(LabelEditor(u"||").Rows().empty());
}

TEST(LabelEditorTest, AddRefusesDuplicatesAndHeadersAcceptsVersionTags) {
    LabelEditor editor(u"a|\u00A21\u00A2Drugs|x||");
    EXPECT_EQ(editor.Add(u"").text, u"Insert before the label to add !");
    EXPECT_EQ(editor.Add(u"a").text,
              u"This shortcut already exist. Rename it or insert a version tag.");
    EXPECT_EQ(editor.Add(u"Drugs").caption, u"Add shortcut");
    EXPECT_TRUE(editor.Add(u"a((1))").Done());
    EXPECT_EQ(editor.List(), u"a|\u00A21\u00A2Drugs|x|a((1))||");
    editor.Select(1);
    EXPECT_EQ(editor.Add(u"b").text, u"Can't insert the shortcut here. Try one line below.");
    editor.Select(0);
    ASSERT_TRUE(editor.Add(u"b#|{}\r\n").Done());  // reserved characters never reach the file
    EXPECT_EQ(editor.List(), u"a|b|\u00A21\u00A2Drugs|x|a((1))||");
    EXPECT_EQ(editor.Selected(), 1);
}

TEST(LabelEditorTest, DeleteRenameAndMenus) {
    LabelEditor editor(u"a|b|c|d||");
    EXPECT_EQ(editor.Delete().text, u"Select the label into the box to delete !");
    EXPECT_EQ(editor.Rename(u"x", 0).text, u"Select the label into the box to rename !");
    editor.Select(0);
    EXPECT_EQ(editor.Rename(u"", 0).text, u"The text is empty !");
    EXPECT_EQ(editor.Rename(u"b", 0).caption, u"Rename label");
    ASSERT_TRUE(editor.ToggleMenu().Done());  // a menu of the three items that follow
    EXPECT_EQ(editor.List(), u"\u00A23\u00A2a|b|c|d||");
    LabelEditor::Selection state = editor.SelectionState();
    EXPECT_EQ(state.text, u"a");
    EXPECT_EQ(state.count, 3);
    EXPECT_TRUE(state.menuOff);
    ASSERT_TRUE(editor.Rename(u"a", 2).Done());  // a header keeps its title, changes its count
    EXPECT_EQ(editor.List(), u"\u00A22\u00A2a|b|c|d||");
    ASSERT_TRUE(editor.ToggleBack().Done());
    EXPECT_EQ(editor.List(), u"\u00A22\u00A2a (b)|b|c|d||");
    ASSERT_TRUE(editor.ToggleBack().Done());
    editor.Select(1);
    EXPECT_EQ(editor.ToggleMenu().text, u"It's already included in a menu!");
    EXPECT_EQ(editor.ToggleBack().text, u"Select before the menu!");
    EXPECT_FALSE(editor.SelectionState().menuButtonEnabled);
    editor.Select(0);
    ASSERT_TRUE(editor.Delete().Done());  // its items stay as plain items
    EXPECT_EQ(editor.List(), u"b|c|d||");
    EXPECT_EQ(editor.Rows()[0].kind, Kind::Plain);
}

TEST(LabelEditorTest, MenuOnAtTheEndClaimsOnlyTheItemsThatFollow) {
    LabelEditor editor(u"a|b|c||");
    editor.Select(1);
    ASSERT_TRUE(editor.ToggleMenu().Done());
    EXPECT_EQ(editor.List(), u"a|\u00A21\u00A2b|c||");
    editor.Select(2);
    ASSERT_TRUE(editor.Delete().Done());
    editor.Select(1);
    ASSERT_TRUE(editor.ToggleMenu().Done());  // menu off
    ASSERT_TRUE(editor.ToggleMenu().Done());  // menu on at the end: nothing follows
    EXPECT_EQ(editor.List(), u"a|\u00A20\u00A2b||");
}

TEST(LabelEditorTest, MovesGoPastWholeMenus) {
    LabelEditor editor(u"a|\u00A22\u00A2M|x|y|b||");
    EXPECT_EQ(editor.MoveUp(1).text, u"Select before the label to move!");
    editor.Select(4);  // b, below the menu
    ASSERT_TRUE(editor.MoveUp(1).Done());
    EXPECT_EQ(editor.List(), u"a|b|\u00A22\u00A2M|x|y||");
    EXPECT_EQ(editor.Selected(), 1);
    editor.Select(2);  // the menu goes down as a whole
    EXPECT_EQ(editor.MoveDown(1).text, u"The menu is already down!");
    ASSERT_TRUE(editor.MoveUp(17).Done());
    EXPECT_EQ(editor.List(), u"\u00A22\u00A2M|x|y|a|b||");
    EXPECT_EQ(editor.MoveUp(1).text, u"The shortcut is already up!");
    editor.Select(1);  // x moves inside its menu only
    EXPECT_EQ(editor.MoveUp(1).text, u"The shortcut is already up!");
    ASSERT_TRUE(editor.MoveDown(1).Done());
    EXPECT_EQ(editor.List(), u"\u00A22\u00A2M|y|x|a|b||");
    EXPECT_EQ(editor.MoveDown(1).text, u"The shortcut is already down!");
    editor.Select(4);
    EXPECT_EQ(editor.MoveDown(1).text, u"The shortcut is already down!");
}

TEST(LabelEditorTest, TagsAndWords) {
    ASSERT_EQ(LabelEditor::TagRows().size(), 20u);
    EXPECT_EQ(LabelEditor::TagOf(3).token, u" & ");
    EXPECT_TRUE(LabelEditor::TagOf(3).atCaret);
    EXPECT_EQ(LabelEditor::TagOf(9).token, u"((1))");
    EXPECT_EQ(LabelEditor::TagOf(19).token, u"*");
    EXPECT_FALSE(LabelEditor::TagOf(0).atCaret);
    EXPECT_EQ(LabelEditor::WordRows(u"-Crackles at the base.\r\n-Rx, ok crackles"),
              (std::vector<std::u16string>{u"- Space -", u"- Back -", u"Crackles", u"the",
                                           u"base", u"crackles"}));
}

// Random moves: a move never puts an item between a header and its items, every menu keeps
// exactly its items, and no item is lost or doubled.
TEST(LabelEditorPropertyTest, MovesNeverLandInsideAMenu) {
    std::mt19937 random(43);
    for (int round = 0; round < 300; ++round) {
        std::u16string list;
        const int items = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < items; ++i) {
            if (random() % 4 == 0) {
                list += MakeMenuHeader(static_cast<int>(random() % 5), u"M" + ToText(i));
            } else {
                list += u"i" + ToText(i);
            }
            list += u"|";
        }
        list += u"|";
        LabelEditor editor(list);
        auto membership = [](const LabelEditor& e) {
            std::map<std::u16string, std::u16string> menuOf;
            std::u16string menu;
            for (const auto& row : e.Rows()) {
                if (row.kind == Kind::Header) menu = row.text;
                if (row.kind == Kind::Plain) menu.clear();
                if (row.kind != Kind::Header) menuOf[row.text.substr(row.text.find_first_not_of(u' '))] = menu;
            }
            return menuOf;
        };
        for (int step = 0; step < 20; ++step) {
            const auto before = membership(editor);
            std::vector<std::u16string> sortedBefore;
            const std::u16string listBefore = editor.List();
            for (auto item : ShortcutItems(listBefore)) {
                auto header = ParseMenuHeader(item);
                sortedBefore.emplace_back(header ? header->title : item);
            }
            std::sort(sortedBefore.begin(), sortedBefore.end());
            editor.Select(static_cast<int>(random() % static_cast<unsigned>(items)));
            const int rows = random() % 3 == 0 ? 17 : 1;
            if (random() % 2) {
                editor.MoveUp(rows);
            } else {
                editor.MoveDown(rows);
            }
            // Menus are shown by title and count; a count may shrink to what the menu held.
            auto after = membership(editor);
            ASSERT_EQ(after.size(), before.size());
            for (const auto& [item, menu] : before) {
                const std::u16string& now = after[item];
                auto title = [](const std::u16string& header) {
                    return header.substr(0, header.find(u" {"));
                };
                ASSERT_EQ(title(now), title(menu)) << ToUtf8(list) << " item " << ToUtf8(item);
            }
            std::vector<std::u16string> sortedAfter;
            const std::u16string listAfter = editor.List();
            for (auto item : ShortcutItems(listAfter)) {
                auto header = ParseMenuHeader(item);
                sortedAfter.emplace_back(header ? header->title : item);
            }
            std::sort(sortedAfter.begin(), sortedAfter.end());
            ASSERT_EQ(sortedAfter, sortedBefore);
        }
    }
}

// ---- Saving into the labels file ------------------------------------------------------------

constexpr std::u16string_view kFolder = u"\\Pondrel";
constexpr std::u16string_view kPath = u"\\Pondrel\\Labels.txt";
constexpr std::u16string_view kBackup = u"\\Pondrel\\Labels.txt.bak";

class LabelSaveTest : public ::testing::Test {
protected:
    LabelSaveTest() : m_file(m_test.files, m_test.messages, std::u16string(kFolder)) {}
    LabelsFile::FieldSave Save(int field, std::u16string_view oldTitle, std::u16string_view title,
                               std::u16string_view list) {
        return m_file.SaveFieldRecord(field, oldTitle, title, list, m_file.ReadBytesQuietly());
    }
    std::string Stored() { return m_test.files.Bytes(kPath).value_or("<none>"); }

    test::TestPlatform m_test;
    LabelsFile m_file;
};

TEST_F(LabelSaveTest, RecordIsFoundByPositionAndEveryOtherByteStays) {
    // Fields 3 and 5 share a caption: saving field 5 must not touch field 3.
    std::u16string text = test::CurrentText();
    const std::u16string list3(FindFieldRecords(text)[3].shortcutList);
    text = ReplaceFieldRecord(text, 3, u"Pulse", list3)->text;
    text = ReplaceFieldRecord(text, 5, u"Pulse", FindFieldRecords(text)[5].shortcutList)->text;
    // A file with two closing zeros: the bytes outside the record are kept as they are.
    std::string bytes = EncodeLabelsText(text) + std::string(2, '\0');
    m_test.files.AddFile(kPath, bytes);
    ASSERT_EQ(Save(5, u"Pulse", u"Pulse", u"60|80||"), LabelsFile::FieldSave::Saved);
    const std::string stored = Stored();
    const std::u16string expectedText =
        ReplaceFieldRecord(text, 5, u"Pulse", u"60|80||")->text;
    EXPECT_EQ(stored, EncodeLabelsText(expectedText) + std::string(2, '\0'));
    LabelsReadResult read = ReadLabelsText(DecodeLabelsBytes(stored).text);
    EXPECT_EQ(read.labels.shortcutLists[5], u"60|80||");
    EXPECT_EQ(read.labels.shortcutLists[3], list3);
    EXPECT_EQ(read.labels.captions[3], u"Pulse");
    // The common prefix and suffix cover everything but the record.
    const size_t begin = 2 + 2 * static_cast<size_t>(FindFieldRecords(text)[5].caption.data() - text.data());
    EXPECT_EQ(stored.substr(0, begin), bytes.substr(0, begin));
    EXPECT_EQ(stored.substr(stored.size() - (bytes.size() - 2 * FindFieldRecords(text)[5].end - 2)),
              bytes.substr(2 + 2 * FindFieldRecords(text)[5].end));
    EXPECT_EQ(m_test.files.Bytes(kBackup), bytes);
}

TEST_F(LabelSaveTest, TitleRulesKeepTheEditorOpen) {
    m_test.files.AddFile(kPath, EncodeLabelsText(test::CurrentText()));
    const std::string before = Stored();
    EXPECT_EQ(Save(7, u"Caption 7", u"#|", u"||"), LabelsFile::FieldSave::KeepEditing);
    EXPECT_EQ(m_test.messages.boxes.back().text,
              u"The title label is empty. You have to write a title.");
    EXPECT_EQ(Save(7, u"Caption 7", u"Caption 9", u"||"), LabelsFile::FieldSave::KeepEditing);
    EXPECT_EQ(m_test.messages.boxes.back().text,
              u"The title label already exist. You have to change it or insert a version tag.");
    EXPECT_EQ(m_test.messages.boxes.back().caption, u"Save failure");
    EXPECT_EQ(Stored(), before);
    EXPECT_EQ(Save(7, u"Caption 7", u"Weight #7", u"||"), LabelsFile::FieldSave::Saved);
    EXPECT_EQ(ReadLabelsText(DecodeLabelsBytes(Stored()).text).labels.captions[7], u"Weight 7");
}

TEST_F(LabelSaveTest, CutChangedAndOtherEncodingFiles) {
    // A file larger than the read limit is never saved.
    std::string big = EncodeLabelsText(test::CurrentText());
    big.resize(kLabelsMaxBytes + 10, ' ');
    m_test.files.AddFile(kPath, big);
    EXPECT_EQ(Save(1, u"Caption 1", u"Caption 1", u"x||"), LabelsFile::FieldSave::Failed);
    EXPECT_EQ(Stored(), big);
    EXPECT_FALSE(m_test.files.Bytes(kBackup).has_value());

    // A file changed by another program since it was read.
    m_test.files.AddFile(kPath, EncodeLabelsText(test::CurrentText()));
    std::optional<std::string> read = m_file.ReadBytesQuietly();
    m_test.files.AddFile(kPath, EncodeLabelsText(test::CurrentText() + u" "));
    EXPECT_EQ(m_file.SaveFieldRecord(1, u"Caption 1", u"Caption 1", u"x||", read),
              LabelsFile::FieldSave::Failed);
    EXPECT_EQ(Stored(), EncodeLabelsText(test::CurrentText() + u" "));

    // A file in UTF-8 is copied first, even after the first save, then rewritten in the
    // program's encoding; a later save of the program's file leaves the copy alone.
    std::string utf8 = ToUtf8(test::CurrentText());
    m_test.files.AddFile(kPath, utf8);
    ASSERT_EQ(m_file.SaveFieldRecord(1, u"Caption 1", u"Caption 1", u"x||",
                                     m_file.ReadBytesQuietly(), false),
              LabelsFile::FieldSave::Saved);
    EXPECT_EQ(m_test.files.Bytes(kBackup), utf8);
    EXPECT_EQ(Stored(), EncodeLabelsText(
                            ReplaceFieldRecord(test::CurrentText(), 1, u"Caption 1", u"x||")->text));
    ASSERT_EQ(m_file.SaveFieldRecord(1, u"Caption 1", u"Caption 1", u"y||",
                                     m_file.ReadBytesQuietly(), false),
              LabelsFile::FieldSave::Saved);
    EXPECT_EQ(m_test.files.Bytes(kBackup), utf8);

    // No such record.
    m_test.files.AddFile(kPath, EncodeLabelsText(u"40##A##||"));
    EXPECT_EQ(Save(3, u"x", u"x", u"||"), LabelsFile::FieldSave::Failed);
    EXPECT_EQ(m_test.messages.boxes.back().text, u"Saving error code 1. The operation is canceled.");
}

}  // namespace
}  // namespace pondrel
