// Finding the payload from a program's own location.

#include "sim/payload/PayloadLocation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class PayloadLocationTest : public ::testing::Test {
protected:
    fs::path tree;

    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lumetrix-payload-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        tree = pattern;
    }
    void TearDown() override { fs::remove_all(tree); }

    static void makeTree(const fs::path& top)
    {
        fs::create_directories(top / "lib/lumetrix");
        fs::create_directories(top / "share/lumetrix");
    }
};

TEST_F(PayloadLocationTest, FindsTheTreeAProgramLiesInUpToTheDepthLimit)
{
    makeTree(tree);
    auto installed = payload::locateFrom(tree / "bin" / "lumetrix-sim");
    ASSERT_TRUE(installed);
    EXPECT_EQ(installed->libraries, tree / "lib/lumetrix");
    EXPECT_EQ(installed->data, tree / "share/lumetrix");

    fs::path deepest = tree;
    for (int level = 1; level < payload::kMaximumProgramDepth; ++level)
        deepest /= "folder";
    EXPECT_TRUE(payload::locateFrom(deepest / "program"));
    EXPECT_FALSE(payload::locateFrom(deepest / "one-more" / "program"));
}

TEST_F(PayloadLocationTest, TheNearestTreeWinsAndHalfATreeIsNone)
{
    makeTree(tree);
    makeTree(tree / "inner");
    auto found = payload::locateFrom(tree / "inner" / "bin" / "program");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->data, tree / "inner/share/lumetrix");

    fs::create_directories(tree / "half/lib/lumetrix"); // no share/lumetrix beside it
    found = payload::locateFrom(tree / "half" / "bin" / "program");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->data, tree / "share/lumetrix");
}

// The build tree mirrors the installed layout, so a test program finds the build's payload.
TEST(PayloadLocation, TheBuildTreeHoldsThePayloadItsProgramsNeed)
{
    const payload::Location& here = payload::here();
    EXPECT_TRUE(fs::is_regular_file(here.library("lumetrix.so")));
    EXPECT_TRUE(fs::is_regular_file(here.dataFile("scenarios/demo.scenario")));
    EXPECT_TRUE(fs::is_regular_file(here.devicePackage())) << here.devicePackage();
}

} // namespace
