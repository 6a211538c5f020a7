// progress_tick_bench: the CPU cost of one refresh of the lock screen's progress strip,
// with the real tweak loaded into a SpringBoard process and a large artwork playing,
// against a floor: a bare run loop firing an empty once-a-second NSTimer.
//
// Each measurement is its own forked process (a SpringBoard's runtime is set up once per
// process, as after a respring). It waits a short while, then a long while, reading its
// own CPU clock around each wait; the difference divided by the extra seconds is the
// cost of one virtual second, which with the strip shown is one tick. Rounds alternate
// the two sides and the report gives medians, since the machine may be busy.
//
//   progress_tick_bench [--rounds N] [--hours H] [--artwork PIXELS]

#include "bench/BenchArguments.h"
#include "sim/device/DeviceRoot.h"
#include "sim/imaging/ImageEncoding.h"
#include "sim/springboardprocess/SpringBoardSession.h"

#include "Foundation/NSTimer.h"
#include "Foundation/RunLoop.h"
#include "MediaRemote/NowPlayingApplication.h"
#include "Platform/Platform.h"
#include "SpringBoard/SpringBoard.h"
#include "objc/runtime.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kShortWait = 4;

double processCPUSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Seconds of CPU per virtual second: a long wait less a short one, so set-up and the
// first layout drop out.
template<typename Wait>
double costPerVirtualSecond(double longWait, Wait&& wait)
{
    double started = processCPUSeconds();
    wait(kShortWait);
    double afterShort = processCPUSeconds();
    wait(longWait);
    double afterLong = processCPUSeconds();
    return ((afterLong - afterShort) - (afterShort - started)) / (longWait - kShortWait);
}

// Noise, so the artwork is as large as a real photo of that size (megabytes, not the
// few kilobytes a flat colour compresses to).
std::vector<std::uint8_t> photoSizedJPEG(std::size_t side)
{
    std::vector<std::uint8_t> rgb(side * side * 3);
    std::uint32_t state = 12345;
    for (auto& byte : rgb) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return imaging::encodeJPEG(rgb.data(), side, side, 90);
}

double measureTweakTick(double longWait, std::size_t artworkSide, std::size_t* artworkBytes)
{
    auto root = sim::DeviceRoot::makeTemporary();
    root.install(sim::Artefacts::fromBuild());
    root.writeFile("/var/mobile/Library/Preferences/com.orvanta.lumetrix.plist",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
        "<key>alwaysshow</key><true/>\n<key>dynamicenabled</key><true/>\n</dict>\n</plist>\n");
    platform::NowPlayingApplication application;
    double start = sim::SpringBoardProcess::kDefaultStartTime;
    auto artwork = photoSizedJPEG(artworkSide);
    *artworkBytes = artwork.size();
    // Longer than any wait, so it plays throughout.
    application.appendTrack({ "Evening Light", "The Lumens", std::nullopt, 10 * 24 * 3600.0, std::move(artwork) }, start);
    sim::SpringBoardSession session(root.path().string(), start, std::move(application));
    session.springBoard().boot();
    session.nowPlaying().play(session.now());
    session.runFor(10);
    return costPerVirtualSecond(longWait, [&](double seconds) { session.runFor(seconds); });
}

class EmptyTarget : public NSObject {
public:
    static void tick(EmptyTarget*, SEL, NSTimer*) { }
};

double measureEmptyTimer(double longWait)
{
    platform::registerClasses();
    Class targetClass = objc::defineClass<EmptyTarget>("TickBenchEmptyTarget", NSObject::staticClass());
    objc::addMethod(targetClass, "tick:", &EmptyTarget::tick);
    platform::RunLoop loop;
    auto target = objc::createInstance(targetClass);
    NSTimer::scheduledTimerWithTimeInterval(1.0, target.get(), "tick:"_sel, nil, true);
    loop.runFor(10);
    return costPerVirtualSecond(longWait, [&](double seconds) { loop.runFor(seconds); });
}

struct Result {
    double seconds = 0;
    std::size_t artworkBytes = 0;
};

// Runs `measure` in a child process and reads its answer back.
template<typename Measure>
Result inChild(Measure&& measure)
{
    int channel[2];
    if (pipe(channel) != 0)
        std::abort();
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        Result result;
        result.seconds = measure(&result.artworkBytes);
        ssize_t written = write(channel[1], &result, sizeof result);
        _exit(written == sizeof result ? 0 : 1);
    }
    close(channel[1]);
    Result result;
    ssize_t got = read(channel[0], &result, sizeof result);
    close(channel[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got != sizeof result || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "progress_tick_bench: a measuring process failed\n");
        std::exit(1);
    }
    return result;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 5;
    double hours = 10;
    std::size_t side = 3000;
    bench::Arguments("progress_tick_bench", "usage: progress_tick_bench [--rounds N] [--hours H] [--artwork PIXELS]", argc, argv)
        .read([&](bench::Arguments& arguments) {
        if (arguments.is("--rounds"))
            rounds = static_cast<int>(arguments.whole(1, 1000));
        else if (arguments.is("--hours"))
            hours = arguments.number(0.01, 24 * 365);
        else if (arguments.is("--artwork"))
            side = static_cast<std::size_t>(arguments.whole(1, 65500));
        else
            return false;
        return true;
    });
    double longWait = hours * 3600;
    std::vector<double> ticks, floors;
    std::size_t artworkBytes = 0;
    for (int round = 0; round < rounds; ++round) {
        Result tick = inChild([&](std::size_t* bytes) { return measureTweakTick(longWait, side, bytes); });
        Result floor = inChild([&](std::size_t*) { return measureEmptyTimer(longWait); });
        artworkBytes = tick.artworkBytes;
        ticks.push_back(tick.seconds);
        floors.push_back(floor.seconds);
        std::printf("  round %d: tick %.3f us, empty timer %.3f us\n", round + 1, tick.seconds * 1e6, floor.seconds * 1e6);
    }
    double tick = median(ticks), floor = median(floors);
    std::printf("Progress tick, %zux%zu artwork (%zu bytes), %g virtual hours, %d rounds (CPU time, medians):\n", side, side,
        artworkBytes, hours, rounds);
    std::printf("  one tick with the tweak   %8.3f us\n", tick * 1e6);
    std::printf("  empty NSTimer (floor)     %8.3f us\n", floor * 1e6);
    std::printf("  ratio                     %8.2fx\n", tick / floor);
    return 0;
}
