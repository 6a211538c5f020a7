// soak_bench: a virtual day of use through lumetrix-sim's scenario runner, in this
// process, with SpringBoard in its own processes as always. Reports the wall time, the
// event rate, peak memory, and at the end of every hour what SpringBoard keeps alive
// (scheduled and live timers, notification observers) and its resident memory, so growth
// over a day shows.
//
//   soak_bench [--hours N] [--respring-every H] [--keep DIR]
//
// --respring-every 0 keeps one SpringBoard all day, so growth within a process shows.

#include "SoakScenario.h"

#include "bench/BenchArguments.h"
#include "sim/lumetrix-sim/run/ScenarioRun.h"
#include "sim/lumetrix-sim/run/SimulatedProcess.h"

#include <nlohmann/json.hpp>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

std::size_t countLines(const fs::path& path)
{
    std::ifstream in(path);
    std::size_t lines = 0;
    for (std::string line; std::getline(in, line);)
        lines += !line.empty();
    return lines;
}

json readJSON(const fs::path& path)
{
    std::ifstream in(path);
    if (!in)
        return nullptr;
    return json::parse(in, nullptr, false);
}

void printStats(const char* when, const json& stats)
{
    if (!stats.is_object()) {
        std::printf("  %-8s no statistics (the run stopped early)\n", when);
        return;
    }
    std::printf("  %-8s scheduled timers %4s, live NSTimers %4s, notification observers %4s, queued tasks %4s, "
                "SpringBoard resident %s KiB\n",
        when, stats.value("scheduledTimers", json()).dump().c_str(), stats.value("liveTimers", json()).dump().c_str(),
        stats.value("notificationObservers", json()).dump().c_str(), stats.value("pendingTasks", json()).dump().c_str(),
        stats.value("residentKilobytes", json()).dump().c_str());
}

} // namespace

int main(int argc, char** argv)
{
    soak::SoakPlan plan;
    std::string keep;
    bench::Arguments("soak_bench", "usage: soak_bench [--hours N] [--respring-every H] [--keep DIR]", argc, argv).read([&](bench::Arguments& arguments) {
        if (arguments.is("--hours"))
            plan.hours = static_cast<int>(arguments.whole(1, 24 * 365));
        else if (arguments.is("--respring-every"))
            plan.respringEveryHours = static_cast<int>(arguments.whole(0, 24 * 365));
        else if (arguments.is("--keep"))
            keep = arguments.text();
        else
            return false;
        return true;
    });
    // Ctrl-C ends the day's simulated processes; its work folder goes below.
    sim::catchInterrupts();

    fs::path work = keep.empty() ? fs::temp_directory_path() / ("lumetrix-soak-" + std::to_string(getpid())) : fs::path(keep);
    fs::create_directories(work);
    plan.mediaDirectory = LUMETRIX_SCENARIO_MEDIA;
    plan.statsDirectory = work.string();
    fs::path scenario = work / "soak.scenario";
    std::ofstream(scenario) << soak::soakScenario(plan);

    sim::RunOptions options;
    options.eventsPath = (work / "events.jsonl").string();
    options.quiet = true;
    auto started = std::chrono::steady_clock::now();
    int status = sim::runScenarioFiles({ scenario.string() }, options);
    if (sim::interrupted()) {
        if (keep.empty())
            fs::remove_all(work);
        return sim::interruptedExitStatus();
    }
    double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::size_t events = countLines(work / "events.jsonl");
    rusage self {}, children {};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    double virtualSeconds = plan.hours * 3600.0;

    std::string resprings = plan.respringEveryHours ? "a respring every " + std::to_string(plan.respringEveryHours) + " hours" : "no respring";
    std::printf("Soak: %d virtual hours, %d apps, %s (exit status %d)\n", plan.hours, plan.apps, resprings.c_str(), status);
    std::printf("  wall time          %.2f s (%.0fx faster than real time)\n", wallSeconds, virtualSeconds / wallSeconds);
    std::printf("  events             %zu (%.0f per wall second)\n", events, events / wallSeconds);
    std::printf("  peak memory        %ld KiB in the device process, %ld KiB in the largest child (SpringBoard)\n",
        self.ru_maxrss, children.ru_maxrss);
    // Every hour, so growth within one SpringBoard's life and across resprings both show.
    for (int hour = 1; hour <= plan.hours; ++hour)
        printStats(("hour " + std::to_string(hour)).c_str(), readJSON(work / ("stats-hour" + std::to_string(hour) + ".json")));
    if (keep.empty())
        fs::remove_all(work);
    else
        std::printf("  scenario, event log and statistics kept in %s\n", work.c_str());
    return status;
}
