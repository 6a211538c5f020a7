#include "PhoneKeeper.h"

#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

using nlohmann::json;

namespace sim {

namespace {

// A report written by the keeper while a killed process may have left half a line in the
// pipe: the newline before it ends that fragment (the server drops it as garbled), so
// this line stands on its own.
void reportAfterFragment(int fd, const json& message)
{
    std::string line = "\n" + message.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
    std::size_t written = 0;
    while (written < line.size()) {
        ssize_t count = write(fd, line.data() + written, line.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return;
        written += static_cast<std::size_t>(count);
    }
}

// A device process that ended its own way has removed its temporary root; one that was
// killed has not, and no other process of the phone is left to use it.
void removeTemporaryRoots(const LivePhoneSetup& setup)
{
    if (!setup.run.temporaryRootsFolder)
        return;
    std::error_code ignored;
    for (auto& entry : std::filesystem::directory_iterator(*setup.run.temporaryRootsFolder, ignored))
        std::filesystem::remove_all(entry.path(), ignored);
}

bool requestPipeClosed(int fd)
{
    pollfd polled { fd, 0, 0 };
    return poll(&polled, 1, 0) > 0 && (polled.revents & (POLLHUP | POLLERR)) && !(polled.revents & POLLIN);
}

} // namespace

std::string describeProcessEnd(int status)
{
    if (WIFSIGNALED(status)) {
        int signal = WTERMSIG(status);
        return "was killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    }
    if (WIFEXITED(status))
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    return "ended";
}

void keepLivePhones(const LivePhoneSetup& setup)
{
    // The keeper goes with the server, whichever way the server goes.
    pid_t server = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != server)
        _exit(1);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    for (;;) {
        std::fflush(nullptr);
        pid_t device = fork();
        if (device < 0) {
            reportAfterFragment(setup.reportFd, { { "ended", { { "error", "cannot start the device process" } } } });
            _exit(1);
        }
        if (device == 0) {
            setpgid(0, 0);
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            runLivePhoneProcess(setup);
        }
        // Both sides set the group, so whichever runs first, it exists before a kill.
        setpgid(device, device);
        reportAfterFragment(setup.reportFd, { { "device-process", device } });
        int status = 0;
        while (waitpid(device, &status, 0) < 0 && errno == EINTR) { }
        kill(-device, SIGKILL);
        removeTemporaryRoots(setup);
        if ((WIFEXITED(status) && WEXITSTATUS(status) == 0) || requestPipeClosed(setup.requestFd))
            _exit(0);
        reportAfterFragment(setup.reportFd, { { "ended", { { "error", "the device process " + describeProcessEnd(status) + "; its SpringBoard and Settings app were stopped with it" } } } });
    }
}

} // namespace sim
