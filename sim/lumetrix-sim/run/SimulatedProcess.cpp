#include "SimulatedProcess.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace sim {

namespace {

// Simple enough for a signal handler to walk: a fixed table of pids, 0 for a free slot.
constexpr int kMostChildren = 64;
std::atomic<pid_t> g_children[kMostChildren];
volatile std::sig_atomic_t g_signal = 0;
bool g_catching = false;

void onInterrupt(int signal)
{
    g_signal = signal;
    for (auto& child : g_children) {
        if (pid_t pid = child.load())
            kill(pid, SIGKILL);
    }
}

} // namespace

pid_t forkSimulatedProcess()
{
    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid == 0) {
        // Our parent's handlers are not ours: an interrupt to the terminal's process group
        // ends a simulated process at once.
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        for (auto& child : g_children)
            child.store(0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The parent may have gone before the line above took effect.
        if (getppid() != parent)
            _exit(1);
        return 0;
    }
    if (pid > 0) {
        for (auto& child : g_children) {
            pid_t empty = 0;
            if (child.compare_exchange_strong(empty, pid))
                break;
        }
        // Forked after the interrupt arrived: it gets the same end.
        if (g_signal)
            kill(pid, SIGKILL);
    }
    return pid;
}

void forgetProcess(pid_t pid)
{
    for (auto& child : g_children) {
        pid_t known = pid;
        if (child.compare_exchange_strong(known, 0))
            break;
    }
}

void catchInterrupts()
{
    if (g_catching)
        return;
    g_catching = true;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // A second interrupt is not caught: whoever presses Ctrl-C twice means it.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int interruptSignal()
{
    return g_signal;
}

int interruptedExitStatus()
{
    return 128 + g_signal;
}

} // namespace sim
