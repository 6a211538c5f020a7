#pragma once
// A live phone's server-sent events, read as a page reads them: each event's name and its
// data line, handed over as it arrives.

#include <httplib.h>

#include <chrono>
#include <functional>
#include <string>

namespace testing_support {

// Reads `path` (e.g. "/events?pieces=1") from `host` and calls `onEvent(name, data)` for
// each event until it returns false or the stream ends. Blocks; run it on a thread.
inline void readEventStream(const std::string& host, const std::string& path, std::chrono::seconds readTimeout,
    const std::function<bool(const std::string& name, const std::string& data)>& onEvent)
{
    httplib::Client client(host);
    client.set_read_timeout(readTimeout);
    std::string pending;
    bool going = true;
    client.Get(path, [&](const char* bytes, std::size_t size) {
        pending.append(bytes, size);
        for (std::size_t end; going && (end = pending.find("\n\n")) != std::string::npos;) {
            std::string event = pending.substr(0, end);
            pending.erase(0, end + 2);
            std::string name, data;
            for (std::size_t start = 0; start < event.size();) {
                std::size_t lineEnd = event.find('\n', start);
                std::string line = event.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
                if (line.rfind("event: ", 0) == 0)
                    name = line.substr(7);
                else if (line.rfind("data: ", 0) == 0)
                    data = line.substr(6);
                start = lineEnd == std::string::npos ? event.size() : lineEnd + 1;
            }
            going = onEvent(name, data);
        }
        return going;
    });
}

} // namespace testing_support
