#include "NodeIds.h"

#include "objc/runtime.h"

namespace sim {

NodeIds::NodeIds(const nlohmann::json& counters)
{
    if (!counters.is_object())
        return;
    for (auto& [name, next] : counters.items()) {
        if (next.is_number_unsigned())
            m_next[name] = next.get<unsigned>();
    }
}

std::string NodeIds::idFor(objc::Object* object)
{
    if (!object)
        return {};
    auto found = m_entries.find(object);
    // A dead object's address can be taken by a new one: the weak pointer tells them apart.
    if (found != m_entries.end() && found->second.object.get() == object)
        return found->second.id;

    std::string className = class_getName(object->isa());
    unsigned& next = m_next[className];
    std::string id = className + "#" + std::to_string(++next);
    m_entries[object] = { objc::WeakPtr<objc::Object>(object), id };
    if (m_entries.size() >= m_pruneAt)
        forgetDeadObjects();
    return id;
}

void NodeIds::forgetDeadObjects()
{
    std::erase_if(m_entries, [](const auto& entry) { return !entry.second.object.get(); });
    // Amortised: a table full of live objects is not walked again until it doubles.
    m_pruneAt = std::max<std::size_t>(1024, m_entries.size() * 2);
}

nlohmann::json NodeIds::counters() const
{
    nlohmann::json counters = nlohmann::json::object();
    for (auto& [name, next] : m_next)
        counters[name] = next;
    return counters;
}

} // namespace sim
