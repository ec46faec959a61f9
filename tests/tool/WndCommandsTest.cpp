// pondrel-tool wnd and wnd-factory.

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "ToolTestSupport.h"
#include "records/ItemEncoding.h"

namespace pondrel {
namespace {

namespace fs = std::filesystem;

class WndCommandsTest : public ::testing::Test {
protected:
    std::string In(const std::string& name) const { return (dir / name).string(); }
    test::TempFolder temp{"pondrel-wnd"};
    const fs::path dir = temp.Path();
};

TEST_F(WndCommandsTest, FactoryFilesAreListedFieldByFieldAndPageByPage) {
    test::ToolRun run = test::RunTool({"wnd-factory", dir.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::Slurp(dir / "Default position.wnd"),
              test::Slurp(fs::path(PONDREL_RESOURCES_DIR) / "Default position.wnd"));
    run = test::RunTool({"wnd", In("Initial position.wnd")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("version=40\nfield.1="));
    EXPECT_NE(run.out.find("\nfield.2=90,334,238,351,36,337,88,349,0\n"), std::string::npos);
    EXPECT_EQ(run.out.find("\nfield.100="), std::string::npos);
    EXPECT_NE(run.out.find("\npage.0.name=Identity\npage.0.pFlag=0\npage.1.aFlag=1\n"),
              std::string::npos);
    EXPECT_EQ(run.out.find("page.0.buttonText"), std::string::npos);
    EXPECT_NE(run.out.find("\npage.1.buttonText=Vitals\n"), std::string::npos);
    // Pages 15 to 18 hold the drawing areas, which their "P" flag shows.
    EXPECT_NE(run.out.find("\npage.15.name=Skin\n"), std::string::npos);
    EXPECT_TRUE(run.out.ends_with("page.18.pFlag=1\n"));
}

TEST_F(WndCommandsTest, RefusedFilesSayWhy) {
    test::Put(dir / "new.wnd", EncodeItemText(u"v41#"));
    test::ToolRun run = test::RunTool({"wnd", In("new.wnd")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("version \"41\" is newer"), std::string::npos);

    test::Put(dir / "cut.wnd", EncodeItemText(u"v40#1,2,3,4\u00A2"));
    run = test::RunTool({"wnd", In("cut.wnd")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("damaged"), std::string::npos);

    test::Put(dir / "big.wnd", std::string(100001, 'x'));
    run = test::RunTool({"wnd", In("big.wnd")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("too big"), std::string::npos);

    EXPECT_EQ(test::RunTool({"wnd"}).status, 2);
}

}  // namespace
}  // namespace pondrel
