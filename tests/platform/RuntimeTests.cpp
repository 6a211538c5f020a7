#include "Platform/Platform.h"
#include "objc/WeakPtr.h"
#include "objc/runtime.h"
#include "substrate/substrate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using objc::RefPtr;
using objc::WeakPtr;

namespace {

// A bare runtime object with a destruction counter, independent of Foundation.
class Probe : public objc::Object {
public:
    Probe() = default;
    ~Probe() override { ++destroyed; }
    static inline int destroyed = 0;
    int value = 0;
};

// Each test gets its own class names, since classes live for the whole process.
std::string uniqueName(const char* base)
{
    static int counter = 0;
    return std::string(base) + std::to_string(++counter);
}

struct Hierarchy {
    Class base;
    Class middle;
    Class leaf;
};

Hierarchy makeHierarchy()
{
    Hierarchy h;
    h.base = objc::defineClass<Probe>(uniqueName("Base").c_str(), nullptr);
    h.middle = objc::registerClass(uniqueName("Middle").c_str(), h.base, nullptr);
    h.leaf = objc::registerClass(uniqueName("Leaf").c_str(), h.middle, nullptr);
    return h;
}

int baseAnswer(id, SEL) { return 1; }
int middleAnswer(id, SEL) { return 2; }
int replacementAnswer(id, SEL) { return 3; }
void setValue(id self, SEL, int value) { static_cast<Probe*>(self)->value = value; }

} // namespace

TEST(Runtime_Dispatch, FindsMethodsAlongTheClassChain)
{
    auto h = makeHierarchy();
    objc::addMethod(h.base, "answer", &baseAnswer);
    auto leaf = objc::createInstance(h.leaf);
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 1);

    objc::addMethod(h.middle, "answer", &middleAnswer);
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 2) << "a new override must drop the cached lookup";
    auto base = objc::createInstance(h.base);
    EXPECT_EQ(objc_msgSend<int>(base.get(), "answer"_sel), 1);
    EXPECT_EQ(objc_msgSendSuper<int>(h.base, leaf.get(), "answer"_sel), 1);
}

TEST(Runtime_Dispatch, NilReceiverAnswersZero)
{
    EXPECT_EQ(objc_msgSend<int>(nil, "anything"_sel), 0);
    EXPECT_EQ(objc_msgSend<id>(nil, "anything"_sel), nil);
    objc_msgSend(nil, "anything:"_sel, 3);
}

TEST(Runtime_Dispatch, CreateInstanceUsesTheNearestFactoryAndKeepsTheClass)
{
    auto h = makeHierarchy();
    auto leaf = objc::createInstance(h.leaf);
    EXPECT_EQ(object_getClass(leaf.get()), h.leaf);
    EXPECT_STREQ(class_getName(class_getSuperclass(h.leaf)), class_getName(h.middle));
    EXPECT_EQ(objc_getClass(class_getName(h.leaf)), h.leaf);
    EXPECT_EQ(objc_getClass("NoSuchClassAnywhere"), nullptr);
}

TEST(Runtime_Selectors, AreInterned)
{
    EXPECT_EQ(sel_registerName("tapGesture:"), "tapGesture:"_sel);
    EXPECT_NE("tapGesture:"_sel, "tapGesture"_sel);
    EXPECT_STREQ(sel_getName("updateMedia"_sel), "updateMedia");
}

TEST(Runtime_EncodingCheck, EncodingsFollowTheCallsTypes)
{
    EXPECT_EQ((objc::methodEncoding<void, id>()), "v@:@");
    EXPECT_EQ((objc::methodEncoding<id>()), "@@:");
    EXPECT_EQ((objc::methodEncoding<void, id, double, unsigned long long, id>()), "v@:@dQ@");
    EXPECT_EQ((objc::methodEncoding<bool, SEL, float, int, long>()), "B@::fiq");
    EXPECT_EQ(objc::normalizeEncoding("v24@0:8@16"), "v@:@");
    EXPECT_EQ(objc::normalizeEncoding("Vv@:r^v"), "v@:^v");
}

using Runtime_EncodingCheckDeathTest = ::testing::Test;

TEST_F(Runtime_EncodingCheckDeathTest, UnknownSelectorStopsWithClassAndSelector)
{
    auto h = makeHierarchy();
    auto object = objc::createInstance(h.leaf);
    std::string expected = std::string("-\\[") + class_getName(h.leaf) + " frobnicate:\\]: unrecognized selector";
    EXPECT_DEATH(objc_msgSend(object.get(), "frobnicate:"_sel, object.get()), expected);
}

TEST_F(Runtime_EncodingCheckDeathTest, MismatchedEncodingNamesBothEncodings)
{
    auto h = makeHierarchy();
    objc::addMethod(h.base, "setValue:", &setValue);
    auto object = objc::createInstance(h.leaf);
    objc_msgSend(object.get(), "setValue:"_sel, 7);
    EXPECT_EQ(static_cast<Probe*>(object.get())->value, 7);
    EXPECT_DEATH(objc_msgSend(object.get(), "setValue:"_sel, 7.5), "method has 'v@:i', the message was sent as 'v@:d'");
    EXPECT_DEATH(objc_msgSend<int>(object.get(), "setValue:"_sel, 7), "the message was sent as 'i@:i'");
}

TEST(Runtime_MethodAdd, KeepsAnOwnMethodButOverridesAnInheritedOne)
{
    auto h = makeHierarchy();
    EXPECT_TRUE(class_addMethod(h.base, "answer"_sel, reinterpret_cast<IMP>(&baseAnswer), "i@:"));
    EXPECT_FALSE(class_addMethod(h.base, "answer"_sel, reinterpret_cast<IMP>(&replacementAnswer), "i@:"));
    auto base = objc::createInstance(h.base);
    EXPECT_EQ(objc_msgSend<int>(base.get(), "answer"_sel), 1) << "an existing own method stays";

    EXPECT_TRUE(class_addMethod(h.leaf, "answer"_sel, reinterpret_cast<IMP>(&replacementAnswer), "i@:"));
    auto leaf = objc::createInstance(h.leaf);
    auto middle = objc::createInstance(h.middle);
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 3);
    EXPECT_EQ(objc_msgSend<int>(middle.get(), "answer"_sel), 1);
}

namespace {
using AnswerIMP = int (*)(id, SEL);
AnswerIMP savedAnswer;
int hookedAnswer(id self, SEL cmd) { return 100 + savedAnswer(self, cmd); }
} // namespace

TEST(Runtime_MethodReplace, ReturnsPreviousImplementationAndCallsThrough)
{
    auto h = makeHierarchy();
    objc::addMethod(h.base, "answer", &baseAnswer);
    auto base = objc::createInstance(h.base);
    auto leaf = objc::createInstance(h.leaf);
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 1); // warm the cache

    MSHookMessageEx(h.base, "answer"_sel, reinterpret_cast<IMP>(&hookedAnswer), reinterpret_cast<IMP*>(&savedAnswer));
    EXPECT_EQ(savedAnswer, &baseAnswer);
    EXPECT_EQ(objc_msgSend<int>(base.get(), "answer"_sel), 101);
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 101) << "a subclass that inherits the method sees the hook";
}

TEST(Runtime_MethodReplace, HookingAnInheritedMethodLeavesTheSuperclassAlone)
{
    auto h = makeHierarchy();
    objc::addMethod(h.base, "answer", &baseAnswer);
    objc::addMethod(h.leaf, "answer", &middleAnswer); // the leaf overrides
    auto base = objc::createInstance(h.base);
    auto middle = objc::createInstance(h.middle);
    auto leaf = objc::createInstance(h.leaf);

    MSHookMessageEx(h.middle, "answer"_sel, reinterpret_cast<IMP>(&hookedAnswer), reinterpret_cast<IMP*>(&savedAnswer));
    EXPECT_EQ(savedAnswer, &baseAnswer) << "the inherited implementation is handed back";
    EXPECT_EQ(objc_msgSend<int>(middle.get(), "answer"_sel), 101);
    EXPECT_EQ(objc_msgSend<int>(base.get(), "answer"_sel), 1);
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 2) << "an overriding subclass keeps its own";
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(h.middle, "answer"_sel)), "i@:");
}

TEST(Runtime_MethodReplace, ModificationsAreRecordedInOrder)
{
    auto h = makeHierarchy();
    objc::addMethod(h.base, "answer", &baseAnswer);
    objc::beginRecordingModifications();
    MSHookMessageEx(h.middle, "answer"_sel, reinterpret_cast<IMP>(&hookedAnswer), reinterpret_cast<IMP*>(&savedAnswer));
    class_addMethod(h.middle, "other:"_sel, reinterpret_cast<IMP>(&setValue), "v@:i");
    class_addMethod(h.middle, "other:"_sel, reinterpret_cast<IMP>(&setValue), "v@:i");
    const auto& log = objc::recordedModifications();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].kind, objc::Modification::Kind::ReplaceMethod);
    EXPECT_EQ(log[0].selector, "answer");
    EXPECT_EQ(log[0].types, "i@:");
    EXPECT_EQ(log[1].kind, objc::Modification::Kind::AddMethod);
    EXPECT_TRUE(log[1].succeeded);
    EXPECT_FALSE(log[2].succeeded);
}

namespace {
int categoryAnswer(id, SEL) { return 4; }
int superAnswer(id self, SEL cmd);
Class superAnswerFrom;
int superAnswer(id self, SEL cmd) { return 10 + objc_msgSendSuper<int>(superAnswerFrom, self, cmd); }
} // namespace

// Every kind of change to a method table after sends have been cached: each must be
// seen by the next send, from the class changed and from every subclass.
TEST(Runtime_MethodCache, EveryChangeReachesCachedSends)
{
    auto h = makeHierarchy();
    objc::addMethod(h.base, "answer", &baseAnswer);
    auto leaf = objc::createInstance(h.leaf);
    auto middle = objc::createInstance(h.middle);
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 1);
    EXPECT_EQ(objc_msgSend<int>(middle.get(), "answer"_sel), 1);

    // A category replaces the base's own method.
    objc::attachCategoryMethod(h.base, "answer"_sel, reinterpret_cast<IMP>(&categoryAnswer), "i@:");
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 4) << "a category on a superclass";

    // class_replaceMethod on the class that defines it.
    class_replaceMethod(h.base, "answer"_sel, reinterpret_cast<IMP>(&replacementAnswer), "i@:");
    EXPECT_EQ(objc_msgSend<int>(middle.get(), "answer"_sel), 3) << "a replaced implementation";

    // class_addMethod overriding in between.
    objc::addMethod(h.middle, "answer", &middleAnswer);
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 2) << "an override added to the middle class";
    EXPECT_EQ(objc_msgSend<int>(middle.get(), "answer"_sel), 2);
}

TEST(Runtime_MethodCache, SuperSendsSeeHooksOnTheSuperclass)
{
    auto h = makeHierarchy();
    objc::addMethod(h.base, "answer", &baseAnswer);
    objc::addMethod(h.leaf, "answer", &superAnswer);
    superAnswerFrom = h.middle;
    auto leaf = objc::createInstance(h.leaf);
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 11);

    MSHookMessageEx(h.middle, "answer"_sel, reinterpret_cast<IMP>(&hookedAnswer), reinterpret_cast<IMP*>(&savedAnswer));
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 111) << "[super answer] reaches the hook installed after it was cached";
}

// Enough selectors on one class to make its cache grow several times, each still
// answered by its own method, before and after a change empties the caches.
TEST(Runtime_MethodCache, ManySelectorsKeepTheirOwnAnswers)
{
    auto h = makeHierarchy();
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i)
        names.push_back(uniqueName("selector"));
    for (std::size_t i = 0; i < names.size(); ++i) {
        class_addMethod(i % 2 ? h.base : h.middle, sel_registerName(names[i].c_str()),
            reinterpret_cast<IMP>(i % 3 ? &baseAnswer : &middleAnswer), "i@:");
    }
    auto leaf = objc::createInstance(h.leaf);
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(objc_msgSend<int>(leaf.get(), sel_registerName(names[i].c_str())), i % 3 ? 1 : 2) << names[i];
        objc::addMethod(h.base, uniqueName("unrelated").c_str(), &baseAnswer);
    }
}

using Runtime_MethodCacheDeathTest = ::testing::Test;

// The type check is made once per (class, selector, signature) and cached with it: a
// send of another signature to a cached method is still checked.
TEST_F(Runtime_MethodCacheDeathTest, ACachedMethodStillRefusesAnotherSignature)
{
    auto h = makeHierarchy();
    objc::addMethod(h.base, "answer", &baseAnswer);
    auto leaf = objc::createInstance(h.leaf);
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 1);
    EXPECT_DEATH(objc_msgSend<double>(leaf.get(), "answer"_sel), "method has 'i@:', the message was sent as 'd@:'");
    // And the signature that passed still runs from the cache afterwards.
    EXPECT_EQ(objc_msgSend<int>(leaf.get(), "answer"_sel), 1);
}

TEST(Runtime_Selectors, ALiteralIsTheRegisteredSelectorWhereverItIsWritten)
{
    auto fromOneCallSite = [] { return "literalSelector:"_sel; };
    auto fromAnother = [] { return "literalSelector:"_sel; };
    EXPECT_EQ(fromOneCallSite(), fromAnother());
    EXPECT_EQ(fromOneCallSite(), sel_registerName("literalSelector:"));
    EXPECT_EQ(fromOneCallSite(), fromOneCallSite());
}

TEST(Runtime_References, StrongAndWeakPointers)
{
    auto h = makeHierarchy();
    Probe::destroyed = 0;
    WeakPtr<objc::Object> weak;
    {
        RefPtr<objc::Object> strong = objc::createInstance(h.base);
        weak = strong;
        RefPtr<objc::Object> second = strong;
        EXPECT_EQ(strong->retainCount(), 2u);
        EXPECT_EQ(weak.get(), strong.get());
        second = nullptr;
        EXPECT_EQ(strong->retainCount(), 1u);
    }
    EXPECT_EQ(Probe::destroyed, 1);
    EXPECT_EQ(weak.get(), nullptr);
    EXPECT_FALSE(weak.strong());
}

namespace {
// An object whose death reads a weak pointer to itself: it must already read null.
class SelfObserver : public objc::Object {
public:
    ~SelfObserver() override { sawSelf = self.get() != nullptr; }
    WeakPtr<objc::Object> self;
    static inline bool sawSelf = true;
};
} // namespace

TEST(Runtime_References, WeakPointerReadsNullWhileTheObjectDies)
{
    Class cls = objc::defineClass<SelfObserver>(uniqueName("SelfObserver").c_str(), nullptr);
    auto object = objc::make<SelfObserver>(cls);
    object->self = object.get();
    object = nullptr;
    EXPECT_FALSE(SelfObserver::sawSelf);
}

namespace {
const char keyA = 0;
const char keyB = 0;
} // namespace

TEST(Runtime_Associations, RetainPolicyKeepsTheValueUntilReplacedOrTheOwnerDies)
{
    auto h = makeHierarchy();
    Probe::destroyed = 0;
    auto owner = objc::createInstance(h.base);
    {
        auto value = objc::createInstance(h.base);
        objc_setAssociatedObject(owner.get(), &keyA, value.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
        EXPECT_EQ(value->retainCount(), 2u);
    }
    EXPECT_EQ(Probe::destroyed, 0);
    EXPECT_NE(objc_getAssociatedObject(owner.get(), &keyA), nil);
    EXPECT_EQ(objc_getAssociatedObject(owner.get(), &keyB), nil) << "a key never set reads nil";

    auto replacement = objc::createInstance(h.base);
    objc_setAssociatedObject(owner.get(), &keyA, replacement.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    EXPECT_EQ(Probe::destroyed, 1) << "replacing releases the old value";
    EXPECT_EQ(objc_getAssociatedObject(owner.get(), &keyA), replacement.get());

    WeakPtr<objc::Object> weakReplacement = replacement;
    replacement = nullptr;
    EXPECT_TRUE(weakReplacement.get());
    owner = nullptr;
    EXPECT_FALSE(weakReplacement.get()) << "associations end with their owner";
    EXPECT_EQ(Probe::destroyed, 3);
}

TEST(Runtime_Associations, AssignPolicyDoesNotRetainAndNilRemoves)
{
    auto h = makeHierarchy();
    auto owner = objc::createInstance(h.base);
    auto value = objc::createInstance(h.base);
    objc_setAssociatedObject(owner.get(), &keyA, value.get(), OBJC_ASSOCIATION_ASSIGN);
    EXPECT_EQ(value->retainCount(), 1u);
    EXPECT_EQ(objc_getAssociatedObject(owner.get(), &keyA), value.get());
    objc_setAssociatedObject(owner.get(), &keyB, value.get(), OBJC_ASSOCIATION_RETAIN);
    objc_setAssociatedObject(owner.get(), &keyB, nil, OBJC_ASSOCIATION_RETAIN);
    EXPECT_EQ(objc_getAssociatedObject(owner.get(), &keyB), nil);
    EXPECT_EQ(value->retainCount(), 1u);
}

namespace {
// A value whose death sets an association on another object: the release must happen
// after the table entry is gone (objc4's association test covers the same).
class Reentrant : public objc::Object {
public:
    ~Reentrant() override
    {
        if (target)
            objc_setAssociatedObject(target, &keyB, target, OBJC_ASSOCIATION_ASSIGN);
    }
    id target = nullptr;
};
} // namespace

TEST(Runtime_Associations, ReleasingAValueMaySetAssociationsAgain)
{
    Class cls = objc::defineClass<Reentrant>(uniqueName("Reentrant").c_str(), nullptr);
    auto h = makeHierarchy();
    auto owner = objc::createInstance(h.base);
    {
        auto value = objc::make<Reentrant>(cls);
        value->target = owner.get();
        objc_setAssociatedObject(owner.get(), &keyA, value.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    }
    objc_setAssociatedObject(owner.get(), &keyA, nil, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    EXPECT_EQ(objc_getAssociatedObject(owner.get(), &keyA), nil);
    EXPECT_EQ(objc_getAssociatedObject(owner.get(), &keyB), owner.get());
}

TEST(Runtime_Autorelease, PoolReleasesWhatWasAutoreleasedInIt)
{
    auto h = makeHierarchy();
    WeakPtr<objc::Object> weak;
    {
        objc::AutoreleasePool pool;
        auto object = objc::createInstance(h.base);
        weak = object;
        objc_autorelease(object.leakRef());
        EXPECT_TRUE(weak.get());
    }
    EXPECT_FALSE(weak.get());
}

// A process has the classes of the frameworks it links: a tool that decodes and draws
// images has Foundation's and UIKit's, not SpringBoard's, Cephei's or the Settings app's;
// asking for every framework later adds those, and nothing is registered twice (the
// runtime stops the process on a class name taken). In a process of its own, since
// classes live for the whole process.
TEST(Runtime_Registration, AToolHasFoundationAndUIKitAloneUntilItAsksForTheRest)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            platform::registerClasses(platform::Frameworks::UIKit);
            bool tool = objc_getClass("NSString") && objc_getClass("UIImage") && objc_getClass("UIColor") && !objc_getClass("SBHomeGrabberView")
                && !objc_getClass("HBPreferences") && !objc_getClass("PSListController");
            platform::registerClasses(platform::Frameworks::UIKit);
            platform::registerClasses();
            bool all = objc_getClass("SBHomeGrabberView") && objc_getClass("HBPreferences") && objc_getClass("PSListController");
            platform::registerClasses();
            // What the frameworks registered is no tweak's change.
            std::_Exit(tool && all && objc::recordedModifications().empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
