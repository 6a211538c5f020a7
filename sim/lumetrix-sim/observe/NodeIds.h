#pragma once
// Names for the objects a dump shows, "Class#N", stable for each object's life: the
// first time an object appears it gets the next number of its class, and keeps it for
// as long as it lives. The numbering runs on across SpringBoard restarts (counters()
// travels to the next process), so an id never names two objects in one run.

#include "objc/Object.h"
#include "objc/WeakPtr.h"

#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <unordered_map>

namespace sim {

class NodeIds {
public:
    // `counters` as counters() gave them in an earlier process (or null for a new run).
    explicit NodeIds(const nlohmann::json& counters = nullptr);

    std::string idFor(objc::Object*);
    // The last number given in every class seen so far.
    nlohmann::json counters() const;

private:
    struct Entry {
        objc::WeakPtr<objc::Object> object;
        std::string id;
    };
    void forgetDeadObjects();

    std::unordered_map<const objc::Object*, Entry> m_entries;
    std::map<std::string, unsigned> m_next;
    std::size_t m_pruneAt = 1024;
};

} // namespace sim
