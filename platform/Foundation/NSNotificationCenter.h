#pragma once
// NSNotificationCenter: synchronous broadcast of named notifications within the process.
//
// As on iOS 9 and later, an observer registered with a selector is not retained: the
// centre holds it weakly, skips it once it has died and forgets it. Observers are called
// in the order they registered. The list may change while a notification is being
// delivered (an observer removing itself or another, or adding a new one): removed
// entries are only marked and are swept out once the outermost delivery has finished,
// and an observer added during a delivery first hears the next post.

#include "NSObject.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSDictionary;
class NSNotification;

namespace platform {
void registerFoundationTimeClasses();
}

class NSNotificationCenter : public NSObject {
    OBJC_INTERFACE(NSNotificationCenter)
public:
    using Block = std::function<void(NSNotification*)>;

    NSNotificationCenter();
    ~NSNotificationCenter() override;

    // +defaultCenter, sent to the class: the process's centre; it lives as long as the
    // process.
    static NSNotificationCenter* defaultCenter()
    {
        return static_cast<NSNotificationCenter*>(objc_sendToClass<"NSNotificationCenter", "defaultCenter", id>());
    }

    // `selector` is sent to `observer` for every post of `name` (nil: any name) from
    // `object` (nil: any sender), with the notification as argument when the selector
    // takes one (its name ends in ':').
    // (Sent through the runtime; strings and dictionaries are objects, only declared here.)
    void addObserver(id observer, SEL selector, const NSString* name, id object)
    {
        objc_send<"addObserver:selector:name:object:">(this, observer, selector, reinterpret_cast<id>(const_cast<NSString*>(name)), object);
    }
    // Runs `block` for matching posts. The centre keeps the returned token (and the
    // block) until the token is passed to removeObserver.
    objc::RefPtr<NSObject> addObserverForName(const NSString* name, id object, Block);

    void removeObserver(id observer);
    // Only the registrations that match `name` and `object` (nil matches any).
    void removeObserver(id observer, const NSString* name, id object);

    void postNotificationName(const NSString* name, id object, NSDictionary* userInfo = nullptr)
    {
        objc_send<"postNotificationName:object:userInfo:">(this, reinterpret_cast<id>(const_cast<NSString*>(name)), object, reinterpret_cast<id>(userInfo));
    }
    void postNotification(NSNotification*);

    // Registrations whose observer is still alive.
    std::size_t observerCount() const;

    // What the two messages above do (the runtime's implementations call these).
    void addObserverNow(id observer, SEL selector, const NSString* name, id object);
    void postNotificationNameNow(const NSString* name, id object, NSDictionary* userInfo);

private:
    friend void platform::registerFoundationTimeClasses();
    static id defaultCenterMethod(Class, SEL);

    struct Observation {
        // Compared by address only: removeObserver works for an observer that is
        // already dying and no longer reachable through `observer`.
        const objc::Object* identity;
        objc::WeakPtr<objc::Object> observer;
        SEL selector;
        bool selectorTakesNotification;
        std::optional<std::string> name;
        // Held weakly too: a sender that has died matches nothing from then on.
        bool filtersObject;
        objc::WeakPtr<objc::Object> object;
        std::shared_ptr<Block> block;
        objc::RefPtr<objc::Object> token;
        bool removed = false;
    };

    void addObservation(Observation&&);
    void markRemoved(Observation&);
    // Drops marked entries; only outside any delivery, so indices stay valid meanwhile.
    void compact();

    std::vector<Observation> m_observations;
    unsigned m_deliveryDepth = 0;
    bool m_needsCompaction = false;
};
