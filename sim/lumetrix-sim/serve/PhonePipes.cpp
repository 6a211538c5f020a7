#include "PhonePipes.h"

#include "sim/lumetrix-sim/run/LineChannel.h"

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <new>
#include <stdexcept>

namespace sim {

LiveControls* LiveControls::makeShared()
{
    void* memory = mmap(nullptr, sizeof(LiveControls), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::runtime_error("cannot share the clock's speed with the phone");
    return new (memory) LiveControls;
}

PipeRead readRequest(int fd, double timeoutSeconds, nlohmann::json& message)
{
    pollfd polled { fd, POLLIN, 0 };
    int timeout = static_cast<int>(std::ceil(std::fmax(0, timeoutSeconds) * 1000));
    int ready = poll(&polled, 1, timeout);
    if (ready < 0 && errno != EINTR)
        return PipeRead::Closed;
    if (ready <= 0)
        return PipeRead::Nothing;
    // One byte at a time up to the newline: a line is short, and what follows it is for
    // whoever reads next.
    std::string line;
    for (;;) {
        char byte;
        ssize_t count = read(fd, &byte, 1);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return PipeRead::Closed;
        if (byte == '\n')
            break;
        // A line longer than any request is not from the server: drop the rest of it.
        if (line.size() < 65536)
            line += byte;
    }
    message = nlohmann::json::parse(line, nullptr, false);
    return message.is_discarded() ? PipeRead::Nothing : PipeRead::Message;
}

bool sendReport(int fd, const nlohmann::json& message)
{
    try {
        LineChannel(-1, fd).send(message);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace sim
