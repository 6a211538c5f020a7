#pragma once
// Every simulated process (SpringBoard, the Settings app, the device process of a live
// phone, the probe that reads the dumps' shape) is forked here, so none outlives the run:
// each dies with the process that forked it (PR_SET_PDEATHSIG), and an interrupted run
// (Ctrl-C, SIGTERM) ends them all and winds down the normal way, removing its temporary
// device root, before it exits 130 or 143.

#include <sys/types.h>

namespace sim {

// fork(), with the child bound to its parent's life and the interrupt handlers of the
// parent taken off it. In the parent the child is remembered until forgetProcess. The
// kernel ties the child to the forking thread, so fork from a thread that lives as long
// as the child should (the main thread everywhere today).
pid_t forkSimulatedProcess();
// The child has been waited for: an interrupt no longer needs to end it.
void forgetProcess(pid_t);

// From here on SIGINT and SIGTERM end every simulated process and make interrupted()
// true; a second one ends this process at once.
void catchInterrupts();
// The signal that interrupted the run, or 0.
int interruptSignal();
inline bool interrupted() { return interruptSignal() != 0; }
// The exit status an interrupted run returns: 128 + the signal (130 for Ctrl-C, 143 for
// SIGTERM).
int interruptedExitStatus();

} // namespace sim
