// What the tweak sends to SpringBoard's objects, checked against the classes of a SpringBoard
// with the tweak loaded: every message its built library sends (read from the library, so
// code no test runs is covered too) is answered by its receiver's class with the encoding
// it is sent with, and every method the hook table replaces exists to be replaced.

#include "support/InSpringBoard.h"
#include "support/SendSites.h"

#include <algorithm>

using namespace testing_support;

namespace {

// How a send to an untyped receiver (id) is recorded: its static type is the runtime's
// root, objc::Object, which the compiler spells inside the objc namespace as "Object".
const std::string kIdReceiver = "Object";

bool someClassAnswers(const SentMessage& message)
{
    SEL sel = sel_registerName(message.selector.c_str());
    for (Class cls : objc_copyClassList()) {
        Method method = class_getInstanceMethod(cls, sel);
        if (method && objc::normalizeEncoding(method_getTypeEncoding(method)) == message.types)
            return true;
    }
    return false;
}

} // namespace

TEST(Tweak_Messages, EveryMessageTheTweakSendsIsAnsweredByItsReceiversClass)
{
    std::set<SentMessage> sent = messagesSentBy(sim::Artefacts::fromBuild().tweakLibrary);
    auto isSent = [&](char kind, const std::string& receiver, const std::string& selector) {
        return std::any_of(sent.begin(), sent.end(), [&](const SentMessage& message) {
            return message.kind == kind && message.receiver == receiver && message.selector == selector;
        });
    };
    // The list is really read: the pill hook, the playing test and the view tree are in it.
    EXPECT_TRUE(isSent('-', "MTLumaDodgePillView", "setHidden:"));
    EXPECT_TRUE(isSent('+', "SBMediaController", "sharedInstance"));
    EXPECT_TRUE(isSent('-', "SBMediaController", "isPlaying"));
    EXPECT_TRUE(isSent('-', "UIView", "addSubview:"));
    EXPECT_TRUE(isSent('-', "UILabel", "setMarqueeEnabled:"));
    // Class methods, +alloc, out-parameters and blocks are messages too.
    EXPECT_TRUE(isSent('+', "UIColor", "colorWithRed:green:blue:alpha:"));
    EXPECT_TRUE(isSent('+', "UIView", "alloc"));
    EXPECT_TRUE(isSent('-', "UIColor", "getRed:green:blue:alpha:"));
    EXPECT_TRUE(isSent('-', "UIImage", "drawInRect:blendMode:alpha:"));
    EXPECT_TRUE(isSent('+', "NSLayoutConstraint", "activateConstraints:"));
    EXPECT_TRUE(isSent('+', "UIView", "animateWithDuration:animations:"));
    EXPECT_TRUE(isSent('+', "NSTimer", "scheduledTimerWithTimeInterval:repeats:block:"));
    EXPECT_TRUE(isSent('+', "NSTimer", "scheduledTimerWithTimeInterval:target:selector:userInfo:repeats:"));
    EXPECT_TRUE(isSent('-', "HBPreferences", "registerBool:default:forKey:"));
    // The player's shared code sends its hosts' added properties to them as id.
    EXPECT_TRUE(isSent('-', kIdReceiver, "setSubView:"));
    EXPECT_TRUE(isSent('-', "SBDeviceApplicationSceneViewController", "setProgressView:"));

    TemporaryDevice device;
    inSpringBoard(device, [&](sim::SpringBoardSession&) {
        for (const SentMessage& message : sent) {
            SCOPED_TRACE(message.text());
            if (message.receiver == kIdReceiver) {
                // Whose class the code does not know: as the compiler asks of a message to
                // id, some class must answer it, with the encoding it is sent with.
                EXPECT_TRUE(someClassAnswers(message)) << "no class answers it";
                continue;
            }
            Class cls = message.kind == '+' ? objc_getMetaClass(message.receiver.c_str()) : objc_getClass(message.receiver.c_str());
            if (!cls) {
                ADD_FAILURE() << "no class named " << message.receiver;
                continue;
            }
            Method method = class_getInstanceMethod(cls, sel_registerName(message.selector.c_str()));
            if (!method) {
                ADD_FAILURE() << "unrecognized selector";
                continue;
            }
            EXPECT_EQ(objc::normalizeEncoding(method_getTypeEncoding(method)), message.types);
        }
    });
}

TEST(Tweak_Messages, EveryReplacementFindsTheMethodItReplaces)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession&) {
        // A replacement whose method is missing installs nothing (and is not recorded).
        std::size_t replaced = 0;
        for (const auto& change : objc::recordedModifications()) {
            if (change.kind != objc::Modification::Kind::ReplaceMethod)
                continue;
            ++replaced;
            SCOPED_TRACE(change.className + " " + change.selector);
            EXPECT_TRUE(change.succeeded);
            EXPECT_TRUE(class_getInstanceMethod(objc_getClass(change.className.c_str()), sel_registerName(change.selector.c_str())));
        }
        EXPECT_EQ(replaced, 13u);
    });
}

TEST(Tweak_Messages, EveryClassTheTweakAllocatesItAlsoInitialises)
{
    // An object that is allocated and never initialised works here and fails on a phone
    // (an image made with +alloc alone draws nothing and answers zero sizes there). The
    // records cannot pair a +alloc with its -init, but a class the tweak allocates and
    // never sends an init-family message to, at it or a class above it, is such a fault.
    std::set<SentMessage> sent = messagesSentBy(sim::Artefacts::fromBuild().tweakLibrary);
    TemporaryDevice device;
    inSpringBoard(device, [&](sim::SpringBoardSession&) {
        std::size_t allocated = 0;
        for (const SentMessage& alloc : sent) {
            if (alloc.kind != '+' || alloc.selector != "alloc")
                continue;
            ++allocated;
            Class cls = objc_getClass(alloc.receiver.c_str());
            bool initialised = std::any_of(sent.begin(), sent.end(), [&](const SentMessage& message) {
                Class receiver = objc_getClass(message.receiver.c_str());
                return message.kind == '-' && message.selector.rfind("init", 0) == 0 && receiver && class_isSubclassOf(cls, receiver);
            });
            EXPECT_TRUE(initialised) << alloc.receiver << " is allocated and never initialised";
        }
        EXPECT_GE(allocated, 5u) << "the tweak's views and gesture recognizers are allocated";
    });
}
