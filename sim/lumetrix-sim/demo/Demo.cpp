#include "Demo.h"

#include "DemoPictures.h"
#include "Timeline.h"

#include "sim/lumetrix-sim/run/ScenarioRun.h"
#include "sim/payload/PayloadLocation.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace sim {

std::string demoScenarioPath()
{
    return payload::here().dataFile("scenarios/demo.scenario").string();
}

int runDemo(const std::string& outputDirectory, RunOptions options)
{
    fs::path out = fs::absolute(outputDirectory);
    fs::create_directories(out);
    fs::path transcript = out / "transcript.jsonl";
    options.eventsPath = (out / "events.jsonl").string();
    options.dumpDirectory = out.string();
    options.transcriptPath = transcript.string();
    // The contact sheet is made from the pictures as the run took them, not decoded again.
    std::map<std::string, nlohmann::json> thumbnails;
    // Every step takes a picture: asking for the width loads the renderer here, once,
    // before the processes that take them are forked.
    options.thumbnailWidth = contactSheetThumbnailWidth();
    options.thumbnails = &thumbnails;
    // The timeline below says how it went.
    options.quiet = true;

    std::string scenario = demoScenarioPath();
    std::printf("Lumetrix demo (%s)\n\n", scenario.c_str());
    std::fflush(stdout);
    // Then the same story's close on a second, larger phone (a device is chosen before
    // boot, so it is a run of its own).
    std::string secondPhone = (fs::path(scenario).parent_path() / "demo-second-phone.scenario").string();
    int status = runScenarioFiles({ scenario, secondPhone }, options);
    if (status != ExitSuccess && status != ExitFailure)
        return status;

    std::vector<nlohmann::json> entries;
    std::ifstream in(transcript);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty())
            entries.push_back(nlohmann::json::parse(line));
    }
    std::ofstream timeline(out / "timeline.txt", std::ios::trunc);
    for (auto& line : timelineLines(entries)) {
        std::printf("%s\n", line.c_str());
        timeline << line << "\n";
    }
    auto pictures = demoPictures(entries, out.string());
    if (writeContactSheet(pictures, (out / "contact-sheet.png").string(), thumbnails))
        std::printf("\n%zu pictures and their contact sheet (contact-sheet.png) are in %s\n", pictures.size(), out.c_str());
    std::printf("\nEvent log, timeline and dumps are in %s\n", out.c_str());
    return status;
}

} // namespace sim
