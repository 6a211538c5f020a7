// The pieces of a settings page as the Settings app draws them: a cell's label across the
// row up to its switch, a text cell's value at the trailing end, the navigation bar of a
// nested navigation (background, title view, back button and right button), and a grouped
// table's cards, separators and footers.

#include "RenderTestSupport.h"

#include "Foundation/NSArray.h"
#include "Foundation/NSString.h"
#include "Preferences/PSListController.h"
#include "Preferences/PSSpecifier.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageSymbolConfiguration.h"
#include "UIKit/UILabel.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITableView.h"
#include "UIKit/UITableViewCell.h"
#include "UIKit/UITextField.h"
#include "UIKit/UIViewControllerContainment.h"
#include "UIKit/UIWindow.h"

using namespace render_test;

namespace {

constexpr int kScale = 2;

class Render_Settings : public RenderTest { };

objc::RefPtr<UITableViewCell> makeCell(const char* text, UIView* accessory)
{
    auto cell = UITableViewCell::alloc();
    cell->initWithStyle(UITableViewCellStyleValue1, nullptr);
    cell->setFrame(CGRectMake(0, 0, 375, 44));
    cell->textLabel()->setText(text);
    if (accessory)
        cell->setAccessoryView(accessory);
    cell->layoutIfNeeded();
    return cell;
}

objc::RefPtr<UITextField> makeField(const char* text, const char* placeholder)
{
    auto field = UITextField::alloc();
    field->initWithFrame(CGRectMake(0, 0, 120, 31));
    field->setTextAlignment(NSTextAlignmentRight);
    field->setTextColor(rgb(0, 0, 0).get());
    field->setText(text);
    if (placeholder)
        field->setPlaceholder(NSString::create(placeholder).get());
    return field;
}

// Dark ink (text, not the white page or a green switch) between two x positions in points.
InkBox darkInk(const Canvas& canvas, CGFloat fromX, CGFloat toX)
{
    return inkBox(canvas, kWhite, 60, [&](int x, int) {
        if (x < fromX * kScale || x >= toX * kScale)
            return false;
        return true;
    });
}

// MARK: Cells

TEST_F(Render_Settings, ALabelRunsAcrossTheRowUpToItsAccessory)
{
    auto toggle = UISwitch::alloc();
    toggle->initWithFrame(CGRectZero);
    auto field = makeField("4", nullptr);
    struct Case {
        const char* name;
        UIView* accessory;
        CGFloat labelWidth; // 375 less the 16-point margins, the accessory and an 8-point gap
    };
    const Case cases[] = {
        { "no accessory", nullptr, 375 - 32 },
        { "a switch", toggle.get(), 375 - 32 - 51 - 8 },
        { "a text field", field.get(), 375 - 32 - 120 - 8 },
    };
    for (auto& c : cases) {
        auto cell = makeCell("Hide lock-screen media controls", c.accessory);
        EXPECT_EQ(cell->textLabel()->frame().origin.x, 16) << c.name;
        EXPECT_EQ(cell->textLabel()->frame().size.width, c.labelWidth) << c.name;
        if (c.accessory) {
            EXPECT_EQ(CGRectGetMaxX(c.accessory->frame()), 375 - 16) << c.name;
        }
    }
}

TEST_F(Render_Settings, ALongLabelIsInkedPastWhereHalfTheRowCutIt)
{
    auto toggle = UISwitch::alloc();
    toggle->initWithFrame(CGRectZero);
    auto cell = makeCell("Hide lock-screen media controls", toggle.get());
    cell->setBackgroundColor(UIColor::whiteColor().get());
    Canvas canvas = draw(cell.get(), CGRectMake(0, 0, 375, 44), kScale);
    // The switch starts at 308; the label's text stops before its gap.
    InkBox text = darkInk(canvas, 0, 300);
    ASSERT_FALSE(text.isEmpty());
    // Half the room left of the switch ended at 16 + 142 points: the old cut.
    EXPECT_GT(text.maxX, 230 * kScale) << "the label's last glyph lies well past the old cut";
    EXPECT_LT(text.maxX, 300 * kScale);
}

TEST_F(Render_Settings, ADetailTakesItsOwnWidthAndTheLabelTheRest)
{
    auto cell = makeCell("Strip width", nullptr);
    cell->detailTextLabel()->setText("Not a number");
    cell->setNeedsLayout();
    cell->layoutIfNeeded();
    CGRect text = cell->textLabel()->frame();
    CGRect detail = cell->detailTextLabel()->frame();
    EXPECT_DOUBLE_EQ(CGRectGetMaxX(detail), 375 - 16) << "the detail ends at the trailing margin";
    EXPECT_DOUBLE_EQ(CGRectGetMaxX(text) + 8, detail.origin.x);
    EXPECT_GT(text.size.width, detail.size.width) << "a short detail leaves the label most of the row";

    cell->detailTextLabel()->setText("");
    cell->setNeedsLayout();
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->textLabel()->frame().size.width, 375 - 32) << "an empty detail takes nothing";
}

TEST_F(Render_Settings, ATextCellShowsItsValueOrPlaceholderAtTheTrailingEnd)
{
    struct Case {
        const char* name;
        const char* text;
        const char* placeholder;
        bool inked;
    };
    const Case cases[] = {
        { "value", "2.5", nullptr, true },
        { "placeholder of an empty field", "", "Seconds", true },
        { "empty without placeholder", "", nullptr, false },
    };
    for (auto& c : cases) {
        auto field = makeField(c.text, c.placeholder);
        auto cell = makeCell("Fade", field.get());
        cell->setBackgroundColor(UIColor::whiteColor().get());
        Canvas canvas = draw(cell.get(), CGRectMake(0, 0, 375, 44), kScale);
        InkBox value = inkBox(canvas, kWhite, 24, [](int x, int) { return x >= 375 * kScale / 2; });
        if (!c.inked) {
            EXPECT_TRUE(value.isEmpty()) << c.name;
            continue;
        }
        ASSERT_FALSE(value.isEmpty()) << c.name;
        EXPECT_GT(value.minX, 375 * kScale / 2) << c.name << ": right of the row's middle";
        EXPECT_GT(value.maxX, (375 - 16 - 6) * kScale) << c.name << ": flush with the trailing margin";
        EXPECT_LE(value.maxX, (375 - 16 + 1) * kScale) << c.name;
    }
}

// MARK: The navigation bar

// The Settings app's shape: an outer navigation controller whose root page is the
// navigation of the list of panes (its own bar hidden); a pane pushed on the inner one.
struct NestedNavigation {
    objc::RefPtr<UIWindow> window;
    objc::RefPtr<UINavigationController> outer;
    objc::RefPtr<UINavigationController> inner;
    objc::RefPtr<UIViewController> list;
    objc::RefPtr<UIViewController> pane;
};

objc::RefPtr<UIViewController> makePage(const char* title)
{
    auto page = UIViewController::alloc();
    page->init();
    UIViewControllerContainment::navigationItem(page.get())->setTitle(NSString::create(title).get());
    return page;
}

NestedNavigation makeNestedNavigation()
{
    NestedNavigation nav;
    nav.list = makePage("Settings");
    nav.inner = UINavigationController::alloc();
    nav.inner->initWithRootViewController(nav.list.get());
    nav.inner->setNavigationBarHidden(true);
    nav.outer = UINavigationController::alloc();
    nav.outer->initWithRootViewController(nav.inner.get());
    nav.window = UIWindow::alloc();
    nav.window->initWithFrame(UIScreen::mainScreen()->bounds());
    nav.window->setRootViewController(nav.outer.get());
    nav.window->makeKeyAndVisible();
    UIViewControllerContainment::viewWillAppear(nav.outer.get(), false);
    UIViewControllerContainment::viewDidAppear(nav.outer.get(), false);

    // The pane: a title view holding a white centred name, and a white respring button.
    nav.pane = makePage("Lumetrix");
    UINavigationItem* item = UIViewControllerContainment::navigationItem(nav.pane.get());
    auto titleView = UIView::alloc();
    titleView->init();
    auto name = UILabel::alloc();
    name->initWithFrame(CGRectZero);
    name->setText("Lumetrix 14");
    name->setFont(UIFont::boldSystemFontOfSize(17));
    name->setTextColor(UIColor::whiteColor().get());
    name->setTextAlignment(NSTextAlignmentCenter);
    name->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    titleView->addSubview(name.get());
    item->setTitleView(titleView.get());
    auto button = UIBarButtonItem::alloc();
    button->initWithImage(UIImage::systemImageNamed("arrow.2.circlepath", UIImageSymbolConfiguration::configurationWithPointSize(13).get()).get(),
        UIBarButtonItemStylePlain, nullptr, nullptr);
    button->setTintColor(UIColor::whiteColor().get());
    item->setRightBarButtonItem(button.get());
    nav.inner->pushViewController(nav.pane.get(), false);

    UINavigationBar* bar = nav.outer->navigationBar();
    bar->setBarTintColor(rgb(0.45, 0.42, 0.75).get());
    bar->setTranslucent(false);
    bar->setTintColor(rgb(0, 0, 0).get());
    UIView::layoutPendingViews();
    return nav;
}

TEST_F(Render_Settings, TheOuterBarShowsTheNestedPaneWithABackButtonToTheList)
{
    auto nav = makeNestedNavigation();
    UINavigationBar* bar = nav.outer->navigationBar();
    UINavigationItem* paneItem = UIViewControllerContainment::navigationItem(nav.pane.get());
    EXPECT_EQ(bar->shownTopItem(), paneItem);
    ASSERT_TRUE(bar->shownBackItem());
    EXPECT_EQ(bar->shownBackItem()->title()->string(), "Settings");
    EXPECT_EQ(paneItem->titleView()->superview(), bar) << "the title view is laid out in the bar";
    EXPECT_NEAR(CGRectGetMidX(paneItem->titleView()->frame()), 375.0 / 2, 0.5) << "centred";
    EXPECT_GT(bar->backButtonFrame().size.width, 0);
    EXPECT_NEAR(CGRectGetMaxX(bar->rightButtonFrame()), 375 - 16, 0.5);

    // Back on the list: no back button, no title view in the bar.
    nav.inner->popViewController(false);
    UIView::layoutPendingViews();
    EXPECT_EQ(bar->shownBackItem(), nullptr);
    EXPECT_TRUE(CGRectIsEmpty(bar->backButtonFrame()));
    EXPECT_EQ(paneItem->titleView()->superview(), nullptr) << "the pane's title view left the bar";
}

TEST_F(Render_Settings, TheBarIsDrawnInItsTintWithTheTitleCentredAndItsButtons)
{
    auto nav = makeNestedNavigation();
    CGRect barFrame = nav.outer->navigationBar()->frame();
    Canvas canvas = draw(nav.window.get(), CGRectMake(0, 0, 375, 812), kScale, kWhite);
    const Rgba violet { 115, 107, 191, 255 };
    int barTop = static_cast<int>(barFrame.origin.y) * kScale;
    int barBottom = static_cast<int>(CGRectGetMaxY(barFrame)) * kScale - 1;
    // The bar, and the status bar above it, are the bar's colour, not the white page.
    EXPECT_TRUE(near(canvas.pixel(150 * kScale, barTop + 4), violet, 3)) << canvas.pixel(150 * kScale, barTop + 4);
    EXPECT_TRUE(near(canvas.pixel(150 * kScale, barBottom + 6), kWhite, 3)) << "the page below the bar";

    auto inBar = [&](int, int y) { return y >= barTop && y <= barBottom; };
    // The white ink in the bar: the title's name in the middle and the respring glyph at
    // the trailing end.
    InkBox title = inkBox(canvas, violet, 60, [&](int x, int y) { return inBar(x, y) && x > 100 * kScale && x < 275 * kScale; });
    ASSERT_FALSE(title.isEmpty());
    EXPECT_NEAR((title.minX + title.maxX) / 2.0, 375.0 * kScale / 2, 3 * kScale) << "the title is centred";
    InkBox right = inkBox(canvas, violet, 60, [&](int x, int y) { return inBar(x, y) && x > 320 * kScale; });
    ASSERT_FALSE(right.isEmpty());
    int whiteInk = 0;
    for (int y = right.minY; y <= right.maxY; ++y)
        for (int x = right.minX; x <= right.maxX; ++x)
            whiteInk += near(canvas.pixel(x, y), kWhite, 30);
    EXPECT_GT(whiteInk, 20) << "the glyph is in the button's own tint, white";
    EXPECT_NEAR((right.minX + right.maxX) / 2.0, (375 - 16 - 12) * kScale, 2 * kScale) << "the respring glyph";
    // The back chevron and "Settings" in the bar's tint (black), at the leading end.
    InkBox back = inkBox(canvas, violet, 60, [&](int x, int y) { return inBar(x, y) && x < 100 * kScale; });
    ASSERT_FALSE(back.isEmpty());
    EXPECT_LT(back.minX, 12 * kScale);
    Rgba chevron = canvas.pixel(back.minX + 2, (back.minY + back.maxY) / 2);
    EXPECT_LT(chevron.red, 110) << "the chevron is dark: " << chevron;
}

// MARK: The grouped table

objc::RefPtr<PSListController> makeList()
{
    auto object = objc::createInstance(PSListController::staticClass());
    return objc_cast<PSListController>(objc_msgSend<id>(object.get(), "init"_sel));
}

TEST_F(Render_Settings, RowsOfAGroupAreSeparatedAndTheFooterIsWrittenUnderThem)
{
    auto list = makeList();
    auto specifiers = NSMutableArray::create();
    auto group = PSSpecifier::groupSpecifierWithName(NSString::create("General").get());
    group->setProperty(NSString::create("A footer long enough to take two lines of text under the rows of its group.").get(), "footerText");
    specifiers->addObject(group.get());
    for (const char* name : { "One", "Two" })
        specifiers->addObject(PSSpecifier::preferenceSpecifierNamed(NSString::create(name).get(), list.get(), nullptr, nullptr, nullptr, PSStaticTextCell, nullptr).get());
    list->setSpecifiers(specifiers.get());
    UITableView* table = objc_cast<UITableView>(list->view());
    ASSERT_TRUE(table);
    table->setFrame(CGRectMake(0, 0, 375, 300));
    table->reloadData();
    UIView::layoutPendingViews();

    CGRect first = table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0).get());
    CGRect footer = table->rectForFooterInSection(0);
    EXPECT_EQ(first.origin.x, UITableView::kInsetGroupedMargin) << "inset-grouped rows keep off the sides";
    EXPECT_EQ(footer.size.height, 2 * UITableView::kFooterLineHeight) << "the footer's two lines";
    EXPECT_GT(footer.origin.y, CGRectGetMaxY(first) + 44);

    Canvas canvas = draw(table, CGRectMake(0, 0, 375, 300), kScale, kWhite);
    const Rgba card { 255, 255, 255, 255 };
    const Rgba page { 242, 242, 247, 255 };
    EXPECT_TRUE(near(canvas.pixel(4 * kScale, static_cast<int>(first.origin.y + 10) * kScale), page)) << "the grouped background beside the card";
    EXPECT_TRUE(near(canvas.pixel(300 * kScale, static_cast<int>(first.origin.y + 10) * kScale), card)) << "the card under the rows";

    // The hairline between the rows: a darker line across the card, starting 16 points in.
    int lineY = static_cast<int>(CGRectGetMaxY(first) * kScale) - 1;
    int leading = static_cast<int>((first.origin.x + 16) * kScale);
    EXPECT_LT(canvas.pixel(250 * kScale, lineY).red, 240) << "a separator between the rows";
    EXPECT_LT(canvas.pixel(leading + 2, lineY).red, 240);
    EXPECT_TRUE(near(canvas.pixel(leading - 4, lineY), card)) << "inset on the leading side";
    EXPECT_TRUE(near(canvas.pixel(250 * kScale, lineY - 3), card)) << "one hairline, not a band";
    CGRect second = table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0).get());
    EXPECT_TRUE(near(canvas.pixel(250 * kScale, static_cast<int>(CGRectGetMaxY(second) * kScale) - 1), card)) << "none under the last row";

    // The group's name over the card, in the spacing above the first row.
    CGRect header = table->rectForHeaderInSection(0);
    ASSERT_FALSE(CGRectIsEmpty(header));
    EXPECT_LT(CGRectGetMaxY(header), first.origin.y);
    InkBox name = inkBox(canvas, page, 24, [&](int, int y) { return y >= (header.origin.y - 4) * kScale && y < first.origin.y * kScale; });
    ASSERT_FALSE(name.isEmpty()) << "the header title is drawn";
    EXPECT_GE(name.minX, static_cast<int>(header.origin.x * kScale) - 2);

    // The footer's grey text, in the footer's rectangle.
    InkBox text = inkBox(canvas, page, 24, [&](int, int y) { return y >= footer.origin.y * kScale && y < (CGRectGetMaxY(footer) + 6) * kScale; });
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.minX, static_cast<int>(footer.origin.x * kScale) - 2);
    Rgba darkest = kWhite;
    for (int y = text.minY; y <= text.maxY; ++y)
        for (int x = text.minX; x <= text.maxX; ++x)
            if (canvas.pixel(x, y).red < darkest.red)
                darkest = canvas.pixel(x, y);
    EXPECT_GT(darkest.red, 80) << "secondary, not black: " << darkest;
    EXPECT_LT(darkest.red, 200) << darkest;
    EXPECT_GT(text.height(), 20 * kScale) << "two lines";
}

} // namespace
