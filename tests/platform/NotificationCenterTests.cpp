#include "Foundation/NSDictionary.h"
#include "Foundation/NSNotification.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "Platform/Platform.h"
#include "objc/WeakPtr.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

using objc::RefPtr;
using objc::WeakPtr;

namespace platform {
void registerFoundationClasses();
}

namespace {

// An observer that writes "<label>" (or "<label>(name)" when given the notification) into
// a shared log, then does whatever the test asks of it.
class Listener : public NSObject {
public:
    Listener() = default;
    std::string label;
    std::string* log = nullptr;
    RefPtr<NSNotification> lastNotification;
    std::function<void(Listener*)> onNotify;

    static void noteWith(Listener* self, SEL, NSNotification* notification)
    {
        self->lastNotification = notification;
        self->record(self->label + "(" + notification->name()->string() + ")");
    }
    static void note(Listener* self, SEL) { self->record(self->label); }

private:
    void record(const std::string& entry)
    {
        *log += entry + " ";
        if (onNotify)
            onNotify(this);
    }
};

Class listenerClass()
{
    static Class cls = [] {
        Class c = objc::defineClass<Listener>("NotificationTestListener", NSObject::staticClass());
        objc::addMethod(c, "noteWith:", &Listener::noteWith);
        objc::addMethod(c, "note", &Listener::note);
        return c;
    }();
    return cls;
}

class Foundation_NotificationCenter : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::registerFoundationClasses();
        listenerClass();
        center = NSNotificationCenter::alloc();
    }

    RefPtr<Listener> listener(const char* label)
    {
        auto made = objc::make<Listener>(listenerClass());
        made->label = label;
        made->log = &log;
        return made;
    }
    void observe(Listener* observer, const char* name = "Ping", id object = nil)
    {
        center->addObserver(observer, "note"_sel, name ? NSString::create(name).get() : nullptr, object);
    }
    void post(const char* name = "Ping", id object = nil) { center->postNotificationName(NSString::create(name).get(), object); }
    std::string takeLog() { return std::exchange(log, {}); }

    // A centre of its own per test; the default one is shared by the whole process.
    RefPtr<NSNotificationCenter> center;
    std::string log;
};

TEST_F(Foundation_NotificationCenter, DeliversSynchronouslyInRegistrationOrder)
{
    auto a = listener("a"), b = listener("b"), c = listener("c");
    observe(b.get());
    observe(a.get());
    center->addObserver(c.get(), "noteWith:"_sel, "Ping"_ns, nil);
    post();
    EXPECT_EQ(takeLog(), "b a c(Ping) ");
    EXPECT_EQ(center->observerCount(), 3u);
}

TEST_F(Foundation_NotificationCenter, SelectorWithArgumentGetsTheNotification)
{
    auto a = listener("a");
    auto sender = listener("sender");
    center->addObserver(a.get(), "noteWith:"_sel, "Ping"_ns, nil);
    auto info = NSDictionary::create({ { "k"_ns, NSNumber::numberWithInt(7) } });
    center->postNotificationName("Ping"_ns, sender.get(), info.get());
    ASSERT_TRUE(a->lastNotification);
    EXPECT_EQ(a->lastNotification->name()->string(), "Ping");
    EXPECT_EQ(a->lastNotification->object(), static_cast<id>(sender.get()));
    EXPECT_EQ(a->lastNotification->userInfo(), info.get());
}

TEST_F(Foundation_NotificationCenter, NameAndObjectFilters)
{
    auto sender = listener("sender"), other = listener("other");
    auto anyName = listener("anyName"), ping = listener("ping"), fromSender = listener("fromSender");
    observe(anyName.get(), nullptr);
    observe(ping.get());
    observe(fromSender.get(), "Ping", sender.get());

    struct Case {
        const char* name;
        id object;
        const char* expected;
    };
    for (auto c : std::vector<Case> {
             { "Ping", nil, "anyName ping " },
             { "Ping", sender.get(), "anyName ping fromSender " },
             { "Ping", other.get(), "anyName ping " },
             { "Pong", sender.get(), "anyName " },
         }) {
        post(c.name, c.object);
        EXPECT_EQ(takeLog(), c.expected) << c.name;
    }

    // A sender that has died matches nothing, even an object at a reused address.
    sender = nullptr;
    post("Ping", nil);
    EXPECT_EQ(takeLog(), "anyName ping ");
}

TEST_F(Foundation_NotificationCenter, ObserversAreNotRetainedAndDeadOnesAreSkipped)
{
    auto a = listener("a"), b = listener("b");
    WeakPtr<Listener> weakB = b.get();
    observe(a.get());
    observe(b.get());
    b = nullptr;
    EXPECT_FALSE(weakB.get()) << "registration must not keep the observer alive";
    EXPECT_EQ(center->observerCount(), 1u);
    post();
    EXPECT_EQ(takeLog(), "a ");
}

TEST_F(Foundation_NotificationCenter, ObserverRemovesItselfDuringDelivery)
{
    auto a = listener("a"), b = listener("b"), c = listener("c");
    for (auto* l : { a.get(), b.get(), c.get() })
        observe(l);
    b->onNotify = [this](Listener* self) { center->removeObserver(self); };
    post();
    EXPECT_EQ(takeLog(), "a b c ");
    post();
    EXPECT_EQ(takeLog(), "a c ");
    EXPECT_EQ(center->observerCount(), 2u);
}

TEST_F(Foundation_NotificationCenter, ObserverRemovesAnotherDuringDelivery)
{
    auto a = listener("a"), b = listener("b"), c = listener("c");
    for (auto* l : { a.get(), b.get(), c.get() })
        observe(l);
    a->onNotify = [this, c = c.get()](Listener*) { center->removeObserver(c); };
    post();
    EXPECT_EQ(takeLog(), "a b ") << "removed before its turn: not called";
}

TEST_F(Foundation_NotificationCenter, ObserverKillsAnotherDuringDelivery)
{
    auto a = listener("a"), b = listener("b");
    observe(a.get());
    observe(b.get());
    RefPtr<Listener>* holder = &b;
    a->onNotify = [holder](Listener*) { *holder = nullptr; };
    post();
    EXPECT_EQ(takeLog(), "a ");
    EXPECT_EQ(center->observerCount(), 1u);
}

TEST_F(Foundation_NotificationCenter, ObserverAddedDuringDeliveryHearsOnlyLaterPosts)
{
    auto a = listener("a"), late = listener("late");
    observe(a.get());
    bool added = false;
    a->onNotify = [&](Listener*) {
        if (!added) {
            added = true;
            observe(late.get());
        }
    };
    post();
    EXPECT_EQ(takeLog(), "a ");
    post();
    EXPECT_EQ(takeLog(), "a late ");
}

TEST_F(Foundation_NotificationCenter, NestedPostsWithRemovalKeepTheListWhole)
{
    auto a = listener("a"), b = listener("b"), c = listener("c");
    observe(a.get(), "Outer");
    observe(b.get(), nullptr);
    observe(c.get(), nullptr);
    a->onNotify = [this, &a, &b](Listener*) {
        center->removeObserver(b.get());
        center->removeObserver(a.get());
        post("Inner");
    };
    post("Outer");
    EXPECT_EQ(takeLog(), "a c c ");
    post("Outer");
    EXPECT_EQ(takeLog(), "c ");
    EXPECT_EQ(center->observerCount(), 1u);
}

TEST_F(Foundation_NotificationCenter, SelectiveRemoval)
{
    auto a = listener("a");
    auto sender = listener("sender");
    observe(a.get(), "Ping");
    observe(a.get(), "Pong");
    observe(a.get(), "Ping", sender.get());
    center->removeObserver(a.get(), "Ping"_ns, sender.get());
    post("Ping", sender.get());
    EXPECT_EQ(takeLog(), "a ");
    center->removeObserver(a.get(), "Ping"_ns, nil);
    post("Ping", sender.get());
    post("Pong");
    EXPECT_EQ(takeLog(), "a ");
    center->removeObserver(a.get());
    EXPECT_EQ(center->observerCount(), 0u);
}

TEST_F(Foundation_NotificationCenter, BlockObserversLiveUntilTheirTokenIsRemoved)
{
    int calls = 0;
    RefPtr<NSObject> token;
    token = center->addObserverForName("Ping"_ns, nil, [&](NSNotification* notification) {
        ++calls;
        EXPECT_EQ(notification->name()->string(), "Ping");
        if (calls == 2)
            center->removeObserver(token.get());
    });
    WeakPtr<NSObject> weakToken = token.get();
    token = nullptr;
    ASSERT_TRUE(weakToken.get()) << "the centre keeps the token";
    token = weakToken.get();
    for (int i = 0; i < 4; ++i)
        post();
    EXPECT_EQ(calls, 2);
    token = nullptr;
    EXPECT_FALSE(weakToken.get());
}

TEST_F(Foundation_NotificationCenter, EveryPostIsRecordedAsAnEvent)
{
    std::vector<nlohmann::json> events;
    platform::setEventSink([&](const nlohmann::json& event) { events.push_back(event); });
    auto sender = listener("sender");
    center->postNotificationName("Ping"_ns, sender.get(), NSDictionary::create({ { "count"_ns, NSNumber::numberWithInt(3) } }).get());
    center->postNotificationName("Pong"_ns, nil);
    platform::setEventSink(nullptr);

    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], nlohmann::json::parse(R"({"type":"notification","name":"Ping","object":"NotificationTestListener","userInfo":{"count":3}})"));
    EXPECT_EQ(events[1], nlohmann::json::parse(R"({"type":"notification","name":"Pong","object":null,"userInfo":{}})"));
}

TEST_F(Foundation_NotificationCenter, RuntimeMethodsAndTheDefaultCentre)
{
    auto a = listener("a");
    const id none = nil;
    NSNotificationCenter* shared = NSNotificationCenter::defaultCenter();
    EXPECT_EQ(shared, NSNotificationCenter::defaultCenter());
    objc_msgSend(shared, "addObserver:selector:name:object:"_sel, static_cast<id>(a.get()), "noteWith:"_sel,
        static_cast<id>("Ping"_ns.get()), none);
    objc_msgSend(shared, "postNotificationName:object:userInfo:"_sel, static_cast<id>("Ping"_ns.get()), none, none);
    ASSERT_TRUE(a->lastNotification);
    EXPECT_EQ(objc_msgSend<id>(a->lastNotification.get(), "name"_sel), static_cast<id>(a->lastNotification->name()));
    objc_msgSend(shared, "removeObserver:"_sel, static_cast<id>(a.get()));
    objc_msgSend(shared, "postNotificationName:object:userInfo:"_sel, static_cast<id>("Ping"_ns.get()), none, none);
    EXPECT_EQ(takeLog(), "a(Ping) ");
}

} // namespace
