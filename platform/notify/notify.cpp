#include "notify.h"

#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kCentreDirectory = "/var/run/lumetrix-notifyd";

struct Registration {
    std::string name;
    std::shared_ptr<notify_handler_t> handler;
};

struct NotifyState {
    // The process the listening FIFO belongs to. A fork() child inherits this state and
    // the parent's descriptors; it must neither read the parent's FIFO nor remove it.
    pid_t owner = 0;
    int readFd = -1;
    // Our own writer, so the FIFO never reads as ended when the last poster closes it
    // (poll would report it ready forever).
    int keepAliveFd = -1;
    std::string directory;
    std::string fifoPath;
    // A line cut in two by a read.
    std::string partialLine;
    std::map<int, Registration> registrations;
    int lastToken = 0;
    bool creationHookInstalled = false;
};

void readIncoming();

NotifyState& rawState()
{
    static auto* state = new NotifyState;
    return *state;
}

void detachFromRunLoop(int fd)
{
    if (auto* loop = platform::RunLoop::main())
        loop->removeReadSource(fd);
}

void closeListener(NotifyState& state)
{
    if (state.readFd >= 0) {
        detachFromRunLoop(state.readFd);
        close(state.readFd);
    }
    if (state.keepAliveFd >= 0)
        close(state.keepAliveFd);
    state.readFd = -1;
    state.keepAliveFd = -1;
    state.partialLine.clear();
}

// The state of this process; after a fork, the child first lets go of what it
// inherited (its registrations were the parent's, and so is the FIFO).
NotifyState& processState()
{
    auto& state = rawState();
    if (state.owner && state.owner != getpid()) {
        closeListener(state);
        state.fifoPath.clear();
        state.directory.clear();
        state.registrations.clear();
        state.owner = 0;
    }
    return state;
}

void stopListening(NotifyState& state)
{
    closeListener(state);
    if (!state.fifoPath.empty() && state.owner == getpid())
        unlink(state.fifoPath.c_str());
    state.fifoPath.clear();
    state.directory.clear();
    state.owner = 0;
}

void attach(platform::RunLoop& loop, const NotifyState& state)
{
    if (state.readFd >= 0)
        loop.addReadSource(state.readFd, readIncoming);
}

std::string centreDirectory()
{
    return platform::devicePath(kCentreDirectory);
}

// Opens this process's FIFO in the current device root, once there is something to
// listen for; moves it if the device root has changed since.
bool startListening(NotifyState& state)
{
    std::string directory = centreDirectory();
    if (state.readFd >= 0 && state.directory == directory)
        return true;
    stopListening(state);

    std::error_code error;
    std::filesystem::create_directories(directory, error);
    std::string path = directory + "/" + std::to_string(getpid()) + ".fifo";
    // A FIFO of an earlier process that had our pid.
    unlink(path.c_str());
    if (mkfifo(path.c_str(), 0600) != 0) {
        std::fprintf(stderr, "notify: cannot make %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    state.readFd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (state.readFd >= 0)
        state.keepAliveFd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (state.readFd < 0 || state.keepAliveFd < 0) {
        std::fprintf(stderr, "notify: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
        closeListener(state);
        unlink(path.c_str());
        return false;
    }
    state.owner = getpid();
    state.directory = directory;
    state.fifoPath = path;

    if (auto* loop = platform::RunLoop::main())
        attach(*loop, state);
    if (!state.creationHookInstalled) {
        state.creationHookInstalled = true;
        // A run loop made later (a host that registers first, or a restarted
        // SpringBoard in the same process) watches the FIFO too.
        platform::RunLoop::addCreationHook([](platform::RunLoop& loop) { attach(loop, processState()); });
    }
    return true;
}

void deliverLater(int token)
{
    dispatch_async(dispatch_get_main_queue(), [token] {
        // Cancelled between arrival and delivery: nothing to call.
        auto& registrations = processState().registrations;
        auto registration = registrations.find(token);
        if (registration == registrations.end())
            return;
        auto handler = registration->second.handler;
        (*handler)(token);
    });
}

void readIncoming()
{
    auto& current = processState();
    if (current.readFd < 0)
        return;
    char buffer[4096];
    for (;;) {
        ssize_t count = read(current.readFd, buffer, sizeof(buffer));
        if (count > 0) {
            current.partialLine.append(buffer, static_cast<std::size_t>(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        break;
    }

    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t end; (end = current.partialLine.find('\n', start)) != std::string::npos; start = end + 1)
        names.push_back(current.partialLine.substr(start, end - start));
    current.partialLine.erase(0, start);

    // Handlers run later, each as its own main-queue block, in the order the names
    // arrived and, per name, in the order of registration.
    for (auto& name : names) {
        for (auto& [token, registration] : current.registrations) {
            if (registration.name == name)
                deliverLater(token);
        }
    }
}

} // namespace

int notify_post(const char* name)
{
    if (!name)
        return NOTIFY_STATUS_INVALID_NAME;
    std::string line = std::string(name) + "\n";
    // Longer writes to a pipe may interleave with other posters'.
    if (line.size() > PIPE_BUF || line.find('\n') != line.size() - 1)
        return NOTIFY_STATUS_INVALID_NAME;
    auto& current = processState();
    if (!current.registrations.empty())
        startListening(current);

    std::string directory = centreDirectory();
    DIR* folder = opendir(directory.c_str());
    if (!folder)
        return NOTIFY_STATUS_OK;
    std::vector<std::string> listeners;
    while (dirent* entry = readdir(folder)) {
        std::string file = entry->d_name;
        if (file.size() > 5 && file.compare(file.size() - 5, 5, ".fifo") == 0)
            listeners.push_back(directory + "/" + file);
    }
    closedir(folder);

    for (auto& path : listeners) {
        int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            // No reader: its process has gone.
            if (errno == ENXIO)
                unlink(path.c_str());
            continue;
        }
        // Never blocks: a listener so far behind that its FIFO is full misses this one.
        ssize_t written = write(fd, line.data(), line.size());
        (void)written;
        close(fd);
    }
    // One of those FIFOs may be this process's own: its run loop looks again.
    if (auto* loop = platform::RunLoop::main())
        loop->wakeUp();
    return NOTIFY_STATUS_OK;
}

int notify_register_dispatch(const char* name, int* outToken, dispatch_queue_t queue, notify_handler_t handler)
{
    if (!name)
        return NOTIFY_STATUS_INVALID_NAME;
    if (!outToken || !handler || queue != dispatch_get_main_queue())
        return NOTIFY_STATUS_INVALID_REQUEST;
    auto& current = processState();
    if (!startListening(current))
        return NOTIFY_STATUS_FAILED;
    int token = ++current.lastToken;
    current.registrations[token] = { name, std::make_shared<notify_handler_t>(std::move(handler)) };
    *outToken = token;
    return NOTIFY_STATUS_OK;
}

int notify_cancel(int token)
{
    auto& current = processState();
    auto registration = current.registrations.find(token);
    if (registration == current.registrations.end())
        return NOTIFY_STATUS_INVALID_TOKEN;
    // Destroyed after the table is consistent: the handler's captures may cancel more.
    auto handler = std::move(registration->second.handler);
    current.registrations.erase(registration);
    if (current.registrations.empty())
        stopListening(current);
    return NOTIFY_STATUS_OK;
}
