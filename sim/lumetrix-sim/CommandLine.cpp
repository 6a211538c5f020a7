#include "CommandLine.h"

#include "UIKit/UIDeviceProfile.h"

#include <cstring>

namespace sim {

std::string usageText(CommandLine::Command command)
{
    switch (command) {
    case CommandLine::Command::Run:
        return "usage: lumetrix-sim run FILE... [--root DIR] [--events FILE] [--device NAME] [--realtime]\n"
               "                        [--dumps DIR] [--log] [--music mpris[:NAME]]\n"
               "\n"
               "Runs scenario files on a simulated phone with Lumetrix installed: SpringBoard with the\n"
               "tweak loaded, a now-playing app and the Settings app. Every file is read first; each\n"
               "then runs on its own device.\n"
               "\n"
               "  --root DIR      use and keep DIR as the device root, so settings persist between runs\n"
               "                  (default: a fresh temporary root for each scenario)\n"
               "  --events FILE   write the event log (JSON lines) to FILE\n"
               "  --device NAME   the device profile (see `lumetrix-sim devices`)\n"
               "  --realtime      the clock follows the wall clock: `wait` really waits\n"
               "  --dumps DIR     write relative dump files into DIR instead of beside the scenario\n"
               "  --log           also print NSLog lines on standard error\n"
               "  --music mpris[:NAME]\n"
               "                  the now-playing app follows the desktop player org.mpris.MediaPlayer2.NAME\n"
               "                  (without NAME: the first one found) on the session bus; implies --realtime\n"
               "\n"
               "Pictures: `snapshot FILE.png` in a scenario writes the screen as it is at that instant\n"
               "(device scale); `snapshot FILE.png crop lockscreen|app APP` the region around that\n"
               "player at three times device scale; a quoted last word is a caption.\n"
               "`settings snapshot FILE.png [\"CAPTION\"]` pictures what the Settings app shows.\n"
               "\n"
               "Limits: one `wait` is at most 86400 s; device paths stay inside the device root; a\n"
               "simulated process that gives no answer for 120 s of wall-clock time per line\n"
               "(LUMETRIX_SIM_WATCHDOG=SECONDS) stops the run, naming it and the line.\n"
               "\n"
               "Exit status: 0 every expect held; 1 an expect failed (FILE:LINE: expected ... got ...)\n"
               "or a simulated process stopped; 2 usage error or malformed scenario (FILE:LINE: ...).\n";
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
    case CommandLine::Command::Help:
        break;
    }
    return "usage: lumetrix-sim run FILE... [--root DIR] [--events FILE] [--device NAME] [--realtime]\n"
           "       lumetrix-sim demo [--out DIR]\n"
           "       lumetrix-sim serve [--port N] [--host H] [--device NAME] [--root DIR] [--out DIR] [SCENARIO]\n"
           "       lumetrix-sim devices\n"
           "\n"
           "A simulated iPhone with Lumetrix installed, driven by scenario files.\n"
           "`lumetrix-sim COMMAND --help` describes each command.\n";
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
            else if (argument == "--music") {
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
    return line;
}

} // namespace sim
