#include "ServeCommand.h"

#include "HttpFront.h"
#include "PhoneLink.h"
#include "PhoneState.h"

#include "sim/lumetrix-sim/run/ScenarioRun.h"
#include "sim/lumetrix-sim/scenario/ScenarioParser.h"
#include "sim/render/Pictures.h"

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace sim {

int serveLivePhone(const ServeOptions& options)
{
    fs::path output = fs::absolute(options.output).lexically_normal();
    std::error_code error;
    fs::create_directories(output, error);
    if (error) {
        std::fprintf(stderr, "lumetrix-sim: cannot make the output folder %s: %s\n", output.c_str(), error.message().c_str());
        return ExitUsage;
    }

    LivePhoneSetup setup;
    fs::path startupFolder = fs::current_path();
    if (options.scenario) {
        scenario::ParseOptions parseOptions;
        parseOptions.dumpDirectory = output;
        try {
            setup.scenario = scenario::parseScenarioFile(*options.scenario, parseOptions);
        } catch (const scenario::ScenarioError& malformed) {
            std::fprintf(stderr, "%s\n", malformed.what());
            return ExitUsage;
        }
        startupFolder = fs::absolute(*options.scenario).parent_path();
    }
    setup.run.root = options.root;
    setup.run.echoLogs = options.echoLogs;
    setup.outputFolder = output;
    setup.frameScale = options.frameScale;

    PhoneState state(output, startupFolder);
    // Every frame is a picture: the renderer is loaded once, here, so that each process
    // the phone forks has it rather than loading it again after every respring.
    render::pictures();
    // The phone's process comes first, while this process has one thread.
    PhoneLink link(setup, state);

    // Ctrl-C and SIGTERM are taken by this thread alone, once the server runs.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    link.startReading();
    link.send({ { "start", { { "device", options.device ? nlohmann::json(*options.device) : nlohmann::json(nullptr) } } } });

    HttpFront front(state, link, output);
    int port = front.bind(options.host, options.port);
    if (port <= 0) {
        std::fprintf(stderr, "lumetrix-sim: cannot listen on %s port %d\n", options.host.c_str(), options.port);
        link.shutDown();
        return ExitUsage;
    }
    std::string host = options.host.find(':') != std::string::npos ? "[" + options.host + "]" : options.host;
    std::printf("lumetrix-sim serve: the phone is at http://%s:%d/ (output in %s; Ctrl-C stops it)\n", host.c_str(), port, output.c_str());
    std::fflush(stdout);

    std::thread server([&front] { front.serve(); });
    int received = 0;
    sigwait(&stopSignals, &received);
    std::printf("lumetrix-sim serve: stopping the phone\n");
    std::fflush(stdout);
    front.stop();
    server.join();
    int status = link.shutDown();
    return status == 0 ? ExitSuccess : ExitFailure;
}

} // namespace sim
