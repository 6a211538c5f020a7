#include "Interpreter.h"

#include "EventLog.h"
#include "ScenarioHost.h"
#include "SimulatedProcess.h"

#include "sim/device/DeviceRoot.h"
#include "sim/device/OutputFiles.h"
#include "sim/lumetrix-sim/observe/NodeIds.h"
#include "sim/lumetrix-sim/observe/SpringBoardObserver.h"
#include "sim/lumetrix-sim/scenario/Comparison.h"
#include "sim/lumetrix-sim/scenario/ScenarioParser.h"
#include "sim/render/Pictures.h"
#include "sim/lumetrix-sim/settingsprocess/SettingsProcess.h"

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSTimer.h"
#include "Foundation/RunLoop.h"
#include "MediaRemote/NowPlayingApplication.h"
#include "SpringBoard/CSHomeAffordanceViewController.h"
#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "SpringBoard/SBHomeGrabberView.h"
#include "SpringBoard/SpringBoard.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIDeviceProfile.h"
#include "UIKit/UITouchDelivery.h"
#include "UIKit/UIView.h"
#include "objc/runtime.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace sim {

using namespace scenario;

// One command's work, with everything it may touch.
class Interpreter::Execution {
public:
    Execution(const Command& command, RunState& state, RunServices& services, ScenarioHost& host, NodeIds& ids)
        : m_command(command)
        , m_state(state)
        , m_services(services)
        , m_host(host)
        , m_ids(ids)
    {
    }

    // Continue (nothing), or where the run must go on.
    std::optional<Stop> operator()(const DeviceCommand& device)
    {
        if (m_services.commandLineDevice && *m_services.commandLineDevice != device.name)
            std::fprintf(stderr, "%snote: `device %s` overrides --device %s\n", m_command.where.prefix().c_str(), device.name.c_str(),
                m_services.commandLineDevice->c_str());
        m_state.device = device.name;
        // Before boot the screen dump already shows this device's screen.
        if (auto* profile = UIDeviceProfile::named(device.name))
            UIDeviceProfile::setCurrent(*profile);
        settings({ { "op", "device" }, { "name", device.name } });
        return {};
    }

    std::optional<Stop> operator()(const AppearanceCommand& appearance)
    {
        m_state.dark = appearance.dark;
        if (m_host.springBoard())
            UIKitSetCurrentUserInterfaceStyle(appearance.dark ? UIUserInterfaceStyle::Dark : UIUserInterfaceStyle::Light);
        settings({ { "op", "appearance" }, { "dark", appearance.dark } });
        return {};
    }

    std::optional<Stop> operator()(const FileCommand& file)
    {
        try {
            m_services.root.writeFile(file.devicePath, file.content);
        } catch (const std::exception& error) {
            fail("expected to write " + file.devicePath + ", got: " + error.what());
        }
        return {};
    }

    std::optional<Stop> operator()(const PrefCommand& pref)
    {
        if (m_services.echoLogs && !pref.typeNote.empty())
            std::fprintf(stderr, "%snote: %s (stored as given)\n", m_command.where.prefix().c_str(), pref.typeNote.c_str());
        settings({ { "op", "pref" }, { "key", pref.key }, { "value", pref.value } });
        return {};
    }

    std::optional<Stop> operator()(const PrefResetCommand&)
    {
        settings({ { "op", "pref-reset" } });
        return {};
    }

    std::optional<Stop> operator()(const TrackCommand& track)
    {
        platform::NowPlayingTrack item;
        item.title = track.title;
        item.artist = track.artist;
        item.duration = track.duration;
        item.artwork = track.artwork;
        m_host.nowPlaying().appendTrack(std::move(item), now());
        return {};
    }

    std::optional<Stop> operator()(const PlayerCommand& player)
    {
        auto& application = m_host.nowPlaying();
        switch (player.action) {
        case PlayerCommand::Action::Play:
            application.play(now());
            break;
        case PlayerCommand::Action::Pause:
            application.pause(now());
            break;
        case PlayerCommand::Action::Next:
            application.next(now());
            break;
        case PlayerCommand::Action::Previous:
            application.previous(now());
            break;
        case PlayerCommand::Action::Stop:
            application.stop(now());
            break;
        }
        return {};
    }

    std::optional<Stop> operator()(const SeekCommand& seek)
    {
        m_host.nowPlaying().seek(seek.seconds, now());
        return {};
    }

    std::optional<Stop> operator()(const BootCommand&) { return Stop::Boot; }

    std::optional<Stop> operator()(const RespringCommand&)
    {
        m_services.log.write({ { "type", "respring" } }, runSeconds());
        return Stop::Respring;
    }

    std::optional<Stop> operator()(const LockCommand& lock)
    {
        if (lock.lock)
            springBoard().lock();
        else
            springBoard().unlock();
        return {};
    }

    std::optional<Stop> operator()(const AppCommand& app)
    {
        if (app.open)
            springBoard().openApp(app.bundleIdentifier);
        else if (!springBoard().closeApp(app.bundleIdentifier))
            fail("expected " + app.bundleIdentifier + " to be open, got no such app");
        return {};
    }

    std::optional<Stop> operator()(const GrabberCommand& grabber)
    {
        SBHomeGrabberView* view = springBoard().frontHomeGrabber();
        if (!view) {
            fail("expected an app in front (its home grabber), got none open");
            return {};
        }
        if (grabber.lost)
            view->attentionLost(grabber.timeout);
        else
            view->attentionReset();
        return {};
    }

    std::optional<Stop> operator()(const BounceCommand&)
    {
        if (SBHomeGrabberView* view = springBoard().frontHomeGrabber())
            view->bounce();
        else
            fail("expected an app in front (its home grabber), got none open");
        return {};
    }

    std::optional<Stop> operator()(const TouchCommand& touch)
    {
        if (touch.target == TouchCommand::Target::Screen) {
            UITouchDelivery::tapScreen(CGPointMake(touch.x, touch.y.value_or(0)));
            return {};
        }
        UIView* target = touchTarget(touch);
        if (!target)
            return {};
        CGRect bounds = target->bounds();
        auto screenPoint = [&](CGFloat x, CGFloat y) { return target->convertPointToScreen(CGPointMake(bounds.origin.x + x, bounds.origin.y + y)); };
        CGFloat middle = bounds.size.height / 2;
        if (touch.gesture == TouchCommand::Gesture::Tap) {
            UITouchDelivery::tapScreen(screenPoint(touch.x, touch.y.value_or(middle)));
            return {};
        }
        // Across the middle of the target, from one side towards the other.
        CGFloat near = bounds.size.width * 0.2;
        CGFloat far = bounds.size.width * 0.8;
        bool left = touch.direction == TouchCommand::Direction::Left;
        UITouchDelivery::swipeScreen(screenPoint(left ? far : near, middle), screenPoint(left ? near : far, middle));
        return {};
    }

    std::optional<Stop> operator()(const SettingsCommand& command)
    {
        switch (command.action) {
        case SettingsCommand::Action::Open:
            settings({ { "op", "open" } });
            return {};
        case SettingsCommand::Action::Set:
            settings({ { "op", "set" }, { "key", command.key }, { "value", command.value } });
            return {};
        case SettingsCommand::Action::Snapshot: {
            json reply = settings({ { "op", "snapshot" }, { "path", command.hostPath }, { "thumbnailWidth", m_services.thumbnailWidth } });
            if (reply.contains("thumbnail") && m_services.keepThumbnail)
                m_services.keepThumbnail(command.hostPath, reply["thumbnail"]);
            return {};
        }
        case SettingsCommand::Action::ExpectSnapshot: {
            // The app writes its picture; it is read back here and compared.
            std::string scratch = (fs::temp_directory_path() / ("lumetrix-settings-picture-" + std::to_string(getpid()) + ".png")).string();
            json reply = settings({ { "op", "snapshot" }, { "path", scratch } });
            if (!reply.contains("problem"))
                expectGolden(scratch, command.hostPath, command.tolerance);
            std::error_code ignored;
            fs::remove(scratch, ignored);
            return {};
        }
        case SettingsCommand::Action::Respring:
            return restartAsked(settings({ { "op", "respring" } }));
        case SettingsCommand::Action::Reset:
            return restartAsked(settings({ { "op", "reset" } }));
        }
        return {};
    }

    // The pane asked for SpringBoard to restart and for Settings to come back to it.
    std::optional<Stop> restartAsked(const json& reply)
    {
        if (!reply.contains("url"))
            return {};
        std::string url = reply["url"].get<std::string>();
        if (!m_host.springBoard()) {
            // Nothing to restart: Settings just comes back to its page.
            m_services.log.write({ { "type", "openURL" }, { "url", url } }, runSeconds());
            return {};
        }
        m_state.openURLAfterBoot = url;
        m_services.log.write({ { "type", "respring" } }, runSeconds());
        return Stop::Respring;
    }

    std::optional<Stop> operator()(const WaitCommand& wait)
    {
        m_host.runLoop().runFor(wait.seconds);
        return {};
    }

    std::optional<Stop> operator()(const DumpCommand& dump)
    {
        json content;
        switch (dump.what) {
        case DumpCommand::What::Players:
            content = observer().players(runSeconds());
            break;
        case DumpCommand::What::Screen:
            content = observer().screen();
            break;
        case DumpCommand::What::Globals:
            content = observer().globals();
            break;
        case DumpCommand::What::Settings:
            content = settings({ { "op", "dump" } });
            break;
        case DumpCommand::What::Stats:
            content = stats();
            break;
        }
        std::string error;
        if (!writeOutputFile(dump.hostPath, content.dump(2, ' ', false, json::error_handler_t::replace) + "\n", &error))
            fail("expected to write the dump to " + dump.hostPath + ", got " + (error.empty() ? "an error" : error));
        return {};
    }

    std::optional<Stop> operator()(const SnapshotCommand& snapshot)
    {
        const render::Pictures& pictures = render::pictures();
        std::optional<CGRect> region;
        if (snapshot.crop != SnapshotCommand::Crop::None) {
            region = playerRegion(snapshot);
            if (!region)
                return {};
        }
        int thumbnailWidth = m_services.keepThumbnail ? m_services.thumbnailWidth : 0;
        nlohmann::json thumbnail;
        std::string error;
        if (std::FILE* file = openOutputFile(snapshot.hostPath, &error))
            error = pictures.writeScreen(m_host.springBoard(), region ? &*region : nullptr, pictures.deviceScale() * render::kCropMagnification,
                file, thumbnailWidth, thumbnail);
        if (!error.empty())
            fail("expected to write the picture to " + snapshot.hostPath + ", got " + error);
        else if (thumbnailWidth > 0)
            m_services.keepThumbnail(snapshot.hostPath, thumbnail);
        return {};
    }

    std::optional<Stop> operator()(const ExpectSnapshotCommand& expect)
    {
        // The picture is taken into a scratch file and compared there, inside the renderer.
        std::string scratch = (fs::temp_directory_path() / ("lumetrix-picture-" + std::to_string(getpid()) + ".png")).string();
        if (takePicture(expect.picture, scratch))
            expectGolden(scratch, expect.picture.hostPath, expect.tolerance);
        std::error_code ignored;
        fs::remove(scratch, ignored);
        return {};
    }

    std::optional<Stop> operator()(const MarkCommand&)
    {
        m_state.mark = m_services.log.endOffset();
        return {};
    }

    std::optional<Stop> operator()(const ExpectCommand& expect)
    {
        // The dump the path starts in: screen., settings., else players.
        const auto& steps = expect.path.steps();
        std::string dump = steps[0].kind == PathStep::Kind::Field ? steps[0].name : std::string();
        json root;
        std::size_t first = 0;
        if (dump == "screen" || dump == "settings") {
            root = dump == "screen" ? observer().screen() : settings({ { "op", "dump" } });
            first = 1;
        } else {
            root = observer().players(runSeconds());
        }
        bool nullCheck = expect.value.is_null() && (expect.op == CompareOp::Equal || expect.op == CompareOp::NotEqual);
        auto found = expect.path.find(root, nullCheck, first);
        std::string expected = "expected " + expect.pathText + " " + compareOpText(expect.op) + " " + expect.valueText;
        if (!found.problem.empty())
            fail(expected + ", but " + found.problem);
        else if (!compareValues(found.value, expect.op, expect.value, expect.tolerance))
            fail(expected + ", got " + found.value.dump(-1, ' ', false, json::error_handler_t::replace));
        return {};
    }

    std::optional<Stop> operator()(const ExpectEventsCommand& expect)
    {
        std::size_t count = 0;
        for (auto& event : m_services.log.eventsSince(m_state.mark)) {
            bool matches = true;
            for (auto& filter : expect.filters) {
                if (!filterMatches(fieldAt(event, filter.field), filter)) {
                    matches = false;
                    break;
                }
            }
            count += matches;
        }
        if (!compareValues(count, expect.op, expect.count, 0))
            fail("expected events " + expect.text + ", got " + std::to_string(count));
        return {};
    }

private:
    double now() const { return m_host.runLoop().now(); }
    double runSeconds() const { return EventLog::runSeconds(now(), m_state.runStart); }

    void fail(const std::string& message)
    {
        m_state.recordFailure(m_command.where.prefix() + message);
        std::fprintf(stderr, "%s%s\n", m_command.where.prefix().c_str(), message.c_str());
        std::fflush(stderr);
    }

    SpringBoard& springBoard()
    {
        // The parser lets SpringBoard's commands through only after boot.
        return *m_host.springBoard();
    }

    SpringBoardObserver observer() { return SpringBoardObserver(m_host.springBoard(), m_host.tweakHandle(), m_ids); }

    // Asks the Settings app; what it could not do is a failed expectation.
    json settings(json request)
    {
        json reply = m_services.settings.request(std::move(request), now());
        if (reply.contains("problem"))
            fail("expected the Settings app to " + m_command.text.substr(m_command.text.find(' ') + 1) + ", got: "
                + reply["problem"].get<std::string>());
        return reply;
    }

    // The screen, or the region around a player, written to `path`; false (reported) without
    // that player or when it cannot be written.
    bool takePicture(const SnapshotCommand& snapshot, const std::string& path)
    {
        const render::Pictures& pictures = render::pictures();
        std::optional<CGRect> region;
        if (snapshot.crop != SnapshotCommand::Crop::None) {
            region = playerRegion(snapshot);
            if (!region)
                return false;
        }
        nlohmann::json noThumbnail;
        std::string error;
        if (std::FILE* file = openOutputFile(path, &error))
            error = pictures.writeScreen(m_host.springBoard(), region ? &*region : nullptr, pictures.deviceScale() * render::kCropMagnification,
                file, 0, noThumbnail);
        if (!error.empty())
            fail("expected to take the picture, got " + error);
        return error.empty();
    }

    void expectGolden(const std::string& picturePath, const std::string& goldenPath, int tolerance)
    {
        auto result = render::pictures().compareWithGolden(picturePath, goldenPath, tolerance, m_services.updateSnapshots);
        using Outcome = GoldenComparison::Outcome;
        switch (result.outcome) {
        case Outcome::Matches:
            return;
        case Outcome::Written:
            std::fprintf(stderr, "%swrote the golden picture %s (--update-snapshots)\n", m_command.where.prefix().c_str(), goldenPath.c_str());
            return;
        case Outcome::Missing:
            fail("expected the golden picture " + goldenPath + ", got none (run with --update-snapshots to write it)");
            return;
        case Outcome::Differs:
            fail("expected the picture to match " + goldenPath + (tolerance ? " within " + std::to_string(tolerance) : std::string()) + ", got "
                + std::to_string(result.differing) + " differing pixels" + (result.message.empty() ? "" : " (" + result.message + ")") + "; see "
                + result.diffPath);
            return;
        case Outcome::Failed:
            fail("expected to compare with " + goldenPath + ", got: " + result.message);
            return;
        }
    }

    UIView* touchTarget(const TouchCommand& touch)
    {
        NSObject* host = nullptr;
        std::string where = "the lock screen's";
        if (touch.target == TouchCommand::Target::App) {
            host = springBoard().app(touch.bundleIdentifier);
            where = touch.bundleIdentifier + "'s";
            if (!host) {
                fail("expected " + touch.bundleIdentifier + " to be open, got no such app");
                return nullptr;
            }
        } else {
            host = springBoard().homeAffordanceController();
        }
        UIView* target = SpringBoardObserver::playerProperty(host, "previoustapview");
        if (!target)
            fail("expected " + where + " touch target (previoustapview), got none (is the tweak loaded and enabled?)");
        return target;
    }

    // The screen region around a player's views, or nothing (reported) without them.
    std::optional<CGRect> playerRegion(const SnapshotCommand& snapshot)
    {
        NSObject* host = springBoard().homeAffordanceController();
        NSObject* stripHost = springBoard().homeAffordanceController()->homeAffordanceView();
        std::string where = "the lock screen's";
        if (snapshot.crop == SnapshotCommand::Crop::App) {
            host = stripHost = springBoard().app(snapshot.bundleIdentifier);
            where = snapshot.bundleIdentifier + "'s";
            if (!host) {
                fail("expected " + snapshot.bundleIdentifier + " to be open, got no such app");
                return std::nullopt;
            }
        }
        UIView::layoutPendingViews();
        std::vector<UIView*> views;
        for (const char* name : SpringBoardObserver::playerPropertyNames()) {
            bool isStrip = std::string_view(name) == "progressView";
            if (UIView* view = SpringBoardObserver::playerProperty(isStrip ? stripHost : host, name))
                views.push_back(view);
        }
        // Room around the 100-point row, so the picture shows where it sits.
        CGRect region = render::pictures().regionAroundViews(views, 16, CGSizeMake(180, 90));
        if (CGRectIsEmpty(region)) {
            fail("expected " + where + " player to crop to, got none (is the tweak loaded and enabled?)");
            return std::nullopt;
        }
        return region;
    }

    static json fieldAt(const json& event, const std::string& dottedPath)
    {
        const json* current = &event;
        std::stringstream parts(dottedPath);
        for (std::string part; std::getline(parts, part, '.');) {
            if (!current->is_object() || !current->contains(part))
                return nullptr;
            current = &(*current)[part];
        }
        return *current;
    }

    // Memory in use now (not the peak), from the kernel's own account of this process.
    static long residentKilobytes()
    {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmRSS:", 0) == 0)
                return std::atol(line.c_str() + 6);
        }
        return -1;
    }

    json stats()
    {
        auto& loop = m_host.runLoop();
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        json stats = {
            { "time", runSeconds() },
            { "springBoardRunning", m_host.springBoard() != nullptr },
            { "scheduledTimers", loop.scheduledTimerCount() },
            { "pendingTasks", loop.pendingTaskCount() },
            { "maxResidentKilobytes", usage.ru_maxrss },
            { "residentKilobytes", residentKilobytes() },
        };
        // Foundation's own counters exist only where the platform is set up.
        if (m_host.springBoard()) {
            stats["liveTimers"] = NSTimer::liveTimerCount();
            stats["notificationObservers"] = NSNotificationCenter::defaultCenter()->observerCount();
        }
        return stats;
    }

    const Command& m_command;
    RunState& m_state;
    RunServices& m_services;
    ScenarioHost& m_host;
    NodeIds& m_ids;
};

Interpreter::Interpreter(CommandSource& commands, RunState& state, RunServices& services)
    : m_commands(commands)
    , m_state(state)
    , m_services(services)
{
}

Interpreter::Stop Interpreter::run(ScenarioHost& host)
{
    NodeIds ids(m_state.nodeCounters);
    auto& loop = host.runLoop();
    Stop stop = Stop::End;
    for (;;) {
        const Command* upcoming = nullptr;
        try {
            upcoming = m_commands.command(m_state.nextCommand);
        } catch (const ScenarioError& error) {
            // A file checked whole before the run that cannot be read as it was.
            m_state.now = loop.now();
            throw RunStopped(error.what());
        }
        if (!upcoming) {
            if (!m_services.awaitCommands || !m_services.awaitCommands(host, m_state, m_services))
                break;
            continue;
        }
        const Command& command = *upcoming;
        if (interrupted()) {
            m_state.now = loop.now();
            throw RunStopped(command.where.prefix() + "the run was interrupted");
        }
        if (m_services.beforeCommand)
            m_services.beforeCommand(m_state.nextCommand);
        ++m_state.nextCommand;
        m_services.log.writeStep(command.where.line, command.text, EventLog::runSeconds(loop.now(), m_state.runStart));
        Execution execution(command, m_state, m_services, host, ids);
        if (std::holds_alternative<ExpectCommand>(command.body) || std::holds_alternative<ExpectEventsCommand>(command.body)
            || std::holds_alternative<ExpectSnapshotCommand>(command.body)
            || (std::holds_alternative<SettingsCommand>(command.body)
                && std::get<SettingsCommand>(command.body).action == SettingsCommand::Action::ExpectSnapshot))
            ++m_state.checks;
        std::optional<Stop> next;
        try {
            // A command is an event on SpringBoard's main run loop, and drains what it
            // autoreleased as one would: a day of opened apps otherwise keeps every layout
            // constraint their rows were given. (The device process has no runtime.)
            std::optional<objc::AutoreleasePool> pool;
            if (host.springBoard())
                pool.emplace();
            next = std::visit(execution, command.body);
        } catch (const std::exception& error) {
            // Messages from the Settings app's side name it; anything else failed here.
            std::string what = error.what();
            bool named = what.rfind("Settings", 0) == 0;
            m_state.now = loop.now();
            std::string stopped;
            if (!named)
                stopped = host.springBoard() ? "SpringBoard stopped: " : "the run stopped: ";
            throw RunStopped(command.where.prefix() + stopped + what);
        }
        if (next) {
            stop = *next;
            break;
        }
        // What the command made due now (a settings change arriving, main-queue work).
        loop.runFor(0);
    }
    m_state.now = loop.now();
    m_state.nodeCounters = ids.counters();
    return stop;
}

} // namespace sim
