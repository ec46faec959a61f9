// pondrel-tool age.

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "ToolTestSupport.h"

namespace pondrel {
namespace {

TEST(AgeCommandTest, PrintsTheThreeAgesWithTheFactoryWords) {
    test::ToolRun run =
        test::RunTool({"age", "2006-03-01", "2006-03-13T09:41", "--gestation", "34 3"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "calendarAge=(34w 3/7) D13 = 36w 1/7\nshortAge=(34w 3/7) D13 = 36w 1/7\n"
              "longAge=(34w 3/7) D13 = 36w 1/7\n");
    run = test::RunTool({"age", "1961-00-00", "2006-03-13T09:41"});
    EXPECT_EQ(run.out,
              "calendarAge=45 years, 2 months, 12 days\nshortAge=45y+2m\n"
              "longAge=45 years , 2 months , 12 days\n");
    // A day that does not exist gives no age, not an error.
    run = test::RunTool({"age", "2005-02-29", "2006-03-13T09:41", "--hour", "99 pm"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "calendarAge=\nshortAge=\nlongAge=\n");
}

TEST(AgeCommandTest, WrongArgumentsAreUsageErrors) {
    EXPECT_EQ(test::RunTool({"age", "2006-3-1", "2006-03-13T09:41"}).status, 2);
    EXPECT_EQ(test::RunTool({"age", "2006-03-01", "2006-02-30T09:41"}).status, 2);
    EXPECT_EQ(test::RunTool({"age", "2006-03-01"}).status, 2);
    EXPECT_EQ(test::RunTool({"age", "2006-03-01", "2006-03-13T09:41", "--hour"}).status, 2);
    EXPECT_EQ(
        test::RunTool({"age", "2006-03-01", "2006-03-13T09:41", "--labels", "/nonexistent"}).status,
        1);
}

}  // namespace
}  // namespace pondrel
