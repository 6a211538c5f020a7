// Class methods, +alloc and blocks go through the runtime: a hook on the metaclass is what
// the C++ API answers with, as a tweak's hook on a phone would be.

#include "UIKitTestSupport.h"

#include "Foundation/NSNumber.h"
#include "Foundation/RunLoop.h"
#include "UIKit/UIColor.h"
#include "UIKit/UILabel.h"
#include "substrate/substrate.h"

using namespace uikit_test;

namespace {

using ColorWithRed = id (*)(Class, SEL, CGFloat, CGFloat, CGFloat, CGFloat);
ColorWithRed s_originalColorWithRed = nullptr;

// Swaps red and blue, so a colour made through the hook is told apart by its components.
id swappedColorWithRed(Class cls, SEL sel, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    return s_originalColorWithRed(cls, sel, blue, green, red, alpha);
}

using Alloc = id (*)(Class, SEL);
Alloc s_originalAlloc = nullptr;
std::vector<std::string> s_allocated;

id countingAlloc(Class cls, SEL sel)
{
    s_allocated.push_back(class_getName(cls));
    return s_originalAlloc(cls, sel);
}

using GetRed = bool (*)(id, SEL, CGFloat*, CGFloat*, CGFloat*, CGFloat*);
GetRed s_originalGetRed = nullptr;

bool greyGetRed(id self, SEL sel, CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha)
{
    bool answered = s_originalGetRed(self, sel, red, green, blue, alpha);
    *red = *green = *blue = 0.5;
    return answered;
}

using AnimateWithDuration = void (*)(Class, SEL, double, objc::BlockObject*);
AnimateWithDuration s_originalAnimate = nullptr;
double s_lastDuration = -1;

void recordingAnimate(Class cls, SEL sel, double duration, objc::BlockObject* animations)
{
    s_lastDuration = duration;
    s_originalAnimate(cls, sel, duration, animations);
}

} // namespace

class Runtime_ClassMessages : public UIKitTest { };

TEST_F(Runtime_ClassMessages, AHookOnAClassMethodIsWhatTheConstructorAnswers)
{
    MSHookMessageEx(objc_getMetaClass("UIColor"), "colorWithRed:green:blue:alpha:"_sel,
        reinterpret_cast<IMP>(&swappedColorWithRed), reinterpret_cast<IMP*>(&s_originalColorWithRed));
    ASSERT_TRUE(s_originalColorWithRed) << "the class method exists to be hooked";
    auto colour = UIColor::colorWithRed(1, 0.25, 0, 1);
    MSHookMessageEx(objc_getMetaClass("UIColor"), "colorWithRed:green:blue:alpha:"_sel, reinterpret_cast<IMP>(s_originalColorWithRed), nullptr);

    UIColorComponents components = colour->components();
    EXPECT_EQ(components.red, 0);
    EXPECT_EQ(components.green, 0.25);
    EXPECT_EQ(components.blue, 1);
    EXPECT_EQ(colour->retainCount(), 1u) << "the autoreleased colour belongs to the caller alone";
}

TEST_F(Runtime_ClassMessages, AllocIsSentToTheClassAndGivesAnInstanceOfTheReceiver)
{
    // Hooked on UIView's metaclass: UIView and its subclasses, not other classes.
    MSHookMessageEx(objc_getMetaClass("UIView"), "alloc"_sel, reinterpret_cast<IMP>(&countingAlloc), reinterpret_cast<IMP*>(&s_originalAlloc));
    ASSERT_TRUE(s_originalAlloc);
    s_allocated.clear();
    auto view = UIView::alloc();
    auto label = UILabel::alloc();
    auto colour = UIColor::whiteColor();
    MSHookMessageEx(objc_getMetaClass("UIView"), "alloc"_sel, reinterpret_cast<IMP>(s_originalAlloc), nullptr);

    EXPECT_EQ(s_allocated, (std::vector<std::string> { "UIView", "UILabel" }));
    EXPECT_EQ(object_getClass(label.get()), UILabel::staticClass());
    EXPECT_EQ(view->retainCount(), 1u) << "+alloc hands over one reference, which the caller adopts";

    // A class made at run time inherits +alloc and gets instances of itself.
    Class subclass = objc::registerClass("ClassMessagesView", UIView::staticClass(), nullptr);
    auto instance = objc::adoptRef(objc_msgSend<id>(subclass, "alloc"_sel));
    EXPECT_EQ(object_getClass(instance.get()), subclass);
    EXPECT_TRUE(objc_cast<UIView>(instance.get()));
}

TEST_F(Runtime_ClassMessages, AHookOnGetRedIsWhatTheComponentsReadAnswer)
{
    MSHookMessageEx(UIColor::staticClass(), "getRed:green:blue:alpha:"_sel, reinterpret_cast<IMP>(&greyGetRed), reinterpret_cast<IMP*>(&s_originalGetRed));
    ASSERT_TRUE(s_originalGetRed);
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    bool answered = UIColor::blackColor()->getRed(&red, &green, &blue, &alpha);
    MSHookMessageEx(UIColor::staticClass(), "getRed:green:blue:alpha:"_sel, reinterpret_cast<IMP>(s_originalGetRed), nullptr);

    EXPECT_TRUE(answered);
    EXPECT_EQ(red, 0.5);
    EXPECT_EQ(blue, 0.5);
    EXPECT_EQ(alpha, 1);
}

TEST_F(Runtime_ClassMessages, AnimationBlocksCrossTheRuntimeAsBlocks)
{
    MSHookMessageEx(objc_getMetaClass("UIView"), "animateWithDuration:animations:"_sel, reinterpret_cast<IMP>(&recordingAnimate), reinterpret_cast<IMP*>(&s_originalAnimate));
    ASSERT_TRUE(s_originalAnimate);
    auto view = makeView();
    s_lastDuration = -1;
    UIView::animateWithDuration(0.3, [&] { view->setAlpha(0.5); });
    MSHookMessageEx(objc_getMetaClass("UIView"), "animateWithDuration:animations:"_sel, reinterpret_cast<IMP>(s_originalAnimate), nullptr);

    EXPECT_EQ(s_lastDuration, 0.3);
    EXPECT_EQ(view->alpha(), 0.5) << "the hook called through, and the block ran";
    Method method = class_getInstanceMethod(objc_getMetaClass("UIView"), "animateWithDuration:animations:completion:"_sel);
    ASSERT_TRUE(method);
    EXPECT_STREQ(method_getTypeEncoding(method), "v@:d@?@?");
}

using Runtime_ClassMessagesDeathTest = Runtime_ClassMessages;

TEST_F(Runtime_ClassMessagesDeathTest, ABlockOfAnotherSignatureStopsTheProcess)
{
    auto wrong = objc::Block<void(bool)>::create([](bool) { });
    EXPECT_DEATH((objc_sendToClass<"UIView", "animateWithDuration:animations:">(0.1, wrong.get())), "block of the wrong signature");
}

TEST_F(Runtime_ClassMessages, ConvenienceConstructorsLiveAsLongAsTheCallerHoldsThem)
{
    // No pool is open here: the constructor's autorelease ends inside the call.
    objc::WeakPtr<NSNumber> weak;
    {
        auto number = NSNumber::numberWithDouble(2.5);
        weak = number.get();
        EXPECT_EQ(number->doubleValue(), 2.5);
    }
    EXPECT_FALSE(weak.get());
}
