#pragma once
// How `lumetrix-sim serve` was asked to run the live phone.

#include "sim/lumetrix-sim/music/MusicOption.h"

#include <optional>
#include <string>

namespace sim {

struct ServeOptions {
    // Where the page is served: loopback unless the user names another address.
    std::string host = "127.0.0.1";
    // Listening beyond loopback lets anyone who reaches the port drive the phone: only
    // when the user says so.
    bool allowNetwork = false;
    // 0 picks a free port (printed at start).
    int port = 8137;
    // The device profile the phone starts on (a `device` line before `boot`).
    std::optional<std::string> device;
    // Use and keep this device root; without it each phone gets a fresh temporary one.
    std::optional<std::string> root;
    // The event log, the transcript and every file a page action writes go here.
    std::string output = "lumetrix-serve";
    // Lines run before the page takes over (the phone boots after them if they do not).
    std::optional<std::string> scenario;
    // Pixels per point of the frames the page shows.
    double frameScale = 2;
    bool echoLogs = false;
    // The phone's now-playing app follows this desktop player.
    std::optional<MusicOption> music;
};

// Takes argv[i] (and its value, moving i on) into `options`; the problem, if any.
std::optional<std::string> readServeArgument(ServeOptions&, int argc, char** argv, int& i);
std::string serveUsageText();

// Whether `host` is an address other machines may reach (anything but loopback).
bool listensBeyondLoopback(const std::string& host);
// What is wrong with the options as a whole, if anything (once every argument is read).
std::optional<std::string> serveOptionsProblem(const ServeOptions&);
// The warning printed when the page listens beyond this machine.
std::string networkWarning(const ServeOptions&, int port);

} // namespace sim
