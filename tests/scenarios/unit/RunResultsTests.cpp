// What a run tells CI: the summary lines and the JUnit report, and golden pictures with
// the difference picture a mismatch leaves.

#include "sim/render/GoldenPicture.h"
#include "sim/lumetrix-sim/run/RunResults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using sim::FileResult;
namespace fs = std::filesystem;

namespace {

std::vector<FileResult> sampleResults()
{
    FileResult passed { "demo.scenario", FileResult::Outcome::Passed, 37, 0, 97.5, 0.42, {} };
    FileResult failed { "x.scenario", FileResult::Outcome::Failed, 3, 2, 4, 1.5,
        { "x.scenario:12: expected lockscreen.label.text == \"<b>&'\", got \"a\tb\x01\xff\"", "x.scenario:14: expected more" } };
    FileResult malformed { "y.scenario", FileResult::Outcome::Error, 0, 1, 0, 0.01, { "y.scenario:2: expected a command" } };
    FileResult notRun { "z.scenario", FileResult::Outcome::NotRun, 0, 0, 0, 0, { "not run: y.scenario:2: is malformed" } };
    return { passed, failed, malformed, notRun };
}

sim::render::Canvas filled(int width, int height, double red)
{
    sim::render::Canvas canvas(CGRectMake(0, 0, width, height), 1);
    cairo_t* cr = cairo_create(canvas.surface());
    cairo_set_source_rgba(cr, red, 0.5, 0.25, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(canvas.surface());
    return canvas;
}

} // namespace

TEST(Sim_RunResults, OneLinePerFileAndAClosingCount)
{
    auto results = sampleResults();
    EXPECT_EQ(summaryLine(results[0]), "PASS demo.scenario (37 expects, 97.5 virtual s, 0.4 s)");
    EXPECT_EQ(summaryLine(results[1]).rfind("FAIL x.scenario:12: expected lockscreen.label.text", 0), 0u);
    EXPECT_NE(summaryLine(results[1]).find("(and 1 more)"), std::string::npos);
    EXPECT_EQ(summaryLine(results[2]), "FAIL y.scenario:2: expected a command");
    EXPECT_EQ(closingLine(results), "1 passed, 2 failed, 1 not run");
}

TEST(Sim_RunResults, JUnitReportHasACasePerFileWithItsOutcome)
{
    std::string xml = sim::junitReport(sampleResults());
    EXPECT_NE(xml.find("<testsuite name=\"lumetrix-sim run\" tests=\"4\" failures=\"1\" errors=\"1\" skipped=\"1\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("<testcase name=\"demo.scenario\" classname=\"lumetrix-sim\" file=\"demo.scenario\" time=\"0.420\"/>"), std::string::npos);
    // Special characters escaped, a control character and a stray byte replaced.
    EXPECT_NE(xml.find("<failure message=\"x.scenario:12: expected lockscreen.label.text == &quot;&lt;b&gt;&amp;&apos;&quot;, got &quot;a&#9;b?\xEF\xBF\xBD&quot;\" type=\"expect\">"),
        std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<error message=\"y.scenario:2: expected a command\" type=\"malformed\">"), std::string::npos);
    EXPECT_NE(xml.find("<skipped message=\"not run: y.scenario:2: is malformed\"/>"), std::string::npos);
}

class Sim_GoldenPicture : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lumetrix-golden-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path m_folder;
};

TEST_F(Sim_GoldenPicture, MissingFailsUnlessUpdatingThenMatches)
{
    std::string golden = (m_folder / "locked.png").string();
    auto picture = filled(8, 4, 0.2);
    EXPECT_EQ(sim::compareWithGolden(picture, golden, 0, false).outcome, sim::GoldenComparison::Outcome::Missing);
    EXPECT_FALSE(fs::exists(golden));
    EXPECT_EQ(sim::compareWithGolden(picture, golden, 0, true).outcome, sim::GoldenComparison::Outcome::Written);
    EXPECT_EQ(sim::compareWithGolden(picture, golden, 0, false).outcome, sim::GoldenComparison::Outcome::Matches);
}

TEST_F(Sim_GoldenPicture, DifferencesBeyondTheToleranceCountAndLeaveADiffPicture)
{
    std::string golden = (m_folder / "locked.png").string();
    ASSERT_TRUE(filled(8, 4, 0.2).writePNG(golden));
    // 0.2 -> 0.22 is 5 levels of 255 in red.
    auto close = filled(8, 4, 0.22);
    EXPECT_EQ(sim::countDifferingPixels(close, sim::render::Canvas::readPNG(golden), 4), 32);
    EXPECT_EQ(sim::countDifferingPixels(close, sim::render::Canvas::readPNG(golden), 5), 0);
    EXPECT_EQ(sim::compareWithGolden(close, golden, 5, false).outcome, sim::GoldenComparison::Outcome::Matches);

    auto result = sim::compareWithGolden(close, golden, 0, false);
    EXPECT_EQ(result.outcome, sim::GoldenComparison::Outcome::Differs);
    EXPECT_EQ(result.differing, 32);
    EXPECT_EQ(result.diffPath, (m_folder / "locked.diff.png").string());
    auto diff = sim::render::Canvas::readPNG(result.diffPath);
    ASSERT_TRUE(diff.isValid());
    EXPECT_EQ(diff.pixel(3, 2).red, 255);
    EXPECT_EQ(diff.pixel(3, 2).green, 0);

    // A picture of another size differs in every pixel only one of them has.
    auto wider = sim::compareWithGolden(filled(10, 4, 0.2), golden, 0, false);
    EXPECT_EQ(wider.differing, 8);
    EXPECT_NE(wider.message.find("10 x 4 pixels, the golden one 8 x 4"), std::string::npos);
    // Faded where they agree.
    auto fadedDiff = sim::render::Canvas::readPNG(wider.diffPath);
    EXPECT_GT(fadedDiff.pixel(1, 1).red, 190);
    EXPECT_EQ(fadedDiff.pixel(9, 1).green, 0);
}
