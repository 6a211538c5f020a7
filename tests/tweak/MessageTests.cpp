// What the tweak sends to SpringBoard's objects, checked against the classes of a SpringBoard
// with the tweak loaded: every message its built library sends (read from the library, so
// code no test runs is covered too) is answered by its receiver's class with the encoding
// it is sent with, and every method the hook table replaces exists to be replaced.

#include "support/InSpringBoard.h"
#include "support/SendSites.h"

#include <algorithm>

using namespace testing_support;

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

    TemporaryDevice device;
    inSpringBoard(device, [&](sim::SpringBoardSession&) {
        for (const SentMessage& message : sent) {
            SCOPED_TRACE(message.text());
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
