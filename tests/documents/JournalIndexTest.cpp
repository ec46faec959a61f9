#include <gtest/gtest.h>

#include "documents/JournalIndex.h"

namespace pondrel::test {
namespace {

// The index must find every entry the journal operations find, in damaged journals as well:
// blocks out of order, a day written twice, leftover markers, a block without entries.
TEST(JournalIndexTest, FindsWhatTheJournalOperationsFind) {
    const std::u16string journals[] = {
        u"§0|A¦¦A¦§1|B¦¦A¦#5§0|a||||||§1||b|||||#3§1|c||||||",
        u"§0|A¦¦A¦#5§0|first||||||#5§0|second||||||#6#7§0|x||||||#",
        u"§0|A¦¦A¦#-2§0|old||||||#0§#1§0||y|||||",
        u"#4§0|no header||||||",
        u"§0|A¦¦A¦§1|B¦¦A¦",
        u"§0|A¦¦A¦#5§05|zero five||||||§5|five||||||§7§1|one||||||§1|again||||||§2",
        u"",
    };
    for (const std::u16string& text : journals) {
        JournalIndex index(text);
        JournalReader reader(text);
        EXPECT_EQ(index.ProblemCount(), reader.ProblemCount());
        for (DayNumber day = -3; day <= 8; ++day) {
            for (int p = 0; p < 3; ++p) {
                auto entry = index.Entry(day, p);
                EXPECT_EQ(entry.has_value(), reader.GetEntryText(day, p).has_value())
                    << "day " << day << " problem " << p;
                EXPECT_EQ(entry.value_or(Sections{}), reader.GetEntry(day, p))
                    << "day " << day << " problem " << p;
            }
        }
    }
}

}  // namespace
}  // namespace pondrel::test
