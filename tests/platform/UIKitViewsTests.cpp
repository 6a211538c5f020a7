#include "AudioToolbox/AudioServices.h"
#include "MaterialKit/MTMaterialView.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"
#include "Foundation/NSString.h"
#include "UIKit/UIScreen.h"
#include "UIKitTestSupport.h"

#include <cmath>
#include <limits>

using namespace uikit_test;

using UIKit_Views = UIKitTest;

TEST_F(UIKit_Views, ProgressIsPinnedWhenSet)
{
    auto strip = UIProgressView::alloc();
    strip->initWithProgressViewStyle(UIProgressViewStyleBar);
    EXPECT_EQ(strip->progressViewStyle(), UIProgressViewStyleBar);
    EXPECT_EQ(strip->progress(), 0.0f);
    const std::pair<float, float> cases[] = {
        { 0.05f, 0.05f },
        { 100.0f, 1.0f },
        { 1.0f, 1.0f },
        { -0.5f, 0.0f },
        { std::numeric_limits<float>::infinity(), 1.0f },
        { std::numeric_limits<float>::quiet_NaN(), 0.0f },
    };
    for (auto [set, shown] : cases) {
        strip->setProgress(set);
        EXPECT_EQ(strip->progress(), shown) << "set " << set;
    }
    strip->setProgress(1.5f, true);
    EXPECT_EQ(strip->progress(), 1.0f);
    EXPECT_EQ(UIProgressView::alloc()->initWithProgressViewStyle(UIProgressViewStyleDefault)->progressViewStyle(), UIProgressViewStyleDefault);
}

TEST_F(UIKit_Views, LabelColourFollowsTheAppearanceAndNamedColoursKeepTheirNames)
{
    auto label = UIColor::labelColor();
    CGFloat r = -1, g = -1, b = -1, a = -1;
    ASSERT_TRUE(label->getRed(&r, &g, &b, &a));
    EXPECT_EQ(r + g + b, 0);
    EXPECT_EQ(a, 1);
    UIKitSetCurrentUserInterfaceStyle(UIUserInterfaceStyle::Dark);
    label->getRed(&r, &g, &b, &a);
    EXPECT_EQ(r + g + b, 3) << "the same colour object reads white in the dark";
    EXPECT_EQ(label->jsonValue(), (nlohmann::json { { "rgba", { 1.0, 1.0, 1.0, 1.0 } }, { "name", "labelColor" } }));
    UIKitSetCurrentUserInterfaceStyle(UIUserInterfaceStyle::Light);

    EXPECT_EQ(UIColor::clearColor()->jsonValue(), (nlohmann::json { { "rgba", { 0.0, 0.0, 0.0, 0.0 } }, { "name", "clearColor" } }));
    EXPECT_EQ(UIColor::whiteColor()->jsonValue()["name"], "whiteColor");
    EXPECT_EQ(UIColor::grayColor()->jsonValue()["rgba"], (nlohmann::json { 0.5, 0.5, 0.5, 1.0 }));
    auto grey = UIColor::colorWithRed(0.69, 0.69, 0.69, 1);
    EXPECT_FALSE(grey->jsonValue().contains("name"));
    EXPECT_TRUE(grey->isEqual(UIColor::colorWithRed(0.69, 0.69, 0.69, 1).get()));
    EXPECT_TRUE(UIColor::colorWithWhite(1, 1)->isEqual(UIColor::whiteColor().get()));
}

TEST_F(UIKit_Views, LabelImageViewAndMaterialKeepWhatTheyWereGiven)
{
    auto label = UILabel::alloc();
    label->initWithFrame(CGRectMake(0, 0, 80, 13));
    EXPECT_EQ(label->lineBreakMode(), NSLineBreakByTruncatingTail);
    EXPECT_EQ(label->font()->pointSize(), 17);
    EXPECT_EQ(label->textColor()->systemName(), "labelColor");
    label->setLineBreakMode(NSLineBreakByWordWrapping);
    label->setFont(UIFont::systemFontOfSize(9).get());
    label->setMarqueeEnabled(true);
    label->setMarqueeRunning(true);
    label->setText("Short");
    label->_startMarqueeIfNecessary();
    EXPECT_FALSE(label->isMarqueeScrolling()) << "text that fits does not scroll";
    label->setText("A Rather Long Song Title - Some Band");
    objc_msgSend(label.get(), "_startMarqueeIfNecessary"_sel);
    EXPECT_TRUE(label->isMarqueeScrolling()) << "wider than 80 points at 9 points a character's 0.55 em";
    objc_msgSend(label.get(), "setMarqueeRunning:"_sel, false);
    EXPECT_FALSE(label->marqueeRunning());
    EXPECT_FALSE(label->isMarqueeScrolling());
    EXPECT_EQ(label->font()->jsonValue(), (nlohmann::json { { "size", 9.0 }, { "bold", false } }));
    EXPECT_TRUE(UIFont::boldSystemFontOfSize(9)->isBold());

    auto glyph = UIImageView::alloc();
    glyph->initWithFrame(CGRectZero);
    glyph->setContentMode(UIViewContentModeCenter);
    glyph->setTintColor(UIColor::labelColor().get());
    EXPECT_EQ(glyph->contentMode(), 4);
    EXPECT_FALSE(glyph->isUserInteractionEnabled()) << "image views take no touches by default";

    auto material = MTMaterialView::materialViewWithRecipe(2, 1, 5.0);
    EXPECT_EQ(material->recipe(), 2);
    EXPECT_EQ(material->configuration(), 1u);
    EXPECT_EQ(material->weighting(), 5.0);
    EXPECT_TRUE(CGRectEqualToRect(material->frame(), CGRectZero));
}

TEST_F(UIKit_Views, ViewDefaultsAndLayerBackedClipping)
{
    auto view = makeView();
    EXPECT_FALSE(view->isHidden());
    EXPECT_EQ(view->alpha(), 1);
    EXPECT_TRUE(view->isUserInteractionEnabled());
    EXPECT_FALSE(view->clipsToBounds());
    EXPECT_TRUE(view->translatesAutoresizingMaskIntoConstraints());
    EXPECT_EQ(view->backgroundColor(), nullptr);
    view->layer()->setMasksToBounds(true);
    EXPECT_TRUE(view->clipsToBounds()) << "one switch, seen from both sides";
    view->layer()->setCornerRadius(7);
    EXPECT_EQ(view->layer(), view->layer());
    EXPECT_EQ(view->layer()->cornerRadius(), 7);
}

TEST_F(UIKit_Views, DeviceProfilesHaveRealGeometry)
{
    struct Case {
        const char* name;
        CGFloat width, height, top, pillWidth;
    } cases[] = {
        { "iPhone X", 375, 812, 44, 134 },
        { "iPhone 13 mini", 375, 812, 50, 134 },
        { "iphone-14", 390, 844, 47, 139 },
        { "iPhone 15 Pro", 393, 852, 59, 140 },
        { "IPHONE 14 PRO MAX", 430, 932, 59, 154 },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        const UIDeviceProfile* profile = UIDeviceProfile::named(c.name);
        ASSERT_NE(profile, nullptr);
        EXPECT_EQ(profile->screenSize.width, c.width);
        EXPECT_EQ(profile->screenSize.height, c.height);
        EXPECT_EQ(profile->safeAreaInsets.top, c.top);
        EXPECT_EQ(profile->safeAreaInsets.bottom, 34);
        CGRect pill = profile->homeIndicatorFrame();
        EXPECT_EQ(pill.size.width, c.pillWidth);
        EXPECT_EQ(pill.size.height, 5);
        EXPECT_EQ(CGRectGetMaxY(pill), c.height - 8);
        EXPECT_EQ(CGRectGetMidX(pill), c.width / 2);
    }
    EXPECT_EQ(UIDeviceProfile::named("iPhone 8"), nullptr) << "no home-button phones";
    EXPECT_EQ(&UIDeviceProfile::all().front(), &UIDeviceProfile::defaultProfile());
    UIDeviceProfile::setCurrent(*UIDeviceProfile::named("iPhone 14 Pro Max"));
    EXPECT_EQ(UIScreen::mainScreen()->bounds().size.width, 430);
}

TEST_F(UIKit_Views, SystemSoundIsAnEvent)
{
    std::vector<nlohmann::json> events;
    platform::setEventSink([&](const nlohmann::json& event) { events.push_back(event); });
    AudioServicesPlaySystemSound(1520);
    platform::setEventSink(nullptr);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], (nlohmann::json { { "type", "sound" }, { "id", 1520 } }));
}

TEST_F(UIKit_Views, GeometryTextForms)
{
    EXPECT_EQ(NSStringFromCGRect(CGRectMake(137.5, 773, 100, -0.0))->string(), "{{137.5, 773}, {100, 0}}");
    EXPECT_EQ(NSStringFromCGPoint(CGPointMake(0.1, -2))->string(), "{0.1, -2}");
    EXPECT_EQ(NSStringFromCGSize(CGSizeMake(375, 812))->string(), "{375, 812}");
}
