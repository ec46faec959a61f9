// Loading, saving and choosing arrangement files, with their notices and boxes.

#include <gtest/gtest.h>

#include "TestPlatform.h"
#include "layout/ArrangementFiles.h"
#include "layout/ArrangementWriter.h"
#include "layout/FactoryArrangement.h"
#include "records/ItemEncoding.h"

namespace pondrel {
namespace {

constexpr std::u16string_view kInstallation = u"\\Program files\\Pondrel";
constexpr std::u16string_view kDefault = u"\\Program files\\Pondrel\\Default position.wnd";
constexpr std::u16string_view kInitial = u"\\Program files\\Pondrel\\Initial position.wnd";

class ArrangementFilesTest : public ::testing::Test {
protected:
    ArrangementFilesTest() {
        t.files.AddFolder(u"\\My Documents");
        t.files.AddFolder(kInstallation);
    }
    // An arrangement told apart from the factory one by the name of page 1.
    static Arrangement Named(std::u16string_view name) {
        Arrangement a = FactoryArrangement();
        a.pages[1].name = name;
        return a;
    }
    void Put(std::u16string_view path, const Arrangement& a) {
        t.files.AddFile(path, ArrangementWriter::Encode(a));
    }
    std::u16string ShownName() const { return files.Current().pages[1].name; }
    const test::ScriptedMessages::Notice& LastNotice() const { return t.messages.notices.back(); }

    test::TestPlatform t;
    test::ScriptedFileDialogs dialogs;
    ArrangementFiles files{t.files, t.messages, dialogs, std::u16string(kInstallation)};
};

TEST_F(ArrangementFilesTest, LoadFailuresKeepTheArrangementAndTellWhy) {
    const Arrangement before = files.Current();
    EXPECT_FALSE(files.LoadArrangement(u"\\My Documents\\Missing.wnd"));
    EXPECT_EQ(LastNotice().text, u"The form can not be loaded");
    EXPECT_EQ(LastNotice().milliseconds, 5000);
    EXPECT_TRUE(LastNotice().warning);

    // Over the read limit: refused as a whole, never read in part.
    std::string big = ArrangementWriter::Encode(Named(u"Big"));
    big.resize(100001, '\x80');
    t.files.AddFile(u"\\My Documents\\Big.wnd", big);
    EXPECT_FALSE(files.LoadArrangement(u"\\My Documents\\Big.wnd"));
    EXPECT_EQ(files.Current(), before);

    t.files.AddFile(u"\\My Documents\\New.wnd", EncodeItemText(u"v41#1,2,3,4\u00A2"));
    EXPECT_FALSE(files.LoadArrangement(u"\\My Documents\\New.wnd"));
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].text,
              u"The file <\\My Documents\\New.wnd> can not be loaded because it's a more recent "
              u"version than the current one!");
    EXPECT_EQ(t.messages.boxes[0].caption, u"File load failure");
    EXPECT_EQ(t.messages.boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(files.Current(), before);

    Put(u"\\My Documents\\Cardio.wnd", Named(u"Cardio"));
    EXPECT_TRUE(files.LoadArrangement(u"\\My Documents\\Cardio.wnd"));
    EXPECT_EQ(ShownName(), u"Cardio");
}

TEST_F(ArrangementFilesTest, SavingFollowsTheNameOrThePatientsForm) {
    files.Current().pages[1].name = u"Mine";
    // A patient without a form of his own saves into the installation's default file.
    ASSERT_TRUE(files.SaveArrangement(u"", u""));
    EXPECT_EQ(LastNotice().text, u"Windows arrangement <Default> saved");
    EXPECT_EQ(LastNotice().milliseconds, 3000);
    EXPECT_EQ(t.files.Bytes(kDefault), ArrangementWriter::Encode(files.Current()));
    EXPECT_EQ(files.CurrentName(), u"");

    ASSERT_TRUE(files.SaveArrangement(u"", u"Cardio"));
    EXPECT_TRUE(t.files.Bytes(u"\\My Documents\\Cardio.wnd").has_value());
    EXPECT_EQ(files.CurrentName(), u"Cardio.wnd");
    ASSERT_TRUE(files.SaveArrangement(u"", u"Pneumo.WND"));  // the extension is not added twice
    EXPECT_TRUE(t.files.Bytes(u"\\My Documents\\Pneumo.WND").has_value());
    EXPECT_FALSE(t.files.Bytes(u"\\My Documents\\Pneumo.WND.wnd").has_value());
    ASSERT_TRUE(files.SaveArrangement(u"Other.wnd"));
    EXPECT_TRUE(t.files.Bytes(u"\\My Documents\\Other.wnd").has_value());

    // Field 202 may come from a received file: only a bare file name is written.
    const size_t fileCount = t.files.FileCount();
    EXPECT_FALSE(files.SaveArrangement(u"", u"..\\..\\Program files\\Pondrel\\Labels.txt"));
    EXPECT_EQ(LastNotice().text,
              u"The windows arrangement <..\\..\\Program files\\Pondrel\\Labels.txt> has not "
              u"been saved");
    EXPECT_EQ(t.files.FileCount(), fileCount);

    // A failed write leaves the old file whole.
    const std::optional<std::string> old = t.files.Bytes(kDefault);
    t.files.Fail(test::MemoryFileSystem::Op::Write, u"Default position");
    files.Current().pages[1].name = u"Changed";
    EXPECT_FALSE(files.SaveArrangement(u"", u""));
    EXPECT_EQ(LastNotice().text, u"The windows arrangement <Default> has not been saved");
    EXPECT_EQ(LastNotice().milliseconds, 4000);
    EXPECT_EQ(t.files.Bytes(kDefault), old);
}

TEST_F(ArrangementFilesTest, AFileChangedSinceItWasReadIsNotWrittenOver) {
    Put(u"\\My Documents\\Cardio.wnd", Named(u"Cardio"));
    ASSERT_TRUE(files.LoadArrangement(u"\\My Documents\\Cardio.wnd"));
    files.Current().pages[1].name = u"Mine";
    // Saved meanwhile by someone else: refused, said, and the other arrangement kept.
    Put(u"\\My Documents\\Cardio.wnd", Named(u"Theirs"));
    EXPECT_FALSE(files.SaveArrangement(u"", u"Cardio"));
    ASSERT_EQ(t.messages.boxes.size(), 1u);
    EXPECT_EQ(t.messages.boxes[0].caption, u"File changed");
    EXPECT_EQ(LastNotice().text, u"The windows arrangement <Cardio.wnd> has not been saved");
    EXPECT_EQ(t.files.Bytes(u"\\My Documents\\Cardio.wnd"),
              ArrangementWriter::Encode(Named(u"Theirs")));

    // Read again, it is written; and written again over what was written last.
    ASSERT_TRUE(files.LoadArrangement(u"\\My Documents\\Cardio.wnd"));
    files.Current().pages[1].name = u"Mine";
    ASSERT_TRUE(files.SaveArrangement(u"", u"Cardio"));
    files.Current().pages[1].name = u"Mine again";
    ASSERT_TRUE(files.SaveArrangement(u"", u"Cardio"));
    EXPECT_EQ(t.files.Bytes(u"\\My Documents\\Cardio.wnd"),
              ArrangementWriter::Encode(files.Current()));
}

TEST_F(ArrangementFilesTest, TheDialoguesAskAndCancel) {
    EXPECT_FALSE(files.SaveArrangement(u"-1"));
    ASSERT_EQ(dialogs.saved.size(), 1u);
    EXPECT_EQ(dialogs.saved[0].title, u"Save windows positions");
    EXPECT_EQ(dialogs.saved[0].filter, u"Windows positions(*.wnd)|*.wnd|");
    EXPECT_EQ(dialogs.saved[0].extension, u"wnd");
    EXPECT_EQ(dialogs.saved[0].folder, u"\\My Documents");
    EXPECT_EQ(LastNotice().text, u"Cancel");
    EXPECT_EQ(LastNotice().milliseconds, 2000);
    EXPECT_TRUE(LastNotice().warning);

    dialogs.Queue(u"\\My Documents\\Ward B.wnd");
    ASSERT_TRUE(files.SaveArrangement(u"-1"));
    EXPECT_EQ(LastNotice().text, u"Windows arrangement <Ward B.wnd> saved");

    Put(u"\\My Documents\\Ward C.wnd", Named(u"C"));
    dialogs.Queue(u"\\My Documents\\Ward C.wnd");
    ASSERT_TRUE(files.OpenArrangement(false));
    EXPECT_EQ(dialogs.opened[0].title, u"Open windows positions");
    EXPECT_EQ(dialogs.opened[0].filter, u"Windows positions (*.wnd)|*.wnd|");
    EXPECT_EQ(files.CurrentName(), u"Ward C.wnd");
    EXPECT_EQ(ShownName(), u"C");

    // "Restore default settings" reads the factory file and clears the name.
    Put(kInitial, Named(u"Initial"));
    ASSERT_TRUE(files.OpenArrangement(true));
    EXPECT_EQ(ShownName(), u"Initial");
    EXPECT_EQ(files.CurrentName(), u"");
}

TEST_F(ArrangementFilesTest, APatientsArrangementFallsBackToTheInstallationsOnes) {
    // Nothing installed: the built-in factory arrangement.
    files.UsePatientArrangement(u"");
    EXPECT_EQ(files.Current(), FactoryArrangement());

    Put(kInitial, Named(u"Initial"));
    Put(kDefault, Named(u"Default"));
    Put(u"\\My Documents\\Cardio.wnd", Named(u"Cardio"));
    EXPECT_TRUE(files.UsePatientArrangement(u"Cardio"));
    EXPECT_EQ(ShownName(), u"Cardio");
    EXPECT_EQ(files.CurrentName(), u"Cardio.wnd");
    // The same file again is not read again.
    t.files.Fail(test::MemoryFileSystem::Op::Read, u"Cardio");
    EXPECT_FALSE(files.UsePatientArrangement(u"Cardio.wnd"));
    t.files.ClearFailures();

    EXPECT_TRUE(files.UsePatientArrangement(u""));
    EXPECT_EQ(ShownName(), u"Default");
    const size_t notices = t.messages.notices.size();

    // A missing or unsafe form of the patient: told, and the installation's arrangement used.
    files.UsePatientArrangement(u"Gone");
    EXPECT_EQ(LastNotice().text, u"The form can not be loaded");
    EXPECT_EQ(ShownName(), u"Default");
    files.UsePatientArrangement(u"..\\Secret");
    EXPECT_EQ(t.messages.notices.size(), notices + 2);
    EXPECT_EQ(ShownName(), u"Default");

    // Without the default file, the initial one.
    ASSERT_TRUE(t.files.DeleteFile(kDefault));
    files.UsePatientArrangement(u"Cardio");
    EXPECT_TRUE(files.UsePatientArrangement(u""));
    EXPECT_EQ(ShownName(), u"Initial");
}

}  // namespace
}  // namespace pondrel
