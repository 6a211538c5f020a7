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

#include "sim/lumetrix-sim/run/ScenarioRun.h"

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
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--hours") && i + 1 < argc)
            plan.hours = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--respring-every") && i + 1 < argc)
            plan.respringEveryHours = std::max(0, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--keep") && i + 1 < argc)
            keep = argv[++i];
        else {
            std::fprintf(stderr, "usage: soak_bench [--hours N] [--respring-every H] [--keep DIR]\n");
            return !std::strcmp(argv[i], "--help") ? 0 : 2;
        }
    }

    fs::path work = keep.empty() ? fs::temp_directory_path() / ("lumetrix-soak-" + std::to_string(getpid())) : fs::path(keep);
    fs::create_directories(work);
    plan.mediaDirectory = LUMETRIX_SCENARIO_MEDIA;
    plan.statsDirectory = work.string();
    fs::path scenario = work / "soak.scenario";
    std::ofstream(scenario) << soak::soakScenario(plan);

    sim::RunOptions options;
    options.eventsPath = (work / "events.jsonl").string();
    auto started = std::chrono::steady_clock::now();
    int status = sim::runScenarioFiles({ scenario.string() }, options);
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
