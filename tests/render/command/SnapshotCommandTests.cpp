// The scenario commands that take pictures: how `snapshot` lines read, what a run writes
// for them, and how the demo gathers its pictures onto a contact sheet.

#include "sim/lumetrix-sim/demo/DemoPictures.h"
#include "sim/lumetrix-sim/run/ScenarioRun.h"
#include "sim/lumetrix-sim/scenario/ScenarioParser.h"
#include "sim/render/Canvas.h"
#include "sim/render/Thumbnail.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace sim::scenario;

namespace {

// A fresh folder for one test's files, removed when the test ends however it ends.
struct ScratchFolder {
    explicit ScratchFolder(const std::string& name)
        : path(fs::path(::testing::TempDir()) / ("lumetrix-render-" + name))
    {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    const fs::path path;
};

// The scenario text is refused before anything runs, with `message` in the error.
void expectRefused(const char* text, const char* message)
{
    try {
        parseScenarioText(text, "pictures.scenario", "/scenarios");
        ADD_FAILURE() << "accepted: " << text;
    } catch (const ScenarioError& error) {
        EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
    }
}

TEST(Render_SnapshotCommand, ReadsTheFileTheCropAndTheCaption)
{
    struct Case {
        const char* line;
        SnapshotCommand::Crop crop;
        const char* bundle;
        const char* caption;
    };
    const Case cases[] = {
        { "snapshot screen.png", SnapshotCommand::Crop::None, "", "" },
        { "snapshot screen.png \"The lock screen\"", SnapshotCommand::Crop::None, "", "The lock screen" },
        { "snapshot row.png crop lockscreen", SnapshotCommand::Crop::LockScreen, "", "" },
        { "snapshot row.png crop app com.example.notes \"In the app\"", SnapshotCommand::Crop::App, "com.example.notes", "In the app" },
    };
    for (auto& c : cases) {
        std::string text = std::string("boot\n") + c.line + "\n";
        Scenario scenario = parseScenarioText(text, "pictures.scenario", "/scenarios");
        ASSERT_EQ(scenario.commands.size(), 2u) << c.line;
        auto* snapshot = std::get_if<SnapshotCommand>(&scenario.commands[1].body);
        ASSERT_NE(snapshot, nullptr) << c.line;
        EXPECT_EQ(snapshot->crop, c.crop) << c.line;
        EXPECT_EQ(snapshot->bundleIdentifier, c.bundle) << c.line;
        EXPECT_EQ(snapshot->caption, c.caption) << c.line;
        EXPECT_EQ(fs::path(snapshot->hostPath).parent_path(), fs::path("/scenarios")) << "beside the scenario, like a dump";
    }
}

TEST(Render_SnapshotCommand, MalformedLinesSayWhatWasExpected)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        { "snapshot\n", "pictures.scenario:1: expected" },
        { "boot\nsnapshot a.png zoom lockscreen\n", "pictures.scenario:2: expected crop, got zoom" },
        { "boot\nsnapshot a.png crop\n", "pictures.scenario:2: expected `crop lockscreen` or `crop app APP`" },
        { "boot\nsnapshot a.png crop home\n", "pictures.scenario:2: expected lockscreen or app, got home" },
        { "boot\nsnapshot a.png crop app\n", "pictures.scenario:2: expected a bundle identifier after `crop app`" },
        { "boot\nsnapshot a.png caption\n", "pictures.scenario:2: expected crop, got caption" },
        { "boot\nsnapshot a.png \"one\" \"two\"\n", "pictures.scenario:2: expected `snapshot FILE.png" },
        { "snapshot a.png crop lockscreen\n", "pictures.scenario:1: expected `boot` before `snapshot ... crop`" },
    };
    for (auto& c : cases)
        expectRefused(c.text, c.message);
    // A whole-screen picture before boot is fine: the phone is off.
    EXPECT_NO_THROW(parseScenarioText("snapshot off.png\n", "pictures.scenario", "/scenarios"));
}

TEST(Render_SnapshotCommand, TheSettingsPictureTakesAQuotedCaption)
{
    Scenario parsed = parseScenarioText("settings snapshot out/pane.png \"The pane, switched on\"\n", "pictures.scenario", "/scenarios");
    auto* settings = std::get_if<SettingsCommand>(&parsed.commands[0].body);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->action, SettingsCommand::Action::Snapshot);
    EXPECT_EQ(settings->hostPath, "/scenarios/out/pane.png");
    EXPECT_EQ(settings->caption, "The pane, switched on");

    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        { "settings snapshot pane.png caption\n", "pictures.scenario:1: expected `settings snapshot FILE.png [\"CAPTION\"]`, got caption" },
        { "settings snapshot pane.png \"one\" \"two\"\n", "pictures.scenario:1: expected" },
    };
    for (auto& c : cases)
        expectRefused(c.text, c.message);
}

TEST(Render_SnapshotCommand, ARunWritesTheScreenAndEnlargedCropsAtDeviceScale)
{
    ScratchFolder scratch("run");
    const fs::path& folder = scratch.path;
    std::ofstream(folder / "pictures.scenario") << "snapshot off.png\n"
                                                   "pref alwaysshow true\n"
                                                   "track \"Daybreak\" \"Trio\" 200\n"
                                                   "play\n"
                                                   "boot\n"
                                                   "wait 4\n"
                                                   "snapshot out/screen.png\n"
                                                   "snapshot out/row.png crop lockscreen\n"
                                                   "unlock\n"
                                                   "open com.example.notes\n"
                                                   "wait 1\n"
                                                   "snapshot out/app.png crop app com.example.notes\n";
    sim::RunOptions options;
    ASSERT_EQ(sim::runScenarioFiles({ (folder / "pictures.scenario").string() }, options), sim::ExitSuccess);

    auto off = sim::render::Canvas::readPNG((folder / "off.png").string());
    ASSERT_TRUE(off.isValid());
    EXPECT_EQ(off.pixel(562, 1218).red, 0) << "before boot the screen is dark";
    auto screen = sim::render::Canvas::readPNG((folder / "out/screen.png").string());
    ASSERT_TRUE(screen.isValid());
    EXPECT_EQ(screen.width(), 1125);
    EXPECT_EQ(screen.height(), 2436);
    for (const char* crop : { "out/row.png", "out/app.png" }) {
        auto picture = sim::render::Canvas::readPNG((folder / crop).string());
        ASSERT_TRUE(picture.isValid()) << crop;
        // At least 180 points across, at nine pixels a point: the 100-point row is 900
        // pixels wide.
        EXPECT_GE(picture.width(), 180 * 9) << crop;
        EXPECT_LT(picture.width(), 1125 * 3) << crop << " is a region, not the screen";
    }
}

TEST(Render_SnapshotCommand, ACropOfAnAppThatIsNotOpenFailsTheRun)
{
    ScratchFolder scratch("closed");
    const fs::path& folder = scratch.path;
    std::ofstream(folder / "closed.scenario") << "boot\nsnapshot app.png crop app com.example.notes\n";
    EXPECT_EQ(sim::runScenarioFiles({ (folder / "closed.scenario").string() }, {}), sim::ExitFailure);
    EXPECT_FALSE(fs::exists(folder / "app.png"));
}

TEST(Render_SnapshotCommand, TheSettingsAppPicturesThePaneItShows)
{
    Scenario parsed = parseScenarioText("settings snapshot pane.png\n", "pictures.scenario", "/scenarios");
    auto* settings = std::get_if<SettingsCommand>(&parsed.commands[0].body);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->action, SettingsCommand::Action::Snapshot);
    EXPECT_EQ(settings->hostPath, "/scenarios/pane.png");
    EXPECT_EQ(settings->caption, "");
    EXPECT_THROW(parseScenarioText("settings snapshot\n", "pictures.scenario", "/scenarios"), ScenarioError);

    ScratchFolder scratch("settings");
    const fs::path& folder = scratch.path;
    std::ofstream(folder / "pane.scenario") << "settings open\n"
                                               "settings snapshot off.png\n"
                                               "settings set alwaysshow true\n"
                                               "settings snapshot on.png\n";
    ASSERT_EQ(sim::runScenarioFiles({ (folder / "pane.scenario").string() }, {}), sim::ExitSuccess);
    auto before = sim::render::Canvas::readPNG((folder / "off.png").string());
    auto after = sim::render::Canvas::readPNG((folder / "on.png").string());
    ASSERT_TRUE(before.isValid());
    ASSERT_TRUE(after.isValid());
    EXPECT_EQ(before.width(), 1125);
    // The "always show" switch turned green: the pictures differ, in green.
    int greener = 0;
    for (int y = 0; y < before.height(); y += 3)
        for (int x = 0; x < before.width(); x += 3)
            greener += after.pixel(x, y).green > after.pixel(x, y).red + 80 && before.pixel(x, y).green <= before.pixel(x, y).red + 80;
    EXPECT_GT(greener, 50);
}

TEST(Render_SnapshotCommand, TheSettingsAppRunsOnThePhoneItIsOn)
{
    ScratchFolder scratch("settings-device");
    const fs::path& folder = scratch.path;
    // 400 points is wider than the default phone but not than this one, so the pane
    // takes it only if it knows the screen it is on.
    std::ofstream(folder / "device.scenario") << "device \"iPhone 14 Pro Max\"\n"
                                                 "settings open\n"
                                                 "settings set barwidth \"400\"\n"
                                                 "settings snapshot pane.png\n"
                                                 "dump settings settings.json\n"
                                                 "boot\n"
                                                 "snapshot screen.png\n";
    ASSERT_EQ(sim::runScenarioFiles({ (folder / "device.scenario").string() }, {}), sim::ExitSuccess);
    auto pane = sim::render::Canvas::readPNG((folder / "pane.png").string());
    auto screen = sim::render::Canvas::readPNG((folder / "screen.png").string());
    ASSERT_TRUE(pane.isValid());
    ASSERT_TRUE(screen.isValid());
    EXPECT_EQ(screen.width(), 1290);
    EXPECT_EQ(screen.height(), 2796);
    EXPECT_EQ(pane.width(), screen.width());
    EXPECT_EQ(pane.height(), screen.height());

    auto dump = nlohmann::json::parse(std::ifstream(folder / "settings.json"));
    EXPECT_EQ(dump["values"]["barwidth"], "400");
    EXPECT_EQ(dump["settingsApp"]["header"]["frame"][2], 430) << "the pane is laid out across this phone's width";
}

TEST(Render_DemoPictures, TheSnapshotStepsInOrderWithTheirCaptions)
{
    std::vector<nlohmann::json> transcript = {
        { { "type", "step" }, { "text", "boot" } },
        { { "type", "step" }, { "text", "snapshot 01-locked.png \"Locked\"" } },
        { { "type", "boot" } },
        { { "type", "step" }, { "text", "snapshot 02-row.png crop lockscreen" } },
        { { "type", "step" }, { "text", "snapshot /elsewhere/03.png crop app com.example.notes \"In the app\"" } },
        { { "type", "step" }, { "text", "dump players 04.json" } },
    };
    auto pictures = sim::demoPictures(transcript, "/out");
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[0].path, "/out/01-locked.png");
    EXPECT_EQ(pictures[0].caption, "Locked");
    EXPECT_EQ(pictures[1].path, "/out/02-row.png");
    EXPECT_EQ(pictures[1].caption, "02-row") << "no caption: the file's name";
    EXPECT_EQ(pictures[2].path, "/elsewhere/03.png");
    EXPECT_EQ(pictures[2].caption, "In the app");
}

TEST(Render_DemoPictures, SettingsPicturesTakeTheirPlaceInTheRun)
{
    std::vector<nlohmann::json> transcript = {
        { { "type", "step" }, { "text", "snapshot 01-locked.png \"Locked\"" } },
        { { "type", "step" }, { "text", "settings open" } },
        { { "type", "step" }, { "text", "settings set alwaysshow true" } },
        { { "type", "step" }, { "text", "settings snapshot 02-settings.png \"In Settings, always show goes on\"" } },
        { { "type", "step" }, { "text", "settings snapshot 03-plain.png" } },
        { { "type", "step" }, { "text", "snapshot 04-after.png" } },
    };
    auto pictures = sim::demoPictures(transcript, "/out");
    ASSERT_EQ(pictures.size(), 4u);
    EXPECT_EQ(pictures[1].path, "/out/02-settings.png");
    EXPECT_EQ(pictures[1].caption, "In Settings, always show goes on");
    EXPECT_EQ(pictures[2].path, "/out/03-plain.png");
    EXPECT_EQ(pictures[2].caption, "03-plain");
    EXPECT_EQ(pictures[3].path, "/out/04-after.png");
}

TEST(Render_DemoPictures, TheContactSheetHoldsEveryPictureInRows)
{
    ScratchFolder scratch("sheet");
    const fs::path& folder = scratch.path;
    std::vector<sim::DemoPicture> pictures;
    for (int i = 0; i < 5; ++i) {
        // Whole screens and wide crops, as the demo takes them.
        bool crop = i % 2;
        sim::render::Canvas picture(CGRectMake(0, 0, crop ? 540 : 375, crop ? 270 : 812), 1);
        cairo_t* cr = cairo_create(picture.surface());
        cairo_set_source_rgb(cr, 1, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        std::string path = (folder / ("p" + std::to_string(i) + ".png")).string();
        ASSERT_TRUE(picture.writePNG(path));
        pictures.push_back({ path, "picture " + std::to_string(i) });
    }
    std::string sheetPath = (folder / "sheet.png").string();
    ASSERT_TRUE(sim::writeContactSheet(pictures, sheetPath));
    auto sheet = sim::render::Canvas::readPNG(sheetPath);
    ASSERT_TRUE(sheet.isValid());
    // Four to a row: two rows, the first as tall as a whole screen reduced to 270 wide,
    // the second as tall as its tallest (a whole screen too, picture 4).
    int reds = 0;
    for (int y = 0; y < sheet.height(); y += 2)
        for (int x = 0; x < sheet.width(); x += 2)
            reds += sheet.pixel(x, y).red > 200 && sheet.pixel(x, y).green < 60;
    double expected = (3 * 270.0 * 585 + 2 * 270.0 * 135) / 4;
    EXPECT_NEAR(reds, expected, expected * 0.03);
    EXPECT_FALSE(sim::writeContactSheet({}, (folder / "empty.png").string())) << "nothing to show";
}

// An opaque gradient (as screens are), so a reduction that lost or shifted anything shows.
sim::render::Canvas gradientPicture(int width, int height)
{
    sim::render::Canvas picture(CGRectMake(0, 0, width, height), 1);
    cairo_t* cr = cairo_create(picture.surface());
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, width, height);
    cairo_pattern_add_color_stop_rgba(gradient, 0, 0.9, 0.2, 0.1, 1);
    cairo_pattern_add_color_stop_rgba(gradient, 1, 0.1, 0.3, 0.9, 1);
    cairo_set_source(cr, gradient);
    cairo_paint(cr);
    cairo_pattern_destroy(gradient);
    cairo_destroy(cr);
    return picture;
}

bool samePixels(const sim::render::Canvas& a, const sim::render::Canvas& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            auto p = a.pixel(x, y), q = b.pixel(x, y);
            if (p.red != q.red || p.green != q.green || p.blue != q.blue || p.alpha != q.alpha)
                return false;
        }
    return true;
}

// The reduced pictures a run keeps in memory (taken in another process, carried as
// JSON) give the very sheet that decoding the written files gives.
TEST(Render_DemoPictures, TheSheetFromKeptPicturesIsTheSheetFromTheFiles)
{
    ScratchFolder scratch("kept");
    const fs::path& folder = scratch.path;
    std::vector<sim::DemoPicture> pictures;
    std::map<std::string, nlohmann::json> kept;
    for (int i = 0; i < 3; ++i) {
        auto picture = i == 1 ? gradientPicture(1125, 540) : gradientPicture(1125, 2436);
        std::string path = (folder / ("p" + std::to_string(i) + ".png")).string();
        ASSERT_TRUE(picture.writePNG(path));
        pictures.push_back({ path, "picture " + std::to_string(i) });
        auto trip = nlohmann::json::parse(sim::render::thumbnailToJSON(sim::render::makeThumbnail(picture, sim::contactSheetThumbnailWidth())).dump());
        ASSERT_TRUE(sim::render::thumbnailFromJSON(trip).isValid());
        kept.emplace(path, std::move(trip));
    }
    std::string fromFiles = (folder / "from-files.png").string();
    std::string fromMemory = (folder / "from-memory.png").string();
    ASSERT_TRUE(sim::writeContactSheet(pictures, fromFiles));
    // The files go, so only what was kept can show.
    for (auto& picture : pictures)
        fs::remove(picture.path);
    ASSERT_TRUE(sim::writeContactSheet(pictures, fromMemory, kept));
    EXPECT_TRUE(samePixels(sim::render::Canvas::readPNG(fromFiles), sim::render::Canvas::readPNG(fromMemory)));
}

TEST(Render_Thumbnail, ComesBackWholeFromItsJSONAndRefusesAnythingElse)
{
    auto thumbnail = sim::render::makeThumbnail(gradientPicture(300, 200), 90);
    ASSERT_EQ(thumbnail.width(), 90);
    ASSERT_EQ(thumbnail.height(), 60);
    auto json = sim::render::thumbnailToJSON(thumbnail);
    EXPECT_TRUE(samePixels(sim::render::thumbnailFromJSON(json), thumbnail));

    auto spoiled = [&](auto spoil) {
        nlohmann::json copy = json;
        spoil(copy);
        return sim::render::thumbnailFromJSON(copy).isValid();
    };
    EXPECT_FALSE(spoiled([](nlohmann::json& j) { j["width"] = 91; })) << "pixels for another size";
    EXPECT_FALSE(spoiled([](nlohmann::json& j) { j["height"] = -1; }));
    EXPECT_FALSE(spoiled([](nlohmann::json& j) { j["pixels"] = "not base64!"; }));
    EXPECT_FALSE(spoiled([](nlohmann::json& j) { j = nullptr; }));
    EXPECT_FALSE(sim::render::makeThumbnail(sim::render::Canvas::readPNG("/nonexistent.png"), 90).isValid());
}

} // namespace
