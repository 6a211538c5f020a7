// How long a picture of the whole screen takes: the lock screen with the tweak's strip,
// row and title shown, at device scale (1125 x 2436 pixels), drawn, and drawn and written
// as PNG. Runs in a SpringBoard process with the tweak loaded from a temporary device.

#include "sim/device/DeviceRoot.h"
#include "sim/render/ScreenSnapshot.h"
#include "sim/springboardprocess/SpringBoardSession.h"

#include "MediaRemote/NowPlayingApplication.h"
#include "SpringBoard/SpringBoard.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

struct LockScreen {
    sim::DeviceRoot root = sim::DeviceRoot::makeTemporary();
    std::unique_ptr<sim::SpringBoardSession> session;

    LockScreen()
    {
        root.install(sim::Artefacts::fromBuild());
        root.writeFile("/var/mobile/Library/Preferences/com.orvanta.lumetrix.plist",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
            "<key>alwaysshow</key><true/>\n<key>songtitlebg</key><true/>\n</dict>\n</plist>\n");
        platform::NowPlayingApplication application;
        double start = sim::SpringBoardProcess::kDefaultStartTime;
        application.appendTrack({ "Evening Light", "The Lumens", std::nullopt, 200, std::nullopt }, start);
        session = std::make_unique<sim::SpringBoardSession>(root.path().string(), start, std::move(application));
        session->springBoard().boot();
        session->nowPlaying().play(session->now());
        session->runFor(5);
    }
};

// One SpringBoard for the whole process: its runtime cannot be set up twice.
LockScreen& lockScreen()
{
    static auto* screen = new LockScreen;
    return *screen;
}

void BM_SnapshotLockScreen(benchmark::State& state)
{
    auto& springBoard = lockScreen().session->springBoard();
    if (!springBoard.isBooted())
        state.SkipWithError("SpringBoard did not boot");
    for (auto _ : state) {
        auto canvas = sim::render::snapshotScreen(&springBoard);
        benchmark::DoNotOptimize(canvas.surface());
    }
}
BENCHMARK(BM_SnapshotLockScreen)->Unit(benchmark::kMillisecond);

void BM_SnapshotLockScreenToPNG(benchmark::State& state)
{
    auto& springBoard = lockScreen().session->springBoard();
    std::string path = (std::filesystem::temp_directory_path() / "lumetrix-render-bench.png").string();
    for (auto _ : state) {
        auto canvas = sim::render::snapshotScreen(&springBoard);
        canvas.writePNG(path);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SnapshotLockScreenToPNG)->Unit(benchmark::kMillisecond);

} // namespace
