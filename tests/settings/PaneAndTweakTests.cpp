// The pane and the tweak meet only in the settings file. These tests read both sides
// from the built artefacts: the pane's installed Root.plist and the Settings app on one
// side; SpringBoard with the installed tweak (lumetrix-host, or a SpringBoard lifetime in
// its own process) on the other. A drift between the two fails here.

#include "SettingsTestSupport.h"

#include "MediaRemote/NowPlayingApplication.h"
#include "SpringBoard/CSHomeAffordanceViewController.h"
#include "SpringBoard/SpringBoard.h"
#include "UIKit/UIView.h"
#include "sim/settingsapp/SettingsApp.h"
#include "sim/springboardprocess/SpringBoardSession.h"
#include "sim/springboardprocess/TweakGlobals.h"

#include <algorithm>
#include <dlfcn.h>
#include <set>

using namespace settings_testing;
using nlohmann::json;
using testing_support::TemporaryDevice;

namespace {

// The value cells of the installed Root.plist, as the plist states them.
json installedValueCells(const TemporaryDevice& device)
{
    platform::registerClasses();
    auto root = platform::readPropertyList(device.root().resolve("/Library/PreferenceBundles/lumetrixpref.bundle/Root.plist").string());
    EXPECT_TRUE(root.value) << root.error;
    json cells = json::array();
    if (!root.value)
        return cells;
    json list = root.value->jsonValue();
    for (auto& item : list["items"]) {
        if (item.contains("key"))
            cells.push_back(item);
    }
    return cells;
}

// A stored value unlike the cell's default, as XML for the settings file, and as the
// tweak's globals show it.
std::pair<std::string, json> valueUnlikeDefault(const json& cell)
{
    std::string key = "<key>" + cell["key"].get<std::string>() + "</key>";
    if (cell["default"].is_boolean())
        return { key + (cell["default"].get<bool>() ? "<false/>" : "<true/>"), !cell["default"].get<bool>() };
    return { key + "<string>7.25</string>", "7.25" };
}

std::vector<std::string> differences(const json& a, const json& b)
{
    std::vector<std::string> names;
    for (auto& [name, value] : a.items()) {
        if (!b.contains(name) || b[name] != value)
            names.push_back(name);
    }
    return names;
}

TEST(Settings_PaneWithTweak, EveryCellStoresAKeyTheTweakBindsWithTheSameTypeAndDefault)
{
    TemporaryDevice device;
    json cells = installedValueCells(device);
    ASSERT_EQ(cells.size(), 10u) << "one cell for each of the ten settings";
    json defaults = bootSpringBoardAndReport(device)["globals"];
    ASSERT_TRUE(defaults.is_object());

    std::set<std::string> boundVariables;
    for (auto& cell : cells) {
        std::string key = cell["key"];
        SCOPED_TRACE(key);
        EXPECT_EQ(cell["defaults"], "com.orvanta.lumetrix");
        EXPECT_EQ(cell["PostNotification"], "com.orvanta.lumetrix/ReloadPrefs");
        if (cell["default"].is_boolean()) {
            EXPECT_EQ(cell["cell"], "PSSwitchCell");
        } else {
            EXPECT_EQ(cell["cell"], "PSEditTextCell");
            EXPECT_EQ(cell["isNumeric"], true);
        }

        // Stored alone, a value unlike the default moves exactly one of the tweak's variables.
        auto [xml, shown] = valueUnlikeDefault(cell);
        device.writeSettings(xml + "\n");
        json globals = bootSpringBoardAndReport(device)["globals"];
        auto moved = differences(globals, defaults);
        ASSERT_EQ(moved.size(), 1u) << "changed: " << json(moved).dump();
        const std::string& variable = moved.front();
        EXPECT_EQ(globals[variable], shown);
        EXPECT_EQ(defaults[variable], cell["default"]) << "the pane's default is the tweak's, in type and value";
        boundVariables.insert(variable);
    }
    EXPECT_EQ(boundVariables.size(), 10u) << "no two cells drive the same setting";
}

// The tweak's own settings table, read from the installed library's exported rows.
TEST(Settings_PaneWithTweak, EveryCellMatchesARowOfTheTweaksSettingsTableInKeyTypeAndDefault)
{
    TemporaryDevice device;
    json cells = installedValueCells(device);
    json report = bootSpringBoardAndReport(device);
    json table = report["settings"];
    ASSERT_TRUE(table.is_array());
    ASSERT_EQ(table.size(), cells.size()) << "one row for each cell: " << table.dump();

    std::set<std::string> keys;
    for (auto& cell : cells) {
        std::string key = cell["key"];
        SCOPED_TRACE(key);
        keys.insert(key);
        auto row = std::find_if(table.begin(), table.end(), [&](const json& candidate) { return candidate["key"] == key; });
        ASSERT_NE(row, table.end()) << "the pane stores a key the tweak does not bind";
        EXPECT_EQ((*row)["type"], cell["cell"] == "PSSwitchCell" ? "bool" : "object");
        EXPECT_EQ((*row)["default"], cell["default"]);
        // The row's variable is one the tweak exports, holding the default.
        EXPECT_EQ(report["globals"][(*row)["variable"].get<std::string>()], cell["default"]);
    }
    EXPECT_EQ(keys.size(), cells.size()) << "no two cells store the same key";
}

TEST(Settings_PaneWithTweak, AfterResetEverySettingReadsItsDefaultInANewSpringBoard)
{
    TemporaryDevice device;
    json defaults = bootSpringBoardAndReport(device)["globals"];
    std::string everything;
    for (auto& cell : installedValueCells(device))
        everything += valueUnlikeDefault(cell).first;
    device.writeSettings(everything + "\n");
    ASSERT_EQ(differences(bootSpringBoardAndReport(device)["globals"], defaults).size(), 10u);

    std::string request = runInChild([&] {
        sim::SettingsApp app(device.path());
        std::string problem = app.open();
        if (problem.empty())
            problem = app.pressReset();
        return problem.empty() ? app.takeRespringRequest().value_or("no respring") : problem;
    });
    EXPECT_EQ(request, "prefs:root=Lumetrix");
    EXPECT_EQ(storedSettings(device), json::object());
    EXPECT_EQ(bootSpringBoardAndReport(device)["globals"], defaults);
}

// MARK: End to end

bool rowHidden(sim::SpringBoardSession& session)
{
    auto controller = session.springBoard().homeAffordanceController();
    auto row = controller ? objc_cast<UIView>(objc_msgSend<id>(controller, "subView"_sel)) : nullptr;
    return !row || row->isHidden();
}

void* tweakHandle(sim::SpringBoardSession& session)
{
    for (auto& tweak : session.process().tweaks()) {
        if (tweak.name == "lumetrix")
            return tweak.handle;
    }
    return nullptr;
}

// SpringBoard's lock screen as a new SpringBoard shows it, a few seconds after booting.
json bootAndLookAtTheLockScreen(const std::string& root)
{
    sim::SpringBoardSession session(root, platform::RunLoop::kDefaultStartTime, platform::NowPlayingApplication {});
    session.springBoard().boot();
    session.runFor(4);
    json globals = sim::readTweakGlobals(tweakHandle(session));
    return { { "rowHidden", rowHidden(session) }, { "initialStart", globals["initialStart"] }, { "alwaysshow", globals["alwaysshow"] } };
}

std::string readLine(int fd)
{
    std::string line;
    char c;
    while (read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

void writeLine(int fd, const std::string& line)
{
    std::string text = line + "\n";
    EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

TEST(Settings_AppEndToEnd, AlwaysShowFlippedInSettingsThenRespringStartsARowVisibleSpringBoard)
{
    TemporaryDevice device;
    std::string root = device.path();

    // The SpringBoard running while the user works the Settings app. A centre tap there
    // has set the tap flag.
    int toOld[2], fromOld[2];
    ASSERT_EQ(pipe(toOld), 0);
    ASSERT_EQ(pipe(fromOld), 0);
    std::fflush(nullptr);
    pid_t old = fork();
    if (old == 0) {
        close(toOld[1]);
        close(fromOld[0]);
        sim::SpringBoardSession session(root, platform::RunLoop::kDefaultStartTime, platform::NowPlayingApplication {});
        session.springBoard().boot();
        session.runFor(4);
        json globals = sim::readTweakGlobals(tweakHandle(session));
        if (auto flag = static_cast<bool*>(dlsym(tweakHandle(session), "initialStart")))
            *flag = true;
        writeLine(fromOld[1], json({ { "alwaysshow", globals["alwaysshow"] }, { "rowHidden", rowHidden(session) } }).dump());
        readLine(toOld[0]);
        // The Settings app's change reaches this SpringBoard as a change notification.
        session.runFor(1);
        writeLine(fromOld[1], sim::readTweakGlobals(tweakHandle(session)).dump());
        std::fflush(nullptr);
        _exit(0);
    }
    close(toOld[0]);
    close(fromOld[1]);
    json ready = json::parse(readLine(fromOld[0]), nullptr, false);
    EXPECT_EQ(ready["alwaysshow"], false);
    EXPECT_EQ(ready["rowHidden"], true) << "with the default settings the row starts hidden";

    // The Settings app: flip the switch, press respring.
    std::string request = runInChild([&] {
        sim::SettingsApp app(root);
        std::string problem = app.open();
        if (problem.empty())
            problem = app.setValue("alwaysshow", true);
        if (problem.empty())
            problem = app.pressRespring();
        return problem.empty() ? app.takeRespringRequest().value_or("no respring") : problem;
    });
    EXPECT_EQ(request, "prefs:root=Lumetrix");
    EXPECT_EQ(storedSettings(device), json({ { "alwaysshow", true } }));

    writeLine(toOld[1], "go");
    json running = json::parse(readLine(fromOld[0]), nullptr, false);
    EXPECT_EQ(running["alwaysshow"], true) << "the running SpringBoard saw the change";
    EXPECT_EQ(running["initialStart"], true);
    int status = 0;
    waitpid(old, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    close(toOld[1]);
    close(fromOld[0]);

    // The respring: a new SpringBoard process, which loads the tweak and reads the file again.
    json after = json::parse(runInChild([&] { return bootAndLookAtTheLockScreen(root).dump(); }), nullptr, false);
    EXPECT_EQ(after["alwaysshow"], true);
    EXPECT_EQ(after["rowHidden"], false) << "the new SpringBoard's lock-screen row starts visible";
    EXPECT_EQ(after["initialStart"], false) << "the tap flag does not survive a respring";

    // Then the Settings app opens the URL it was given and shows the pane as stored.
    std::string shown = runInChild([&] {
        sim::SettingsApp app(root);
        std::string problem = app.openURL(request);
        if (!problem.empty())
            return problem;
        json description = app.describe();
        for (auto& cell : description["cells"]) {
            if (cell.value("key", "") == "alwaysshow")
                return cell["value"].dump();
        }
        return "no cell in " + app.describe().dump();
    });
    EXPECT_EQ(shown, "true");
}

} // namespace
