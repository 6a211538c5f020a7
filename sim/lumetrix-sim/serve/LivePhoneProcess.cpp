#include "LivePhoneProcess.h"

#include "LiveFeed.h"
#include "PhoneStartup.h"

#include "sim/device/OutputFiles.h"
#include "sim/lumetrix-sim/run/EventLog.h"
#include "sim/lumetrix-sim/run/ScenarioRun.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>

using nlohmann::json;

namespace sim {

namespace {

void runPhone(const LivePhoneSetup& setup, const std::optional<std::string>& device)
{
    scenario::Scenario phone = phoneStartup(setup.scenario, device);
    // Lines come from a web page: what they write stays beneath the output folder, here
    // and in the Settings app and SpringBoard processes forked from here.
    confineOutputFilesTo(setup.outputFolder);
    try {
        keepEarlierPhoneFiles(setup.outputFolder);
        EventLog log((setup.outputFolder / kLiveEventsFile).string());
        log.openTranscript((setup.outputFolder / kLiveTranscriptFile).string());
        sendReport(setup.reportFd, { { "phone-start", { { "device", device ? json(*device) : json(nullptr) }, { "lines", startupLines(phone) } } } });
        LiveFeed feed({ setup.requestFd, setup.reportFd, setup.controls, setup.outputFolder, setup.frameScale, &phone });
        int failures = runScenario(phone, setup.run, log,
            [&feed](ScenarioHost& host, RunState& state, RunServices& services) { return feed(host, state, services); });
        sendReport(setup.reportFd, { { "ended", { { "failures", failures } } } });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lumetrix-sim: the phone stopped: %s\n", error.what());
        sendReport(setup.reportFd, { { "ended", { { "error", error.what() } } } });
    }
}

} // namespace

int keepEarlierPhoneFiles(const std::filesystem::path& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path events = folder / kLiveEventsFile;
    fs::path transcript = folder / kLiveTranscriptFile;
    if (!fs::exists(events, error) && !fs::exists(transcript, error))
        return 0;
    auto numbered = [&](const char* stem, int number) { return folder / (std::string(stem) + "." + std::to_string(number) + ".jsonl"); };
    int number = 1;
    while (fs::exists(numbered("events", number), error) || fs::exists(numbered("transcript", number), error))
        ++number;
    fs::rename(events, numbered("events", number), error);
    fs::rename(transcript, numbered("transcript", number), error);
    return number;
}

void runLivePhoneProcess(const LivePhoneSetup& setup)
{
    // Ctrl-C goes to the whole process group; the server alone decides when the phone
    // stops, and shuts it down in order.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    for (;;) {
        json request;
        PipeRead read = readRequest(setup.requestFd, 3600, request);
        if (read == PipeRead::Closed)
            break;
        if (read != PipeRead::Message)
            continue;
        if (request.contains("start")) {
            auto& device = request["start"]["device"];
            runPhone(setup, device.is_string() ? std::optional<std::string>(device.get<std::string>()) : std::nullopt);
        } else if (request.contains("line")) {
            sendReport(setup.reportFd, { { "refused", { { "id", request.value("id", 0) }, { "error", "the phone is restarting" } } } });
        } else if (request.contains("flush")) {
            sendReport(setup.reportFd, { { "ran", { { "id", request["flush"] }, { "wait", "" } } } });
        }
    }
    std::fflush(nullptr);
    _exit(0);
}

} // namespace sim
