#pragma once
// Between the server and the device process stands a keeper: a process forked while the
// server still has one thread, which stays single-threaded and forks a fresh device
// process whenever one dies. The server itself never forks again once its threads run,
// yet "Restart on this device" works after the device process was killed.
//
// Each device process leads a process group of its own, which its SpringBoard and
// Settings processes join; when it dies, the keeper kills that group, so nothing of the
// phone runs on as an orphan holding the report pipe, and tells the server why.

#include "LivePhoneProcess.h"

#include <string>

namespace sim {

// Runs in the keeper process; ends when a device process ends because the request pipe
// was closed (the server stopping), or when the server dies.
[[noreturn]] void keepLivePhones(const LivePhoneSetup&);

// How a device process ended, in words for the page ("was killed by signal 9 (Killed)").
std::string describeProcessEnd(int waitStatus);

} // namespace sim
