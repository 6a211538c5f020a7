#include "NotifyListeners.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace fs = std::filesystem;

namespace sim {

namespace {

fs::path listenerFolder(const fs::path& deviceRoot)
{
    return deviceRoot / "var/run/lumetrix-notifyd";
}

} // namespace

void removeNotifyListener(const fs::path& deviceRoot, pid_t pid)
{
    std::error_code ignored;
    fs::remove(listenerFolder(deviceRoot) / (std::to_string(pid) + ".fifo"), ignored);
}

void removeDeadNotifyListeners(const fs::path& deviceRoot)
{
    std::error_code error;
    for (auto& entry : fs::directory_iterator(listenerFolder(deviceRoot), error)) {
        if (entry.path().extension() != ".fifo" || !entry.is_fifo(error))
            continue;
        // A FIFO with no reader refuses a writer that will not wait: its process is gone.
        int fd = open(entry.path().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            close(fd);
        else if (errno == ENXIO)
            fs::remove(entry.path(), error);
    }
}

} // namespace sim
