#include "labels/QuickLoad.h"

#include <gtest/gtest.h>

#include "Doubles.h"
#include "MemoryFileSystem.h"
#include "platform/Text.h"

namespace pondrel {
namespace {

using test::MemoryFileSystem;
using test::ScriptedMessages;
using Rows = std::vector<std::u16string>;

ArchiveNames Sample() {
    return ArchiveNamesOf({u"Doe_Ann_1950.pdr", u"Doe_MaryAnn_1950.pdr", u"Annet_Bob_2001.pdr",
                           u"Van Buren_Ann_1987.pdr", u"Smith_Joanna_1919.pdr"});
}

TEST(QuickLoadSearchTest, NamePartsStartWithTheWords) {
    ArchiveNames names = Sample();
    EXPECT_EQ(SearchArchive(names, u"an").rows,
              (Rows{u"Doe Ann 1950", u"Annet Bob 2001", u"Van Buren Ann 1987"}));
    // "Ann" inside "MaryAnn" or "Joanna" is no match; a word of the last name is.
    EXPECT_EQ(SearchArchive(names, u"buren").rows, (Rows{u"Van Buren Ann 1987"}));
    EXPECT_EQ(SearchArchive(names, u"19").rows,
              (Rows{u"Doe Ann 1950", u"Doe MaryAnn 1950", u"Van Buren Ann 1987",
                    u"Smith Joanna 1919"}));
    EXPECT_EQ(SearchArchive(names, u"ANN 1950").rows, (Rows{u"Doe Ann 1950"}));
    QuickLoadResult none = SearchArchive(names, u"zz");
    EXPECT_TRUE(none.nothing);
    EXPECT_EQ(none.CountLine(names.Total()), u"Files: 0/5");
    QuickLoadResult all = SearchArchive(names, u"  ");
    EXPECT_EQ(all.rows.size(), 5u);
    EXPECT_EQ(all.CountLine(names.Total()), u"Files: 5/5");
    EXPECT_EQ(all.FullLine(), u"");
}

TEST(QuickLoadSearchTest, RowsMapToTheirOwnFiles) {
    ArchiveNames names = Sample();
    // The first entry of the list, and "Ann Doe" never taken for "MaryAnn Doe".
    QuickLoadResult doe = SearchArchive(names, u"doe");
    ASSERT_EQ(doe.files.size(), 2u);
    EXPECT_EQ(names.files[doe.files[0]], u"Doe_Ann_1950.pdr");
    EXPECT_EQ(names.files[doe.files[1]], u"Doe_MaryAnn_1950.pdr");
    QuickLoadResult mary = SearchArchive(names, u"maryann");
    ASSERT_EQ(mary.files.size(), 1u);
    EXPECT_EQ(names.files[mary.files[0]], u"Doe_MaryAnn_1950.pdr");
}

TEST(QuickLoadSearchTest, AFullListSaysHowManyMatched) {
    std::vector<std::u16string> files;
    for (int i = 0; i < 600; ++i) files.push_back(u"Name" + ToText(i) + u"_First_1960.pdr");
    ArchiveNames names = ArchiveNamesOf(files);
    QuickLoadResult result = SearchArchive(names, u"first");
    EXPECT_EQ(result.rows.size(), 500u);
    EXPECT_EQ(result.found, 600u);
    EXPECT_EQ(result.FullLine(), u"First 500/600");
    EXPECT_EQ(result.CountLine(names.Total()), u"Files: 500/600");
}

// A device with the working folders (the backup folder is created when a file is kept).
void MakeFolders(MemoryFileSystem& files) {
    for (const char16_t* folder : {u"\\My Documents", u"\\My Documents\\PD_Archives",
                                   u"\\My Documents\\PD_ActivePatients", u"\\Program files",
                                   u"\\Program files\\Pondrel"}) {
        ASSERT_TRUE(files.CreateFolder(folder));
    }
}

QuickLoadMove Move(std::u16string name) {
    QuickLoadMove move;
    move.fileName = std::move(name);
    move.backupFolder = u"\\Program files\\Pondrel\\Backup";
    move.now = {2026, 12, 10, 4, 12, 5};
    return move;
}

TEST(QuickLoadMoveTest, MovesTheArchivedFileBack) {
    MemoryFileSystem files;
    MakeFolders(files);
    ScriptedMessages messages;
    files.AddFile(u"\\My Documents\\PD_Archives\\Doe_Ann_1950.pdr", "archived");
    EXPECT_EQ(BringBack(files, messages, Move(u"Doe_Ann_1950.pdr")), QuickLoadOutcome::Moved);
    EXPECT_FALSE(files.FileExists(u"\\My Documents\\PD_Archives\\Doe_Ann_1950.pdr"));
    std::string bytes;
    ASSERT_TRUE(files.ReadFile(u"\\My Documents\\PD_ActivePatients\\Doe_Ann_1950.pdr", 100, bytes));
    EXPECT_EQ(bytes, "archived");
    EXPECT_TRUE(messages.boxes.empty());
}

TEST(QuickLoadMoveTest, AnActiveFileOfTheSameNameIsNeverLost) {
    const std::u16string archived = u"\\My Documents\\PD_Archives\\Doe_Ann_1950.pdr";
    const std::u16string active = u"\\My Documents\\PD_ActivePatients\\Doe_Ann_1950.pdr";
    const std::u16string kept =
        u"\\Program files\\Pondrel\\Backup\\Doe_Ann_1950 2026-12-10 041205.pdr";
    MemoryFileSystem files;
    MakeFolders(files);
    ScriptedMessages messages;
    files.AddFile(archived, "archived");
    files.AddFile(active, "newer active");

    // Loaded: nothing moves, the caller shows that patient.
    QuickLoadMove loaded = Move(u"Doe_Ann_1950.pdr");
    loaded.loaded = true;
    EXPECT_EQ(BringBack(files, messages, loaded), QuickLoadOutcome::AlreadyLoaded);
    // Not loaded, the doctor says No: nothing moves.
    messages.Queue(BoxAnswer::No);
    EXPECT_EQ(BringBack(files, messages, Move(u"Doe_Ann_1950.pdr")), QuickLoadOutcome::Declined);
    std::string bytes;
    ASSERT_TRUE(files.ReadFile(active, 100, bytes));
    EXPECT_EQ(bytes, "newer active");
    EXPECT_TRUE(files.FileExists(archived));
    // Yes: the active file is kept under a dated name in the backup folder.
    messages.Queue(BoxAnswer::Yes);
    EXPECT_EQ(BringBack(files, messages, Move(u"Doe_Ann_1950.pdr")), QuickLoadOutcome::Moved);
    ASSERT_TRUE(files.ReadFile(kept, 100, bytes));
    EXPECT_EQ(bytes, "newer active");
    ASSERT_TRUE(files.ReadFile(active, 100, bytes));
    EXPECT_EQ(bytes, "archived");
}

TEST(QuickLoadMoveTest, AGoneFileOrAPendingTransferMovesNothing) {
    MemoryFileSystem files;
    ScriptedMessages messages;
    EXPECT_EQ(BringBack(files, messages, Move(u"Gone_Ann_1950.pdr")), QuickLoadOutcome::Failed);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text,
              u"The file <Gone_Ann_1950.pdr> is no longer in the archive folder. Nothing was "
              u"moved.");
    files.AddFile(u"\\My Documents\\PD_Archives\\Doe_Ann_1950.pdr", "archived");
    QuickLoadMove pending = Move(u"Doe_Ann_1950.pdr");
    pending.transferPending = true;
    EXPECT_EQ(BringBack(files, messages, pending), QuickLoadOutcome::Waiting);
    ASSERT_EQ(messages.notices.size(), 1u);
    EXPECT_TRUE(files.FileExists(u"\\My Documents\\PD_Archives\\Doe_Ann_1950.pdr"));
    EXPECT_FALSE(files.FileExists(u"\\My Documents\\PD_ActivePatients\\Doe_Ann_1950.pdr"));
}

}  // namespace
}  // namespace pondrel
