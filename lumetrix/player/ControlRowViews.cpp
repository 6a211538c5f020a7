#include "ControlRowViews.h"

#include "PlayerGeometry.h"
#include "PlayerProperties.h"
#include "startup/Globals.h"

#include "MaterialKit/MTMaterialView.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageSymbolConfiguration.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UILayoutGuide.h"
#include "UIKit/NSLayoutConstraint.h"
#include "UIKit/UIView.h"

#include <numbers>

namespace lumetrix {

namespace {

// A hair below 0.9: the label backdrop's exact alpha.
constexpr CGFloat kLabelBackdropAlpha = 0.8999999999976568;
constexpr UIViewAutoresizing kFlexibleWidthAndHeight = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;

objc::RefPtr<MTMaterialView> makeBackdrop(CGRect frame, CGFloat alpha)
{
    auto material = MTMaterialView::materialViewWithRecipe(2, 1, 5.0);
    material->setFrame(frame);
    material->setAutoresizingMask(kFlexibleWidthAndHeight);
    material->setAlpha(alpha);
    return material;
}

objc::RefPtr<UIView> makeRoundedClearView()
{
    auto view = UIView::alloc();
    view->initWithFrame(CGRectZero);
    view->setBackgroundColor(UIColor::clearColor());
    view->layer()->setCornerRadius(kControlCornerRadius);
    view->layer()->setMasksToBounds(true);
    return view;
}

// A glyph, 5 x 5 points, centred on the row's safe area and moved sideways by `offset`;
// the 13-point symbol overflows that frame, centred on it.
void placeGlyph(UIImageView* glyph, UIView* row, CGFloat offset)
{
    NSLayoutConstraint::activateConstraints({
        glyph->centerYAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->centerYAnchor(), iconConstant),
        glyph->centerXAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->centerXAnchor(), offset),
        glyph->widthAnchor()->constraintEqualToConstant(kGlyphFrame),
        glyph->heightAnchor()->constraintEqualToConstant(kGlyphFrame),
    });
}

objc::RefPtr<UIImageView> makeGlyph(const char* symbol, UIImageSymbolConfiguration* configuration)
{
    auto glyph = UIImageView::alloc();
    glyph->initWithFrame(CGRectZero);
    glyph->setImage(UIImage::systemImageNamed(symbol, configuration));
    glyph->setContentMode(UIViewContentModeCenter);
    glyph->setTintColor(UIColor::labelColor());
    glyph->setTranslatesAutoresizingMaskIntoConstraints(false);
    return glyph;
}

// The row: a rounded, blurred strip under the safe area, in front of the host's views.
objc::RefPtr<UIView> buildRow(id host, UIView* view, HideRow hideRow)
{
    auto row = makeRoundedClearView();
    setProperty<"setSubView:">(host, row.get());
    row->setUserInteractionEnabled(true);
    if (hideRow == HideRow::AtCreation && !alwaysshow)
        row->setHidden(true);
    auto rowBackdrop = makeBackdrop(row->bounds(), 1.0);
    row->addSubview(rowBackdrop.get());
    row->setTranslatesAutoresizingMaskIntoConstraints(false);
    view->addSubview(row.get());
    view->bringSubviewToFront(row.get());
    NSLayoutConstraint::activateConstraints({
        row->topAnchor()->constraintEqualToAnchor(view->safeAreaLayoutGuide()->bottomAnchor(), bottomConstant),
        row->centerXAnchor()->constraintEqualToAnchor(view->safeAreaLayoutGuide()->centerXAnchor(), 0),
        row->widthAnchor()->constraintEqualToConstant(kControlRowWidth),
        row->heightAnchor()->constraintEqualToConstant(kControlRowHeight),
    });
    return row;
}

// The glyphs: previous (the forward glyph turned by half a turn), next, play/pause.
void buildGlyphs(id host, UIView* row)
{
    auto configuration = UIImageSymbolConfiguration::configurationWithPointSize(kGlyphPointSize);

    auto previous = UIImageView::alloc();
    previous->initWithFrame(CGRectZero);
    setProperty<"setPreviousicon:">(host, previous.get());
    previous->setTransform(CGAffineTransformMakeRotation(std::numbers::pi));
    previous->setImage(UIImage::systemImageNamed("forward.fill", configuration.get()));
    previous->setContentMode(UIViewContentModeCenter);
    previous->setTintColor(UIColor::labelColor());
    previous->setTranslatesAutoresizingMaskIntoConstraints(false);
    previous->setUserInteractionEnabled(true);
    row->addSubview(previous.get());
    placeGlyph(previous.get(), row, -kGlyphSpacing);

    auto next = makeGlyph("forward.fill", configuration.get());
    row->addSubview(next.get());
    placeGlyph(next.get(), row, kGlyphSpacing);

    auto playPause = makeGlyph("play.fill", configuration.get());
    setProperty<"setPauseicon:">(host, playPause.get());
    row->addSubview(playPause.get());
    placeGlyph(playPause.get(), row, 0.0);
}

// The title above the row and its backdrop, whose blur is kept only with `songtitlebg`.
void buildTitle(id host, UIView* view, UIView* row)
{
    auto backdrop = makeRoundedClearView();
    setProperty<"setLabelbg:">(host, backdrop.get());
    auto labelBackdrop = makeBackdrop(row->bounds(), kLabelBackdropAlpha);
    if (songtitlebg)
        backdrop->addSubview(labelBackdrop.get());
    backdrop->setTranslatesAutoresizingMaskIntoConstraints(false);
    view->addSubview(backdrop.get());
    NSLayoutConstraint::activateConstraints({
        backdrop->topAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->topAnchor(), kTitleAboveRow),
        backdrop->centerXAnchor()->constraintEqualToAnchor(view->safeAreaLayoutGuide()->centerXAnchor(), 0),
        backdrop->widthAnchor()->constraintEqualToConstant(kTitleWidth),
        backdrop->heightAnchor()->constraintEqualToConstant(kTitleHeight),
    });

    // The label: no text until the first now-playing update.
    auto title = UILabel::alloc();
    title->initWithFrame(CGRectZero);
    setProperty<"setLabel:">(host, title.get());
    title->setLineBreakMode(NSLineBreakByWordWrapping);
    title->setBackgroundColor(UIColor::clearColor());
    title->setFont(UIFont::systemFontOfSize(kTitleFontSize));
    title->setTranslatesAutoresizingMaskIntoConstraints(false);
    title->setMarqueeEnabled(true);
    title->setMarqueeRunning(true);
    if (!alwaysshow) {
        title->setHidden(true);
        backdrop->setHidden(true);
    }
    title->_startMarqueeIfNecessary();
    backdrop->addSubview(title.get());
    NSLayoutConstraint::activateConstraints({
        title->centerYAnchor()->constraintEqualToAnchor(backdrop->safeAreaLayoutGuide()->centerYAnchor(), 0.0),
        title->centerXAnchor()->constraintEqualToAnchor(backdrop->safeAreaLayoutGuide()->centerXAnchor(), 0.0),
        title->widthAnchor()->constraintEqualToConstant(kTitleWidth),
        title->heightAnchor()->constraintEqualToConstant(kTitleHeight),
    });
}

} // namespace

void buildControlRow(id host, UIView* view, HideRow hideRow)
{
    auto row = buildRow(host, view, hideRow);
    buildGlyphs(host, row.get());
    buildTitle(host, view, row.get());
}

} // namespace lumetrix
