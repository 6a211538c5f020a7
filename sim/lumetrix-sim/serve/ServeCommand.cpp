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
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <thread>

namespace fs = std::filesystem;

namespace sim {

int serveLivePhone(const ServeOptions& options)
{
    if (auto problem = serveOptionsProblem(options)) {
        std::fprintf(stderr, "lumetrix-sim serve: %s\n", problem->c_str());
        return ExitUsage;
    }
    // Ctrl-C and SIGTERM are taken by sigwait below, whenever they come: while the phone
    // starts too. Blocked before the fork, so the keeper starts with them blocked and
    // unblocks them itself.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

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
    setup.run.music = options.music;
    setup.outputFolder = output;
    setup.frameScale = options.frameScale;

    PhoneState state(output, startupFolder);
    // Every frame is a picture: the renderer is loaded once, here, so that each process
    // the phone forks has it rather than loading it again after every respring.
    render::pictures();
    // The phone's process comes first, while this process has one thread.
    PhoneLink link(setup, state);

    link.startReading();

    HttpFront front(state, link, output);
    int port = front.bind(options.host, options.port);
    if (port <= 0) {
        std::fprintf(stderr, "lumetrix-sim serve: %s\n", front.bindProblem().c_str());
        link.shutDown();
        return ExitUsage;
    }
    // The phone starts once the port is ours: a server that cannot listen boots nothing.
    link.send({ { "start", { { "device", options.device ? nlohmann::json(*options.device) : nlohmann::json(nullptr) } } } });
    if (listensBeyondLoopback(options.host))
        std::fprintf(stderr, "%s\n", networkWarning(options, port).c_str());
    std::string host = options.host.find(':') != std::string::npos ? "[" + options.host + "]" : options.host;
    std::printf("lumetrix-sim serve: the phone is at http://%s:%d/ (output in %s; Ctrl-C stops it)\n", host.c_str(), port, output.c_str());
    std::fflush(stdout);

    std::thread server([&front] { front.serve(); });
    int received = 0;
    sigwait(&stopSignals, &received);
    std::printf("lumetrix-sim serve: stopping the phone\n");
    std::fflush(stdout);
    // Stopping takes under two seconds whatever state the phone and the connections are
    // in: nobody waits for the phone any more, the phone gets 1.2 seconds to
    // quit before it is killed, and a worker still busy with a client after that is not
    // waited for (the process exits).
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1600);
    state.close();
    front.stop();
    auto serverDone = std::make_shared<std::promise<void>>();
    auto serverDoneFuture = serverDone->get_future();
    std::thread([&server, serverDone] {
        server.join();
        serverDone->set_value();
    }).detach();
    link.shutDown();
    // As every command stopped by a signal: 130 for Ctrl-C, 143 for SIGTERM.
    int exitCode = 128 + received;
    if (serverDoneFuture.wait_until(deadline) != std::future_status::ready) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    return exitCode;
}

} // namespace sim
