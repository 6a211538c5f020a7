// Whole pictures of the default device compared with reference pictures kept in the
// tree, with a tolerance: they catch what the probes do not look at (the wallpaper, the
// clock, an app's page, everything in its place). The references are reduced to one
// pixel a point to keep them small; set LUMETRIX_UPDATE_RENDER_GOLDEN=1 to rewrite them
// after a deliberate change of look, and look at them before committing.

#include "ScreenTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace screen_test;
using testing_support::inSpringBoard;
using testing_support::TemporaryDevice;

namespace {

// The picture reduced to one pixel a point, each pixel the mean of the ones it covers.
Canvas reduced(const Canvas& picture)
{
    CGRect region = picture.region();
    Canvas small(region, 1);
    cairo_t* cr = cairo_create(small.surface());
    cairo_scale(cr, 1 / picture.pixelsPerPoint(), 1 / picture.pixelsPerPoint());
    cairo_set_source_surface(cr, picture.surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(small.surface());
    return small;
}

// Compares with the reference `name`, or rewrites it when asked to.
void expectMatchesGolden(const Canvas& picture, const std::string& name)
{
    Canvas actual = reduced(picture);
    // A path, not a chain of + on a temporary string: GCC 12 reads that as a copy past the
    // string's small buffer (a false -Warray-bounds).
    std::string path = (std::filesystem::path(LUMETRIX_RENDER_GOLDEN_DIR) / (name + ".png")).string();
    if (const char* update = std::getenv("LUMETRIX_UPDATE_RENDER_GOLDEN"); update && std::string(update) == "1") {
        ASSERT_TRUE(actual.writePNG(path));
        return;
    }
    Canvas expected = Canvas::readPNG(path);
    ASSERT_TRUE(expected.isValid()) << "no reference picture at " << path;
    ASSERT_EQ(actual.width(), expected.width());
    ASSERT_EQ(actual.height(), expected.height());
    // Anti-aliasing may move by a level or two between library versions; a wrong colour,
    // a missing view or a shifted one changes far more.
    long total = 0, far = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            Rgba a = actual.pixel(x, y), e = expected.pixel(x, y);
            int difference = std::max({ std::abs(a.red - e.red), std::abs(a.green - e.green), std::abs(a.blue - e.blue) });
            total += difference;
            far += difference > 32;
        }
    }
    long pixels = long(actual.width()) * actual.height();
    std::string saved = ::testing::TempDir() + name + "-actual.png";
    actual.writePNG(saved);
    EXPECT_LT(double(total) / pixels, 1.0) << "mean difference; this run's picture: " << saved;
    EXPECT_LT(far, pixels / 1000) << "pixels far from the reference; this run's picture: " << saved;
}

TEST(Render_WholeScreen, TheLockScreenWithItsPlayers)
{
    TemporaryDevice device;
    device.writeSettings("<key>alwaysshow</key><true/>\n<key>songtitlebg</key><true/>\n");
    inSpringBoard(device, [&](sim::SpringBoardSession& session) {
        boot(session);
        session.runFor(6);
        expectMatchesGolden(sim::render::snapshotScreen(&session.springBoard()), "lockscreen-players");
    }, playing(40));
}

TEST(Render_WholeScreen, AnAppWithItsPlayerInDarkAppearance)
{
    TemporaryDevice device;
    device.writeSettings("<key>alwaysshow</key><true/>\n");
    inSpringBoard(device, [&](sim::SpringBoardSession& session) {
        boot(session);
        UIKitSetCurrentUserInterfaceStyle(UIUserInterfaceStyle::Dark);
        session.runFor(1);
        session.springBoard().unlock();
        session.springBoard().openApp("com.example.notes");
        session.runFor(2);
        expectMatchesGolden(sim::render::snapshotScreen(&session.springBoard()), "app-dark");
    }, playing(40));
}

TEST(Render_WholeScreen, APhoneThatIsOffIsBlack)
{
    Canvas off = sim::render::snapshotScreen(nullptr);
    EXPECT_EQ(off.width(), 1125);
    EXPECT_EQ(off.height(), 2436);
    for (auto [x, y] : { std::pair { 0, 0 }, { 562, 1218 }, { 1124, 2435 } }) {
        Rgba p = off.pixel(x, y);
        EXPECT_TRUE(p.red == 0 && p.green == 0 && p.blue == 0 && p.alpha == 255) << p;
    }
}

} // namespace
