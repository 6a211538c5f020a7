#pragma once
// How long one simulated process waits for another. The processes take turns, so a
// process that never answers (stopped with SIGSTOP, or stuck in a loop) would hold the
// whole run for ever; after this much wall-clock time without an answer the waiting
// process gives up, and the run stops with a message naming who did not answer.

#include <string>
#include <sys/types.h>

namespace sim {

// Seconds of wall-clock time a process may take to answer one request or run one
// scenario line: 120, or LUMETRIX_SIM_WATCHDOG when set to a positive number.
double watchdogSeconds();

// "stopped (SIGSTOP)" for a process the kernel shows stopped, else "busy or stuck".
std::string unansweringProcessState(pid_t);

} // namespace sim
