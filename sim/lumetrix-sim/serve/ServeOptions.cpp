#include "ServeOptions.h"

#include "UIKit/UIDeviceProfile.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <cstring>

namespace sim {

std::string serveUsageText()
{
    return "usage: lumetrix-sim serve [--port N] [--host H [--allow-network]] [--device NAME] [--root DIR] [--out DIR]\n"
           "                          [--scale S] [--log] [--music mpris[:NAME]] [SCENARIO]\n"
           "\n"
           "Starts the simulated phone (after SCENARIO's lines, booting it if they do not) and\n"
           "serves a page that shows it live: click to tap, drag sideways to swipe, side controls\n"
           "for the phone, the music app and the Settings app, the event log, a view inspector,\n"
           "and a recorder whose download `lumetrix-sim run` replays to the same state. Serves\n"
           "until Ctrl-C or SIGTERM, then shuts the phone's processes down.\n"
           "\n"
           "  --port N       the port (default 8137; 0 picks a free one)\n"
           "  --host H       the address to listen on (default 127.0.0.1, this machine only);\n"
           "                 any other needs --allow-network\n"
           "  --allow-network  listen on a --host other machines can reach (anyone who can\n"
           "                 reach it drives the phone and writes into the output folder)\n"
           "  --device NAME  the device profile (see `lumetrix-sim devices`)\n"
           "  --root DIR     use and keep DIR as the device root (default: a fresh temporary root)\n"
           "  --out DIR      event log, transcript and the files page actions write\n"
           "                 (default: ./lumetrix-serve)\n"
           "  --scale S      frame pixels per point, 1 to 3 (default 2)\n"
           "  --log          also print NSLog lines on standard error\n"
           "  --music mpris[:NAME]\n"
           "                 the phone's music app follows the desktop player\n"
           "                 org.mpris.MediaPlayer2.NAME (without NAME: the first one found)\n"
           "                 on the session bus: its buttons and swipes control that player\n";
}

std::optional<std::string> readServeArgument(ServeOptions& options, int argc, char** argv, int& i)
{
    std::string argument = argv[i];
    auto value = [&]() -> std::optional<std::string> {
        if (i + 1 >= argc)
            return std::nullopt;
        return std::string(argv[++i]);
    };
    auto needs = [&] { return argument + " needs a value"; };
    if (argument == "--port") {
        auto text = value();
        if (!text)
            return needs();
        char* end = nullptr;
        long port = std::strtol(text->c_str(), &end, 10);
        if (text->empty() || *end || port < 0 || port > 65535)
            return "--port needs a port number (0 to 65535), got '" + *text + "'";
        options.port = static_cast<int>(port);
    } else if (argument == "--host") {
        auto text = value();
        if (!text || text->empty())
            return needs();
        options.host = *text;
    } else if (argument == "--device") {
        auto text = value();
        if (!text)
            return needs();
        if (!UIDeviceProfile::named(*text))
            return "unknown device '" + *text + "' (see `lumetrix-sim devices`)";
        options.device = UIDeviceProfile::named(*text)->name;
    } else if (argument == "--root") {
        auto text = value();
        if (!text)
            return needs();
        options.root = *text;
    } else if (argument == "--out") {
        auto text = value();
        if (!text || text->empty())
            return needs();
        options.output = *text;
    } else if (argument == "--scale") {
        auto text = value();
        if (!text)
            return needs();
        char* end = nullptr;
        double scale = std::strtod(text->c_str(), &end);
        if (text->empty() || *end || !(scale >= 1 && scale <= 3))
            return "--scale needs a number from 1 to 3, got '" + *text + "'";
        options.frameScale = scale;
    } else if (argument == "--allow-network") {
        options.allowNetwork = true;
    } else if (argument == "--log") {
        options.echoLogs = true;
    } else if (argument == "--music") {
        auto text = value();
        if (!text)
            return needs();
        auto music = parseMusicOption(*text);
        if (!music.option)
            return music.problem;
        options.music = music.option;
    } else if (argument.rfind("-", 0) == 0) {
        return "unknown option '" + argument + "'";
    } else if (options.scenario) {
        return "one scenario at most, got '" + *options.scenario + "' and '" + argument + "'";
    } else {
        options.scenario = argument;
    }
    return std::nullopt;
}

bool listensBeyondLoopback(const std::string& host)
{
    std::string bare = host;
    if (bare.size() > 2 && bare.front() == '[' && bare.back() == ']')
        bare = bare.substr(1, bare.size() - 2);
    if (bare == "localhost")
        return false;
    in_addr v4 {};
    if (inet_pton(AF_INET, bare.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) != 127;
    in6_addr v6 {};
    if (inet_pton(AF_INET6, bare.c_str(), &v6) == 1)
        return !IN6_IS_ADDR_LOOPBACK(&v6);
    // A name may resolve to anything.
    return true;
}

std::optional<std::string> serveOptionsProblem(const ServeOptions& options)
{
    if (listensBeyondLoopback(options.host) && !options.allowNetwork)
        return "--host " + options.host + " can be reached from other machines, and whoever reaches it drives the phone and "
                                          "writes into the output folder: add --allow-network to listen there anyway";
    return std::nullopt;
}

std::string networkWarning(const ServeOptions& options, int port)
{
    return "lumetrix-sim serve: warning: listening on " + options.host + " port " + std::to_string(port)
        + ", beyond this machine: anyone who can reach it can drive the phone, read its event log and settings, "
          "and write files into "
        + options.output;
}

} // namespace sim
