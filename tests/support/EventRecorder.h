#pragma once
// Records the platform's events (logs, notifications, commands, sounds) in the process
// where it is made, for tests to count and order them.

#include "Platform/Platform.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace testing_support {

class EventRecorder {
public:
    EventRecorder()
    {
        platform::setEventSink([this](const nlohmann::json& event) { m_events.push_back(event); });
    }
    ~EventRecorder() { platform::setEventSink({}); }

    void clear() { m_events.clear(); }
    const std::vector<nlohmann::json>& events() const { return m_events; }

    std::vector<nlohmann::json> ofType(const std::string& type) const
    {
        std::vector<nlohmann::json> matching;
        for (auto& event : m_events) {
            if (event["type"] == type)
                matching.push_back(event);
        }
        return matching;
    }

    // Commands sent, in order.
    std::vector<int> commands() const
    {
        std::vector<int> sent;
        for (auto& event : ofType("command"))
            sent.push_back(event["command"].get<int>());
        return sent;
    }
    std::size_t sounds() const { return ofType("sound").size(); }

    std::vector<std::string> notificationNames() const
    {
        std::vector<std::string> names;
        for (auto& event : ofType("notification"))
            names.push_back(event["name"].get<std::string>());
        return names;
    }

private:
    std::vector<nlohmann::json> m_events;
};

} // namespace testing_support
