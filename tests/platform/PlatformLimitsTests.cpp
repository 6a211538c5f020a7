// What the stand-in does not model stops the process, naming the call, instead of quietly
// doing something simpler: blend modes other than Normal, Copy and Clear, and constraints
// that are not required equalities.

#include "UIKitTestSupport.h"

#include "CoreGraphics/CGBlendModeSupport.h"
#include "UIKit/NSLayoutConstraint.h"
#include "UIKit/NSLayoutDimension.h"
#include "UIKit/NSLayoutXAxisAnchor.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"

#include <memory>

using namespace uikit_test;

class Platform_Limits : public UIKitTest { };

namespace {

objc::RefPtr<UIImage> redPixel()
{
    auto bitmap = std::make_shared<CGImage>();
    bitmap->width = 1;
    bitmap->height = 1;
    bitmap->pixels = { 255, 0, 0, 255 };
    return UIImage::imageWithCGImage(bitmap);
}

} // namespace

TEST_F(Platform_Limits, BlendModesBeyondNormalCopyAndClearStopNamingTheCall)
{
    EXPECT_TRUE(CGBlendModeIsModelled(kCGBlendModeNormal));
    EXPECT_TRUE(CGBlendModeIsModelled(kCGBlendModeCopy));
    EXPECT_TRUE(CGBlendModeIsModelled(kCGBlendModeClear));
    auto image = redPixel();
    UIGraphicsBeginImageContext(CGSizeMake(1, 1));
    CGContextRef context = UIGraphicsGetCurrentContext();
    // The modelled modes draw.
    for (CGBlendMode mode : { kCGBlendModeNormal, kCGBlendModeCopy, kCGBlendModeClear }) {
        CGContextSetBlendMode(context, mode);
        image->drawInRect(CGRectMake(0, 0, 1, 1), mode, 1);
    }
    EXPECT_DEATH(CGContextSetBlendMode(context, kCGBlendModeMultiply), "CGContextSetBlendMode: blend mode 1 \\(Multiply\\) is not modelled");
    EXPECT_DEATH(image->drawInRect(CGRectMake(0, 0, 1, 1), kCGBlendModeScreen, 1), "drawInRect:blendMode:alpha:\\]: blend mode 2 \\(Screen\\) is not modelled");
    EXPECT_DEATH(
        {
            context->setBlendMode(kCGBlendModeSourceAtop);
            CGContextDrawImage(context, CGRectMake(0, 0, 1, 1), image->CGImage());
        },
        "CGContextDrawImage: blend mode 20 \\(SourceAtop\\) is not modelled");
    UIGraphicsEndImageContext();
}

TEST_F(Platform_Limits, ConstraintsOtherThanRequiredEqualitiesStopNamingTheCall)
{
    auto view = makeView();
    auto other = makeView();
    // Equalities work, with a relation said out loud too.
    EXPECT_TRUE(view->widthAnchor()->constraintEqualToConstant(10));
    EXPECT_TRUE(NSLayoutConstraint::constraintWithItem(view.get(), NSLayoutAttributeWidth, NSLayoutRelationEqual, nullptr, NSLayoutAttributeNotAnAttribute, 1, 10));
    auto required = view->leftAnchor()->constraintEqualToAnchor(other->leftAnchor());
    required->setPriority(UILayoutPriorityRequired);
    EXPECT_EQ(required->priority(), UILayoutPriorityRequired);

    EXPECT_DEATH(view->leftAnchor()->constraintGreaterThanOrEqualToAnchor(other->leftAnchor(), 4),
        "-\\[NSLayoutXAxisAnchor constraintGreaterThanOrEqualToAnchor:constant:\\]: an inequality constraint is not modelled");
    EXPECT_DEATH(view->topAnchor()->constraintLessThanOrEqualToAnchor(other->topAnchor()),
        "-\\[NSLayoutYAxisAnchor constraintLessThanOrEqualToAnchor:constant:\\]: an inequality constraint");
    EXPECT_DEATH(view->widthAnchor()->constraintGreaterThanOrEqualToConstant(10),
        "-\\[NSLayoutDimension constraintGreaterThanOrEqualToConstant:\\]: an inequality constraint");
    EXPECT_DEATH(view->heightAnchor()->constraintLessThanOrEqualToConstant(10),
        "-\\[NSLayoutDimension constraintLessThanOrEqualToConstant:\\]: an inequality constraint");
    EXPECT_DEATH(NSLayoutConstraint::constraintWithItem(view.get(), NSLayoutAttributeWidth, NSLayoutRelationGreaterThanOrEqual, nullptr, NSLayoutAttributeNotAnAttribute, 1, 10),
        "constraintWithItem:attribute:relatedBy:toItem:attribute:multiplier:constant:\\]: relation 1");
    EXPECT_DEATH(required->setPriority(750), "-\\[NSLayoutConstraint setPriority:\\]: priority 750");
}
