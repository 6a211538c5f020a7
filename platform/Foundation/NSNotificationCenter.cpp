#include "NSNotificationCenter.h"

#include "NSDictionary.h"
#include "NSNotification.h"
#include "NSString.h"
#include "Platform/Platform.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using objc::RefPtr;

namespace {

bool takesArgument(SEL selector)
{
    const char* name = sel_getName(selector);
    std::size_t length = std::strlen(name);
    return length && name[length - 1] == ':';
}

std::optional<std::string> nameFilter(const NSString* name)
{
    if (!name)
        return std::nullopt;
    return name->string();
}

void emitNotificationEvent(const NSNotification* notification)
{
    if (!platform::hasEventSink())
        return;
    nlohmann::json object = nullptr;
    if (id sender = notification->object())
        object = class_getName(sender->isa());
    nlohmann::json userInfo = nlohmann::json::object();
    if (auto* info = notification->userInfo())
        userInfo = info->jsonValue();
    platform::emitEvent({
        { "type", "notification" },
        { "name", notification->name()->string() },
        { "object", object },
        { "userInfo", userInfo },
    });
}

} // namespace

NSNotificationCenter::NSNotificationCenter() = default;
NSNotificationCenter::~NSNotificationCenter() = default;

id NSNotificationCenter::defaultCenterMethod(Class, SEL)
{
    // Made on first use and never destroyed, like the process's own centre.
    static NSNotificationCenter* center = alloc().leakRef();
    return center;
}

void NSNotificationCenter::addObserverNow(id observer, SEL selector, const NSString* name, id object)
{
    if (!observer || !selector)
        return;
    addObservation({ observer, observer, selector, takesArgument(selector), nameFilter(name), object != nil, object, nullptr, nullptr });
}

RefPtr<NSObject> NSNotificationCenter::addObserverForName(const NSString* name, id object, Block block)
{
    // The token stands in for an observer object; keeping it here keeps the
    // registration alive until removeObserver is given the token.
    auto token = objc::make<NSObject>(objc_getClass("__NSObserver"));
    addObservation({ token.get(), token.get(), nullptr, true, nameFilter(name), object != nil, object,
        std::make_shared<Block>(std::move(block)), token });
    return token;
}

void NSNotificationCenter::addObservation(Observation&& observation)
{
    m_observations.push_back(std::move(observation));
}

void NSNotificationCenter::removeObserver(id observer)
{
    removeObserver(observer, nullptr, nil);
}

void NSNotificationCenter::removeObserver(id observer, const NSString* name, id object)
{
    if (!observer)
        return;
    for (auto& observation : m_observations) {
        if (observation.removed || observation.identity != observer)
            continue;
        if (name && observation.name != name->string())
            continue;
        if (object && (!observation.filtersObject || observation.object.get() != object))
            continue;
        markRemoved(observation);
    }
    if (!m_deliveryDepth)
        compact();
}

void NSNotificationCenter::markRemoved(Observation& observation)
{
    observation.removed = true;
    m_needsCompaction = true;
}

void NSNotificationCenter::postNotificationNameNow(const NSString* name, id object, NSDictionary* userInfo)
{
    postNotification(NSNotification::create(name, object, userInfo).get());
}

void NSNotificationCenter::postNotification(NSNotification* notification)
{
    if (!notification)
        return;
    RefPtr<NSNotification> protectedNotification(notification);
    emitNotificationEvent(notification);

    const std::string& name = notification->name()->string();
    id sender = notification->object();
    ++m_deliveryDepth;
    // Only the observers registered before this post hear it. Entries are read by index
    // and copied out before each call: an observer may add to the list meanwhile.
    std::size_t end = m_observations.size();
    for (std::size_t index = 0; index < end; ++index) {
        Observation& observation = m_observations[index];
        if (observation.removed)
            continue;
        RefPtr<objc::Object> observer = observation.observer.strong();
        if (!observer) {
            markRemoved(observation);
            continue;
        }
        if (observation.name && *observation.name != name)
            continue;
        if (observation.filtersObject && (!sender || observation.object.get() != sender))
            continue;

        if (observation.block) {
            auto block = observation.block;
            (*block)(notification);
        } else if (observation.selectorTakesNotification) {
            objc_msgSend<void>(observer.get(), observation.selector, static_cast<id>(notification));
        } else {
            objc_msgSend<void>(observer.get(), observation.selector);
        }
    }
    if (!--m_deliveryDepth && m_needsCompaction)
        compact();
}

void NSNotificationCenter::compact()
{
    if (!m_needsCompaction)
        return;
    m_needsCompaction = false;
    std::vector<Observation> kept;
    std::vector<Observation> dropped;
    kept.reserve(m_observations.size());
    for (auto& observation : m_observations)
        (observation.removed ? dropped : kept).push_back(std::move(observation));
    m_observations = std::move(kept);
    // `dropped` dies here, once the list is whole again: releasing a block or a token
    // may run code that registers or removes observers.
}

std::size_t NSNotificationCenter::observerCount() const
{
    std::size_t count = 0;
    for (auto& observation : m_observations) {
        if (!observation.removed && observation.observer.get())
            ++count;
    }
    return count;
}
