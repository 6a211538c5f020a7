#include "lmxRootListController.h"

#include "HBAppearanceTarn.h"

// The still preview copies the players' look (the pane never links the tweak); its sizes
// come from the tweak's header of numbers, so the two cannot drift apart.
#include "lumetrix/player/PlayerGeometry.h"

#include "Cephei/HBPreferences.h"
#include "CepheiPrefs/HBRespringController.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSURL.h"
#include "UIKit/NSAttributedString.h"
#include "UIKit/NSLayoutConstraint.h"
#include "UIKit/UIBlurEffect.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageSymbolConfiguration.h"
#include "UIKit/UILayoutGuide.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UINavigationItem.h"
#include "UIKit/UITableView.h"
#include "UIKit/UIViewControllerContainment.h"
#include "UIKit/UIVisualEffectView.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <string>
#include <utility>

namespace {

constexpr const char* kLogoPath = "/Library/PreferenceBundles/lumetrixpref.bundle/logo.png";
constexpr const char* kHeaderPath = "/Library/PreferenceBundles/lumetrixpref.bundle/header.png";
constexpr const char* kReturnURL = "prefs:root=Lumetrix";
constexpr const char* kPreferencesIdentifier = "com.orvanta.lumetrix";
constexpr const char* kWidthKey = "barwidth";

using lumetrix::kGlyphFrame;
using lumetrix::kGlyphPointSize;
using lumetrix::kGlyphSpacing;
constexpr UIViewAutoresizing kFlexibleWidthAndHeight = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;

Class superclass()
{
    return HBRootListController::staticClass();
}

objc::RefPtr<UIView> makeView(CGRect frame)
{
    auto view = UIView::alloc();
    view->initWithFrame(frame);
    return view;
}

objc::RefPtr<UIView> makeRoundedClearView()
{
    auto view = makeView(CGRectZero);
    view->setBackgroundColor(UIColor::clearColor());
    view->layer()->setCornerRadius(lumetrix::kControlCornerRadius);
    view->layer()->setMasksToBounds(true);
    return view;
}

// A 5 x 5 glyph frame centred on the row, moved sideways by `offset`; the 13-point
// symbol overflows it, centred.
objc::RefPtr<UIImageView> addGlyph(UIView* row, const char* symbol, CGFloat offset, bool pointsBackwards)
{
    auto glyph = UIImageView::alloc();
    glyph->initWithFrame(CGRectZero);
    auto configuration = UIImageSymbolConfiguration::configurationWithPointSize(kGlyphPointSize);
    // Turned first, then given its picture: the previous glyph is "forward" upside down.
    if (pointsBackwards)
        glyph->setTransform(CGAffineTransformMakeRotation(std::numbers::pi));
    glyph->setImage(UIImage::systemImageNamed(symbol, configuration.get()));
    glyph->setContentMode(UIViewContentModeCenter);
    glyph->setTintColor(UIColor::labelColor());
    glyph->setTranslatesAutoresizingMaskIntoConstraints(false);
    row->addSubview(glyph.get());
    NSLayoutConstraint::activateConstraints({
        glyph->centerYAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->centerYAnchor(), 0.0),
        glyph->centerXAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->centerXAnchor(), offset),
        glyph->widthAnchor()->constraintEqualToConstant(kGlyphFrame),
        glyph->heightAnchor()->constraintEqualToConstant(kGlyphFrame),
    });
    return glyph;
}

template<typename T, objc::RefPtr<T> lmxRootListController::* member>
struct Property {
    static id get(lmxRootListController* self, SEL) { return (self->*member).get(); }
    static void set(lmxRootListController* self, SEL, id value) { self->*member = objc_cast<T>(value); }
};

} // namespace

// MARK: The list

id lmxRootListController::specifiersImp(lmxRootListController* self, SEL)
{
    if (!self->m_specifiers)
        self->m_specifiers = self->loadSpecifiersFromPlistName(NSString::create("Root").get(), self);
    return self->m_specifiers.get();
}

unsigned long lmxRootListController::largeTitleStyleImp(lmxRootListController*, SEL)
{
    return HBAppearanceSettingsLargeTitleStyleNever;
}

// MARK: Creation: the appearance, the respring button and the title view

id lmxRootListController::initImp(lmxRootListController* self, SEL cmd)
{
    if (!objc_msgSendSuper<id>(superclass(), self, cmd))
        return nullptr;

    auto appearance = objc::createInstance(HBAppearanceTarn::staticClass());
    self->setAppearanceSettings(static_cast<HBAppearanceSettings*>(appearance.get()));

    auto configuration = UIImageSymbolConfiguration::configurationWithPointSize(13.0);
    auto symbol = UIImage::systemImageNamed("arrow.2.circlepath", configuration.get());
    auto button = UIBarButtonItem::alloc();
    button->initWithImage(symbol.get(), UIBarButtonItemStylePlain, self, "respring:"_sel);
    objc_msgSend(self, "setRespringButton:"_sel, static_cast<id>(button.get()));
    objc_msgSend(self->m_respringButton.get(), "setTintColor:"_sel, static_cast<id>(UIColor::whiteColor().get()));
    UIViewControllerContainment::navigationItem(self)->sendSetRightBarButtonItem(self->m_respringButton.get());

    self->buildTitleView();
    return self;
}

void lmxRootListController::buildTitleView()
{
    UINavigationItem* item = UIViewControllerContainment::navigationItem(this);
    auto titleView = UIView::alloc();
    titleView->init();
    item->sendSetTitleView(titleView.get());

    auto label = UILabel::alloc();
    label->initWithFrame(CGRectMake(0, 0, 10, 10));
    objc_msgSend(this, "setTitleLabel:"_sel, static_cast<id>(label.get()));
    label->setFont(UIFont::boldSystemFontOfSize(17.0));
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    label->setText("Lumetrix 14");
    label->setTextColor(UIColor::whiteColor());
    label->setTextAlignment(NSTextAlignmentCenter);
    item->sendTitleView()->addSubview(label.get());

    // The logo is laid out with the label but stays invisible: the name is what shows.
    auto icon = UIImageView::alloc();
    icon->initWithFrame(CGRectMake(0, 0, 10, 10));
    objc_msgSend(this, "setIconView:"_sel, static_cast<id>(icon.get()));
    icon->setContentMode(UIViewContentModeScaleAspectFit);
    icon->setImage(UIImage::imageWithContentsOfFile(NSString::create(kLogoPath).get()));
    icon->setTranslatesAutoresizingMaskIntoConstraints(false);
    icon->setAlpha(0.0);
    item->sendTitleView()->addSubview(icon.get());

    UIView* title = item->sendTitleView();
    NSLayoutConstraint::activateConstraints({
        label->topAnchor()->constraintEqualToAnchor(title->topAnchor()),
        label->leadingAnchor()->constraintEqualToAnchor(title->leadingAnchor()),
        label->trailingAnchor()->constraintEqualToAnchor(title->trailingAnchor()),
        label->bottomAnchor()->constraintEqualToAnchor(title->bottomAnchor()),
        icon->topAnchor()->constraintEqualToAnchor(title->topAnchor()),
        icon->leadingAnchor()->constraintEqualToAnchor(title->leadingAnchor()),
        icon->trailingAnchor()->constraintEqualToAnchor(title->trailingAnchor()),
        icon->bottomAnchor()->constraintEqualToAnchor(title->bottomAnchor()),
    });
}

// MARK: Actions

// After SpringBoard restarts, the Settings app comes back to this pane.
void lmxRootListController::respringImp(lmxRootListController*, SEL, id)
{
    HBRespringController::respringAndReturnTo(NSURL::URLWithString(kReturnURL).get());
}

void lmxRootListController::resetPrefsImp(lmxRootListController* self, SEL)
{
    auto store = HBPreferences::alloc()->initWithIdentifier(NSString::create(kPreferencesIdentifier).get());
    objc_msgSend(store.get(), "removeAllObjects"_sel);
    objc_msgSend(self, "respring:"_sel, static_cast<id>(nullptr));
}

// MARK: Number cells

namespace {

// Why a number typed into a number cell may not be stored, and the short red line the
// cell shows for it.
struct NumberRefusal {
    std::string problem;
    std::string redLine;
};

// The tweak reads these values as floats: seconds the row stays and the strip's width in
// points, neither of which can be negative, and a value beyond a float's range reads as
// infinite. The strip is never wider than the screen it is on (the tweak would draw the
// standard width instead), while 0 stands for that standard width. Text that is no number
// at all is the Preferences framework's to refuse.
std::optional<NumberRefusal> numberRefusal(NSObject* value, PSSpecifier* specifier)
{
    double number = 0;
    std::string typed;
    if (auto text = objc_cast<NSString>(value)) {
        typed = text->string();
        std::size_t first = typed.find_first_not_of(" \t\n");
        std::size_t last = typed.find_last_not_of(" \t\n");
        std::string trimmed = first == std::string::npos ? std::string() : typed.substr(first, last - first + 1);
        char* end = nullptr;
        number = std::strtod(trimmed.c_str(), &end);
        if (trimmed.empty() || end != trimmed.c_str() + trimmed.size())
            return std::nullopt;
    } else if (auto boxed = objc_cast<NSNumber>(value)) {
        number = boxed->doubleValue();
        typed = boxed->description()->string();
    } else {
        return std::nullopt;
    }
    bool isWidth = specifier->stringProperty("key") == kWidthKey;
    double largest = isWidth ? UIScreen::mainScreen()->bounds().size.width : std::numeric_limits<float>::max();
    if (number >= 0 && number <= largest)
        return std::nullopt;
    std::string label = specifier->name() ? specifier->name()->string() : specifier->stringProperty("key");
    char range[160];
    if (isWidth) {
        std::snprintf(range, sizeof range, "from 0 up to the screen's width, %g points (0 gives the standard %g)", largest, lumetrix::kDefaultStripWidth);
    } else {
        std::snprintf(range, sizeof range, "from 0 up to 3.4e38, such as 20 or 2.5");
    }
    std::string redLine = isWidth ? "Wider than the screen, not saved" : "Too large, not saved";
    if (std::isnan(number))
        redLine = PSTableCell::kNotANumber;
    else if (number < 0)
        redLine = "Below 0, not saved";
    return NumberRefusal { "\"" + label + "\" takes a number " + range + "; \"" + typed + "\" is not one, so nothing was saved.", redLine };
}

} // namespace

void lmxRootListController::setPreferenceValueImp(lmxRootListController* self, SEL cmd, id value, id specifierObject)
{
    auto specifier = objc_cast<PSSpecifier>(specifierObject);
    if (specifier && specifier->boolProperty("isNumeric", false)) {
        if (auto refusal = numberRefusal(static_cast<NSObject*>(value), specifier)) {
            self->refuseInput(specifier, refusal->problem, refusal->redLine);
            return;
        }
    }
    objc_msgSendSuper(superclass(), self, cmd, value, specifierObject);
}

// MARK: The header and its still preview

void lmxRootListController::viewDidLoadImp(lmxRootListController* self, SEL cmd)
{
    objc_msgSendSuper(superclass(), self, cmd);
    self->buildPreview();
}

namespace {

// The row: a blurred capsule in the middle of the picture.
objc::RefPtr<UIView> addPreviewRow(UIView* picture, UILayoutGuide* pictureArea)
{
    auto row = makeRoundedClearView();
    auto blur = UIVisualEffectView::alloc();
    blur->initWithEffect(UIBlurEffect::effectWithStyle(UIBlurEffectStyleRegular).get());
    blur->setFrame(row->bounds());
    blur->setAutoresizingMask(kFlexibleWidthAndHeight);
    row->addSubview(blur.get());
    row->setTranslatesAutoresizingMaskIntoConstraints(false);
    picture->addSubview(row.get());
    NSLayoutConstraint::activateConstraints({
        row->centerYAnchor()->constraintEqualToAnchor(pictureArea->centerYAnchor()),
        row->centerXAnchor()->constraintEqualToAnchor(pictureArea->centerXAnchor()),
        row->widthAnchor()->constraintEqualToConstant(lumetrix::kControlRowWidth),
        row->heightAnchor()->constraintEqualToConstant(lumetrix::kControlRowHeight),
    });
    return row;
}

// The glyphs: previous (the forward glyph pointing backwards), next, pause.
void addPreviewGlyphs(UIView* row)
{
    addGlyph(row, "forward.fill", -kGlyphSpacing, true);
    addGlyph(row, "forward.fill", kGlyphSpacing, false);
    addGlyph(row, "pause.fill", 0.0, false);
}

// The caption above the row: no backdrop of its own.
void addPreviewCaption(UIView* picture, UIView* row, UILayoutGuide* pictureArea)
{
    auto caption = makeRoundedClearView();
    caption->setTranslatesAutoresizingMaskIntoConstraints(false);
    picture->addSubview(caption.get());
    NSLayoutConstraint::activateConstraints({
        caption->topAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->topAnchor(), lumetrix::kTitleAboveRow),
        caption->centerXAnchor()->constraintEqualToAnchor(pictureArea->centerXAnchor()),
        caption->widthAnchor()->constraintEqualToConstant(lumetrix::kTitleWidth),
        caption->heightAnchor()->constraintEqualToConstant(lumetrix::kTitleHeight),
    });

    auto captionLabel = UILabel::alloc();
    captionLabel->initWithFrame(CGRectZero);
    captionLabel->setLineBreakMode(NSLineBreakByWordWrapping);
    captionLabel->setBackgroundColor(UIColor::clearColor());
    captionLabel->setText("Lumetrix By Orvanta");
    captionLabel->setFont(UIFont::systemFontOfSize(lumetrix::kTitleFontSize));
    captionLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    captionLabel->setMarqueeEnabled(true);
    captionLabel->setMarqueeRunning(true);
    captionLabel->_startMarqueeIfNecessary();
    caption->addSubview(captionLabel.get());
    NSLayoutConstraint::activateConstraints({
        captionLabel->centerYAnchor()->constraintEqualToAnchor(caption->safeAreaLayoutGuide()->centerYAnchor(), 0.0),
        captionLabel->centerXAnchor()->constraintEqualToAnchor(caption->safeAreaLayoutGuide()->centerXAnchor(), 0.0),
        captionLabel->widthAnchor()->constraintEqualToConstant(lumetrix::kTitleWidth),
        captionLabel->heightAnchor()->constraintEqualToConstant(lumetrix::kTitleHeight),
    });
}

// The strip below the row, three quarters full.
void addPreviewStrip(lmxRootListController* controller, UIView* picture, UIView* row, UILayoutGuide* pictureArea)
{
    auto strip = UIProgressView::alloc();
    strip->initWithProgressViewStyle(UIProgressViewStyleBar);
    objc_msgSend(controller, "setProgressView:"_sel, static_cast<id>(strip.get()));
    strip->setProgress(0.75f);
    strip->layer()->setCornerRadius(lumetrix::kStripCornerRadius);
    strip->layer()->setMasksToBounds(true);
    strip->setClipsToBounds(true);
    strip->setTranslatesAutoresizingMaskIntoConstraints(false);
    strip->setTrackTintColor(UIColor::grayColor());
    strip->setProgressTintColor(UIColor::whiteColor());
    picture->addSubview(strip.get());
    NSLayoutConstraint::activateConstraints({
        strip->centerYAnchor()->constraintEqualToAnchor(row->safeAreaLayoutGuide()->centerYAnchor(), 18.0),
        strip->centerXAnchor()->constraintEqualToAnchor(pictureArea->centerXAnchor()),
        strip->widthAnchor()->constraintEqualToConstant(lumetrix::kDefaultStripWidth),
        strip->heightAnchor()->constraintEqualToConstant(lumetrix::kStripHeight),
    });
}

} // namespace

void lmxRootListController::buildPreview()
{
    auto header = makeView(CGRectMake(0, 0, 200, 200));
    objc_msgSend(this, "setHeaderView:"_sel, static_cast<id>(header.get()));

    // The picture; a missing file leaves it empty and the layout the same.
    auto picture = UIImageView::alloc();
    picture->initWithFrame(CGRectMake(0, 0, 200, 200));
    objc_msgSend(this, "setHeaderImageView:"_sel, static_cast<id>(picture.get()));
    picture->setContentMode(UIViewContentModeScaleAspectFill);
    picture->setImage(UIImage::imageWithContentsOfFile(NSString::create(kHeaderPath).get()));
    picture->setTranslatesAutoresizingMaskIntoConstraints(false);
    header->addSubview(picture.get());
    NSLayoutConstraint::activateConstraints({
        picture->topAnchor()->constraintEqualToAnchor(header->topAnchor()),
        picture->leadingAnchor()->constraintEqualToAnchor(header->leadingAnchor()),
        picture->trailingAnchor()->constraintEqualToAnchor(header->trailingAnchor()),
        picture->bottomAnchor()->constraintEqualToAnchor(header->bottomAnchor()),
    });
    UILayoutGuide* pictureArea = picture->safeAreaLayoutGuide();

    auto row = addPreviewRow(picture.get(), pictureArea);
    addPreviewGlyphs(row.get());
    addPreviewCaption(picture.get(), row.get(), pictureArea);
    addPreviewStrip(this, picture.get(), row.get(), pictureArea);
}

// The header goes in each time the table asks for a cell: the only place it is set.
id lmxRootListController::cellForRowImp(lmxRootListController* self, SEL cmd, id tableView, id indexPath)
{
    objc_msgSend(tableView, "setTableHeaderView:"_sel, static_cast<id>(self->m_headerView.get()));
    return objc_msgSendSuper<id>(superclass(), self, cmd, tableView, indexPath);
}

// MARK: The Settings app's bar

UINavigationBar* lmxRootListController::outerNavigationBar()
{
    UINavigationController* own = UIViewControllerContainment::navigationController(this);
    UINavigationController* outer = own ? UIViewControllerContainment::navigationController(own) : nullptr;
    return outer ? outer->navigationBar() : nullptr;
}

void lmxRootListController::viewWillAppearImp(lmxRootListController* self, SEL cmd, bool animated)
{
    objc_msgSendSuper(superclass(), self, cmd, animated);
    UINavigationBar* bar = self->outerNavigationBar();
    if (!bar)
        return;
    // Appearing again without having gone (a page pushed over this one and popped) keeps
    // the look from before the first appearance.
    if (!self->m_barBeforeAppearing)
        self->m_barBeforeAppearing = BarLook { bar->barTintColor(), bar->shadowImage(), bar->tintColor(), bar->isTranslucent(), bar->titleTextAttributes() };
    objc_msgSend(bar, "setBarTintColor:"_sel, static_cast<id>(UIColor::colorWithRed(0.45, 0.42, 0.75, 1.0).get()));
    // An empty image: no hairline under the bar.
    auto noHairline = UIImage::alloc();
    noHairline->init();
    objc_msgSend(bar, "setShadowImage:"_sel, static_cast<id>(noHairline.get()));
    objc_msgSend(bar, "setTintColor:"_sel, static_cast<id>(UIColor::labelColor().get()));
    objc_msgSend(bar, "setTranslucent:"_sel, false);
}

void lmxRootListController::viewDidAppearImp(lmxRootListController* self, SEL cmd, bool animated)
{
    objc_msgSendSuper(superclass(), self, cmd, animated);
    if (UINavigationBar* bar = self->outerNavigationBar()) {
        auto attributes = NSDictionary::create({ { NSForegroundColorAttributeName, UIColor::labelColor() } });
        objc_msgSend(bar, "setTitleTextAttributes:"_sel, static_cast<id>(attributes.get()));
    }
}

// The bar goes back exactly as it was: a black title alone would leave the rest of
// Settings violet, and be unreadable in dark mode.
void lmxRootListController::viewWillDisappearImp(lmxRootListController* self, SEL cmd, bool animated)
{
    objc_msgSendSuper(superclass(), self, cmd, animated);
    UINavigationBar* bar = self->outerNavigationBar();
    if (!bar || !self->m_barBeforeAppearing)
        return;
    BarLook before = *std::exchange(self->m_barBeforeAppearing, std::nullopt);
    objc_msgSend(bar, "setBarTintColor:"_sel, static_cast<id>(before.barTintColor.get()));
    objc_msgSend(bar, "setShadowImage:"_sel, static_cast<id>(before.shadowImage.get()));
    objc_msgSend(bar, "setTintColor:"_sel, static_cast<id>(before.tintColor.get()));
    objc_msgSend(bar, "setTranslucent:"_sel, before.translucent);
    objc_msgSend(bar, "setTitleTextAttributes:"_sel, static_cast<id>(before.titleTextAttributes.get()));
}

void lmxRootListController::registerRuntimeClass()
{
    Class cls = objc::defineClass<lmxRootListController>("lmxRootListController", HBRootListController::staticClass());
    objc::addMethod(cls, "specifiers", &specifiersImp);
    objc::addMethod(cls, "largeTitleStyle", &largeTitleStyleImp);
    objc::addMethod(cls, "init", &initImp);
    objc::addMethod(cls, "respring:", &respringImp);
    objc::addMethod(cls, "resetPrefs", &resetPrefsImp);
    objc::addMethod(cls, "setPreferenceValue:specifier:", &setPreferenceValueImp);
    objc::addMethod(cls, "viewDidLoad", &viewDidLoadImp);
    objc::addMethod(cls, "tableView:cellForRowAtIndexPath:", &cellForRowImp);
    objc::addMethod(cls, "viewWillAppear:", &viewWillAppearImp);
    objc::addMethod(cls, "viewDidAppear:", &viewDidAppearImp);
    objc::addMethod(cls, "viewWillDisappear:", &viewWillDisappearImp);

    using RespringButton = Property<UIBarButtonItem, &lmxRootListController::m_respringButton>;
    using ProgressView = Property<UIProgressView, &lmxRootListController::m_progressView>;
    using HeaderView = Property<UIView, &lmxRootListController::m_headerView>;
    using HeaderImageView = Property<UIImageView, &lmxRootListController::m_headerImageView>;
    using TitleLabel = Property<UILabel, &lmxRootListController::m_titleLabel>;
    using IconView = Property<UIImageView, &lmxRootListController::m_iconView>;
    objc::addMethod(cls, "respringButton", &RespringButton::get);
    objc::addMethod(cls, "setRespringButton:", &RespringButton::set);
    objc::addMethod(cls, "progressView", &ProgressView::get);
    objc::addMethod(cls, "setProgressView:", &ProgressView::set);
    objc::addMethod(cls, "headerView", &HeaderView::get);
    objc::addMethod(cls, "setHeaderView:", &HeaderView::set);
    objc::addMethod(cls, "headerImageView", &HeaderImageView::get);
    objc::addMethod(cls, "setHeaderImageView:", &HeaderImageView::set);
    objc::addMethod(cls, "titleLabel", &TitleLabel::get);
    objc::addMethod(cls, "setTitleLabel:", &TitleLabel::set);
    objc::addMethod(cls, "iconView", &IconView::get);
    objc::addMethod(cls, "setIconView:", &IconView::set);
}
