// lumetrix-sim: a simulated iPhone with Lumetrix installed, driven by scenario files.

#include "CommandLine.h"

#include "demo/Demo.h"
#include "run/ScenarioRun.h"
#include "run/SimulatedProcess.h"
#include "LoadedServe.h"

#include "UIKit/UIDeviceProfile.h"

#include <csignal>
#include <cstdio>
#include <exception>

namespace {

void listDevices()
{
    bool first = true;
    for (auto& profile : UIDeviceProfile::all()) {
        CGRect pill = profile.homeIndicatorFrame();
        std::printf("%s%s\n", profile.name.c_str(), first ? " (default)" : "");
        std::string models;
        for (auto& model : profile.models)
            models += (models.empty() ? "" : ", ") + model;
        std::printf("  models:          %s\n", models.c_str());
        std::printf("  screen:          %g x %g pt, scale %g\n", profile.screenSize.width, profile.screenSize.height, profile.scale);
        std::printf("  safe area:       top %g, bottom %g\n", profile.safeAreaInsets.top, profile.safeAreaInsets.bottom);
        std::printf("  home indicator:  [%g, %g, %g, %g]\n", pill.origin.x, pill.origin.y, pill.size.width, pill.size.height);
        first = false;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // A simulated process that has gone must not take this one with it.
    std::signal(SIGPIPE, SIG_IGN);
    sim::CommandLine line;
    try {
        line = sim::parseCommandLine(argc, argv);
    } catch (const sim::UsageError& error) {
        std::fprintf(stderr, "lumetrix-sim: %s\n\n%s", error.what(), sim::usageText(error.command()).c_str());
        return sim::ExitUsage;
    }
    try {
        switch (line.command) {
        case sim::CommandLine::Command::Help:
            std::printf("%s", sim::usageText(line.helpFor.value_or(sim::CommandLine::Command::Help)).c_str());
            return sim::ExitSuccess;
        case sim::CommandLine::Command::ScenarioHelp:
            std::printf("%s", sim::scenarioHelpText().c_str());
            return sim::ExitSuccess;
        case sim::CommandLine::Command::Version:
            std::printf("%s", sim::versionText().c_str());
            return sim::ExitSuccess;
        case sim::CommandLine::Command::Devices:
            listDevices();
            return sim::ExitSuccess;
        case sim::CommandLine::Command::Run:
            // An interrupted run winds down: its simulated processes end, its temporary
            // device roots go, and it exits 130 or 143.
            sim::catchInterrupts();
            return sim::runScenarioFiles(line.files, line.run);
        case sim::CommandLine::Command::Demo: {
            sim::catchInterrupts();
            int status = sim::runDemo(line.demoOutput, line.run);
            return sim::interrupted() ? sim::interruptedExitStatus() : status;
        }
        case sim::CommandLine::Command::Serve:
            return sim::serveLoadedLivePhone(line.serve);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lumetrix-sim: %s\n", error.what());
        return sim::interrupted() ? sim::interruptedExitStatus() : sim::ExitFailure;
    }
    return sim::ExitSuccess;
}
