// Text measured as the renderer sets it: what decides whether a label's marquee scrolls,
// how wide a bar button is and how many lines a footer takes.

#include "UIKitTestSupport.h"

#include "Foundation/NSString.h"
#include "UIKit/NSStringDrawing.h"
#include "UIKit/UIFont.h"
#include "UIKit/UILabel.h"

#include <string>

using namespace uikit_test;

class UIKit_TextMeasurement : public UIKitTest { };

namespace {

CGFloat widthOf(const std::string& text, CGFloat pointSize, UIFontWeight weight = UIFontWeightRegular)
{
    return NSStringSizeWithSystemFont(NSString::create(text).get(), pointSize, weight).width;
}

objc::RefPtr<UILabel> marqueeLabel(const std::string& text)
{
    auto label = UILabel::alloc();
    label->initWithFrame(CGRectMake(0, 0, 80, 13));
    label->setFont(UIFont::systemFontOfSize(9).get());
    label->setMarqueeEnabled(true);
    label->setMarqueeRunning(true);
    label->setText(text);
    label->_startMarqueeIfNecessary();
    return label;
}

} // namespace

TEST_F(UIKit_TextMeasurement, GlyphsHaveTheirOwnWidthsAndTheSizeScales)
{
    CGFloat narrow = widthOf("iiiiiiiiii", 9);
    CGFloat wide = widthOf("WWWWWWWWWW", 9);
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, 2.5 * narrow) << "an i is far narrower than a W";
    // Twice the size, about twice the width (advances are set on whole points, as drawn).
    EXPECT_NEAR(widthOf("Song - Band", 18), 2 * widthOf("Song - Band", 9), 11 * 1.0);
    EXPECT_GT(widthOf("Respring", 17, UIFontWeightSemibold), widthOf("Respring", 17));
    EXPECT_GT(NSStringSizeWithSystemFont(NSString::create("Song").get(), 9).height, 9);
    EXPECT_EQ(NSStringSizeWithSystemFont(nullptr, 9).width, 0);
    EXPECT_EQ(widthOf("", 9), 0);
    // A label's font is measured as itself; no font is the system font of 17 points.
    EXPECT_DOUBLE_EQ(NSStringSizeWithFont(NSString::create("Song").get(), UIFont::boldSystemFontOfSize(9).get()).width, widthOf("Song", 9, UIFontWeightSemibold));
    EXPECT_DOUBLE_EQ(NSStringSizeWithFont(NSString::create("Song").get(), nullptr).width, widthOf("Song", 17));
}

TEST_F(UIKit_TextMeasurement, TheMarqueeScrollsExactlyTheTitlesWiderThanTheLabel)
{
    // Twenty narrow letters fit in 80 points at 9 points; fifteen wide ones do not,
    // whatever their count says.
    EXPECT_FALSE(marqueeLabel(std::string(20, 'i'))->isMarqueeScrolling());
    EXPECT_TRUE(marqueeLabel(std::string(15, 'W'))->isMarqueeScrolling());
    auto label = marqueeLabel("Song - Band");
    EXPECT_LT(label->textWidth(), 80);
    EXPECT_FALSE(label->isMarqueeScrolling());
    label->setText("A Much Longer Title Than Fits - Somebody");
    label->_startMarqueeIfNecessary();
    EXPECT_GT(label->textWidth(), 80);
    EXPECT_TRUE(label->isMarqueeScrolling());
}
