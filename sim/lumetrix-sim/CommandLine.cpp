#include "CommandLine.h"

#include "scenario/ScenarioParser.h"

#include "UIKit/UIDeviceProfile.h"

#include "LumetrixVersion.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace sim {

std::string usageText(CommandLine::Command command)
{
    switch (command) {
    case CommandLine::Command::Run:
        return "usage: lumetrix-sim run FILE... [--root DIR] [--events FILE] [--device NAME] [--realtime]\n"
               "                        [--dumps DIR] [--log] [--junit FILE] [--update-snapshots] [--quiet]\n"
               "                        [--package FILE.deb]\n"
               "                        [--music mpris[:NAME]]\n"
               "\n"
               "Runs scenario files on a simulated phone with Lumetrix installed: SpringBoard with the\n"
               "tweak loaded, a now-playing app and the Settings app. Every file is checked first (each\n"
               "line, `expect` paths against the dumps, setting keys); each then runs on its own device.\n"
               "FILE `-` reads a scenario from standard input. `lumetrix-sim help scenario` lists the\n"
               "scenario commands.\n"
               "\n"
               "  --root DIR      use and keep DIR as the device root, so settings persist between runs\n"
               "                  (default: a fresh temporary root for each scenario)\n"
               "  --events FILE   write the event log (JSON lines) to FILE\n"
               "  --device NAME   the device profile (see `lumetrix-sim devices`)\n"
               "  --realtime      the clock follows the wall clock: `wait` really waits\n"
               "  --dumps DIR     write relative dump files into DIR instead of beside the scenario\n"
               "  --log           also print NSLog lines on standard error (and notes: a setting stored\n"
               "                  with a value of another type)\n"
               "  --junit FILE    write a JUnit XML report: one testcase per scenario file\n"
               "  --update-snapshots  write missing or different golden pictures (expect-snapshot)\n"
               "                  instead of failing\n"
               "  --quiet         print nothing on standard output (otherwise a PASS or FAIL line per\n"
               "                  file and `N passed, N failed`)\n"
               "  --package FILE.deb  install this build of the tweak (the package com.orvanta.lumetrix)\n"
               "                  on the device instead of the one built with this program\n"
               "  --music mpris[:NAME]\n"
               "                  the now-playing app follows the desktop player org.mpris.MediaPlayer2.NAME\n"
               "                  (without NAME: the first one found) on the session bus; implies --realtime\n"
               "\n"
               "Pictures: `snapshot FILE.png` in a scenario writes the screen as it is at that instant\n"
               "(device scale); `snapshot FILE.png crop lockscreen|app APP` the region around that\n"
               "player at three times device scale; a quoted last word is a caption.\n"
               "`settings snapshot FILE.png [\"CAPTION\"]` pictures what the Settings app shows.\n"
               "`expect-snapshot FILE.png [crop ...] [tolerance N]` compares with a golden picture: a\n"
               "mismatch fails with the count of differing pixels and FILE.diff.png beside it.\n"
               "\n"
               "Limits: a line is at most 1 MiB; one `wait` is at most 86400 s; device paths stay inside\n"
               "the device root; a simulated process that gives no answer for 120 s of wall-clock time\n"
               "per line (LUMETRIX_SIM_WATCHDOG=SECONDS) stops the run, naming it and the line.\n"
               "\n"
               "Exit status: 0 every expect held; 1 an expect failed (FILE:LINE: expected ... got ...)\n"
               "or a simulated process stopped; 2 usage error or malformed scenario (FILE:LINE: ...);\n"
               "130 / 143 interrupted (Ctrl-C / SIGTERM: every simulated process ends, a temporary\n"
               "device root is removed).\n";
    case CommandLine::Command::Demo:
        return "usage: lumetrix-sim demo [--out DIR] [--realtime]\n"
               "\n"
               "Runs the bundled demo: the phone boots locked with music playing, the lock-screen\n"
               "player is tapped and swiped, an app opens with its own player, the home grabber goes\n"
               "idle and comes back, and the Settings app changes a setting and resprings. Prints a\n"
               "timeline and leaves events.jsonl, timeline.txt, the dumps, a picture of each step\n"
               "and contact-sheet.png (all the pictures on one page) in DIR.\n"
               "\n"
               "  --out DIR    where the event log and dumps go (default: ./lumetrix-demo)\n"
               "  --realtime   the clock follows the wall clock\n";
    case CommandLine::Command::Devices:
        return "usage: lumetrix-sim devices\n"
               "\n"
               "Lists the device profiles `--device` and `device NAME` accept: screen size in points,\n"
               "safe-area insets and the home indicator's frame. The first is the default.\n";
    case CommandLine::Command::Serve:
        return serveUsageText();
    case CommandLine::Command::ScenarioHelp:
        return scenarioHelpText();
    case CommandLine::Command::Help:
    case CommandLine::Command::Version:
        break;
    }
    return "usage: lumetrix-sim run FILE... [--root DIR] [--events FILE] [--device NAME] [--realtime] [--dumps DIR]\n"
           "                        [--log] [--junit FILE] [--update-snapshots] [--quiet] [--package FILE.deb]\n"
           "                        [--music mpris[:NAME]]\n"
           "       lumetrix-sim demo [--out DIR] [--realtime] [--log]\n"
           // serve's own usage lines ("usage: " is as wide as the indent here).
           "       "
        + serveUsageText().substr(7, serveUsageText().find("\n\n") - 7) + "\n"
                                                                          "       lumetrix-sim devices\n"
                                                                          "       lumetrix-sim help [scenario|COMMAND]\n"
                                                                          "       lumetrix-sim --version\n"
                                                                          "\n"
                                                                          "A simulated iPhone with Lumetrix installed, driven by scenario files.\n"
                                                                          "`lumetrix-sim COMMAND --help` describes each command; `lumetrix-sim help scenario` the\n"
                                                                          "scenario language.\n";
}

std::string versionText()
{
    return std::string("lumetrix-sim ") + LUMETRIX_VERSION + "\n";
}

std::string scenarioHelpText()
{
    std::string text = "Scenario commands, one a line (`#` starts a comment, strings in double quotes, decimal\n"
                       "numbers; paths relative to the scenario file):\n\n";
    for (auto& command : scenario::scenarioCommandHelp()) {
        std::string form = command.form;
        // Long forms take a line of their own.
        if (form.size() > 48)
            text += "  " + form + "\n  " + std::string(50, ' ') + command.what + "\n";
        else
            text += "  " + form + std::string(50 - form.size(), ' ') + command.what + "\n";
    }
    text += "\nChecked before a run: every line's form, `expect` paths against the dumps (unknown\n"
            "fields, player properties and globals are named with the nearest known ones), `pref`\n"
            "and `settings set` keys against the ten settings, picture files ending in .png, lines\n"
            "of at most 1 MiB.\n";
    return text;
}

namespace {

bool isHelp(const char* argument)
{
    return !std::strcmp(argument, "--help") || !std::strcmp(argument, "-h");
}

} // namespace

CommandLine parseCommandLine(int argc, char** argv)
{
    CommandLine line;
    // Nothing to do is a usage error (exit 2), so a script that lost its arguments fails.
    if (argc < 2)
        throw UsageError("no command given", CommandLine::Command::Help);
    if (!std::strcmp(argv[1], "--version")) {
        line.command = CommandLine::Command::Version;
        return line;
    }
    if (!std::strcmp(argv[1], "help") && argc > 2) {
        std::string topic = argv[2];
        line.command = CommandLine::Command::Help;
        if (topic == "scenario")
            line.command = CommandLine::Command::ScenarioHelp;
        else if (topic == "run")
            line.helpFor = CommandLine::Command::Run;
        else if (topic == "demo")
            line.helpFor = CommandLine::Command::Demo;
        else if (topic == "devices")
            line.helpFor = CommandLine::Command::Devices;
        else if (topic == "serve")
            line.helpFor = CommandLine::Command::Serve;
        else
            throw UsageError("no help on '" + topic + "' (scenario, run, demo, serve, devices)", CommandLine::Command::Help);
        return line;
    }
    if (isHelp(argv[1]) || !std::strcmp(argv[1], "help")) {
        line.command = CommandLine::Command::Help;
        return line;
    }
    std::string name = argv[1];
    if (name == "run")
        line.command = CommandLine::Command::Run;
    else if (name == "demo")
        line.command = CommandLine::Command::Demo;
    else if (name == "devices")
        line.command = CommandLine::Command::Devices;
    else if (name == "serve")
        line.command = CommandLine::Command::Serve;
    else
        throw UsageError("unknown command '" + name + "'", CommandLine::Command::Help);

    const auto command = line.command;
    auto value = [&](int& i) -> std::string {
        if (i + 1 >= argc)
            throw UsageError(std::string(argv[i]) + " needs a value", command);
        return argv[++i];
    };
    // Asking for help is never a usage error, whatever else the line holds.
    for (int i = 2; i < argc; ++i) {
        if (isHelp(argv[i])) {
            line.helpFor = command;
            line.command = CommandLine::Command::Help;
            return line;
        }
    }
    for (int i = 2; i < argc; ++i) {
        std::string argument = argv[i];
        if (command == CommandLine::Command::Run) {
            if (argument == "--root")
                line.run.root = value(i);
            else if (argument == "--events")
                line.run.eventsPath = value(i);
            else if (argument == "--device") {
                std::string device = value(i);
                if (!UIDeviceProfile::named(device))
                    throw UsageError("unknown device '" + device + "' (see `lumetrix-sim devices`)", command);
                line.run.device = device;
            } else if (argument == "--dumps")
                line.run.dumpDirectory = value(i);
            else if (argument == "--realtime")
                line.run.realtime = true;
            else if (argument == "--log")
                line.run.echoLogs = true;
            else if (argument == "--junit")
                line.run.junitPath = value(i);
            else if (argument == "--update-snapshots")
                line.run.updateSnapshots = true;
            else if (argument == "--quiet")
                line.run.quiet = true;
            else if (argument == "--package") {
                line.run.package = value(i);
                if (!std::filesystem::is_regular_file(*line.run.package))
                    throw UsageError("no package file '" + *line.run.package + "'", command);
            } else if (argument == "--music") {
                auto music = parseMusicOption(value(i));
                if (!music.option)
                    throw UsageError(music.problem, command);
                line.run.music = music.option;
                // A real player plays in real time; a virtual clock cannot keep up with it.
                line.run.realtime = true;
            } else if (argument.rfind("-", 0) == 0 && argument != "-")
                throw UsageError("unknown option '" + argument + "'", command);
            else
                line.files.push_back(argument);
            continue;
        }
        if (command == CommandLine::Command::Demo) {
            if (argument == "--out")
                line.demoOutput = value(i);
            else if (argument == "--realtime")
                line.run.realtime = true;
            else if (argument == "--log")
                line.run.echoLogs = true;
            else
                throw UsageError("unknown argument '" + argument + "'", command);
            continue;
        }
        if (command == CommandLine::Command::Serve) {
            if (auto problem = readServeArgument(line.serve, argc, argv, i))
                throw UsageError(*problem, command);
            continue;
        }
        throw UsageError("unknown argument '" + argument + "'", command);
    }
    if (command == CommandLine::Command::Run && line.files.empty())
        throw UsageError("no scenario file given", command);
    if (command == CommandLine::Command::Run && std::count(line.files.begin(), line.files.end(), "-") > 1)
        throw UsageError("standard input (-) can be read once", command);
    return line;
}

} // namespace sim
