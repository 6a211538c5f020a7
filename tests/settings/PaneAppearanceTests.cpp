// The pane as a user reads it, in the light and the dark appearance: every piece of text
// it draws (cell titles, values, section headers and footers, the bar's title) is
// measured on the rendered pixels against what lies behind it, with WCAG's contrast
// ratio: 4.5:1 for titles, 3:1 for the smaller secondary text; and the Settings app's own
// bar around it.

#include "SettingsTestSupport.h"

#include "Preferences/PSListController.h"
#include "Preferences/PSTableCell.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UINavigationItem.h"
#include "UIKit/UIViewControllerContainment.h"
#include "UIKit/UIWindow.h"
#include "sim/render/ScreenSnapshot.h"
#include "sim/settingsapp/SettingsApp.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

using sim::render::Canvas;
using sim::render::Rgba;

namespace {

// WCAG 2's relative luminance of an sRGB colour.
double luminance(Rgba colour)
{
    auto linear = [](std::uint8_t level) {
        double c = level / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) + 0.0722 * linear(colour.blue);
}

double contrast(Rgba a, Rgba b)
{
    double la = luminance(a);
    double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string hex(Rgba colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.red, colour.green, colour.blue);
    return text;
}

struct Reading {
    Rgba background;
    Rgba ink;
    double ratio;
};

// Within `rect` (screen points): the colour most of its pixels have is what lies behind
// the text, and the pixel that stands out most from it is the text's ink (a glyph's stem
// is wider than a pixel, so its middle is the text colour itself). Text that cannot be
// seen gives a ratio of 1.
Reading read(const Canvas& picture, CGRect rect)
{
    CGFloat scale = picture.pixelsPerPoint();
    int left = static_cast<int>(std::floor(rect.origin.x * scale));
    int top = static_cast<int>(std::floor(rect.origin.y * scale));
    int right = static_cast<int>(std::ceil(CGRectGetMaxX(rect) * scale));
    int bottom = static_cast<int>(std::ceil(CGRectGetMaxY(rect) * scale));
    std::map<std::uint32_t, int> counts;
    auto key = [](Rgba p) { return (std::uint32_t(p.red) << 16) | (std::uint32_t(p.green) << 8) | p.blue; };
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            ++counts[key(picture.pixel(x, y))];
    std::uint32_t most = 0;
    int mostCount = -1;
    for (auto [colour, count] : counts) {
        if (count > mostCount) {
            most = colour;
            mostCount = count;
        }
    }
    Rgba background { std::uint8_t(most >> 16), std::uint8_t(most >> 8), std::uint8_t(most), 255 };
    Reading reading { background, background, 1 };
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            Rgba p = picture.pixel(x, y);
            if (double ratio = contrast(p, background); ratio > reading.ratio)
                reading = { background, p, ratio };
        }
    }
    return reading;
}

struct Text {
    std::string what;
    CGRect rect; // in the window, which stands at the screen's origin
    double least;
};

constexpr double kTitle = 4.5;
constexpr double kSecondary = 3.0;

// Everything the pane writes, where it is drawn.
std::vector<Text> textsOfThePane(sim::SettingsApp& app)
{
    std::vector<Text> texts;
    UIWindow* window = app.window();
    UITableView* table = app.pane()->table();
    auto inWindow = [&](CGRect rect) { return table->convertRectToView(rect, window); };
    for (long section = 0; section < table->numberOfSections(); ++section) {
        if (NSString* header = table->headerTitleForSection(section))
            texts.push_back({ "header " + header->string(), inWindow(table->rectForHeaderInSection(section)), kSecondary });
        for (long row = 0; row < table->numberOfRowsInSection(section); ++row) {
            auto indexPath = NSIndexPath::indexPathForRow(row, section);
            auto cell = objc_cast<PSTableCell>(table->cellForRowAtIndexPath(indexPath.get()));
            UILabel* title = cell->textLabel();
            texts.push_back({ "title " + title->text()->string(), title->convertRectToView(title->bounds(), window), kTitle });
            if (UITextField* field = cell->textField())
                texts.push_back({ "value of " + title->text()->string(), field->convertRectToView(field->bounds(), window), kSecondary });
        }
        if (NSString* footer = table->footerTitleForSection(section)) {
            std::string start = footer->string().substr(0, 24);
            texts.push_back({ "footer \"" + start + "...\"", inWindow(table->rectForFooterInSection(section)), kSecondary });
        }
    }
    UIView* titleView = UIViewControllerContainment::navigationItem(app.pane())->titleView();
    for (auto& subview : titleView->subviews()) {
        if (auto label = objc_cast<UILabel>(subview.get()); label && label->alpha() > 0)
            texts.push_back({ "bar title " + label->text()->string(), label->convertRectToView(label->bounds(), window), kTitle });
    }
    return texts;
}

class Settings_PaneAppearance : public testing::Test {
protected:
    void TearDown() override { UIKitSetCurrentUserInterfaceStyle(UIUserInterfaceStyle::Light); }

    testing_support::TemporaryDevice m_device;
};

TEST_F(Settings_PaneAppearance, EveryTextStandsOutFromWhatIsBehindItInLightAndDark)
{
    sim::SettingsApp app(m_device.path());
    ASSERT_EQ(app.open(), "");
    // A window tall enough for the whole list at once: what scrolling would show part by part.
    UITableView* table = app.pane()->table();
    CGFloat listBottom = 0;
    for (long section = 0; section < table->numberOfSections(); ++section)
        listBottom = std::max({ listBottom, CGRectGetMaxY(table->rectForRowsInSection(section)), CGRectGetMaxY(table->rectForFooterInSection(section)) });
    CGRect screen = app.window()->frame();
    app.window()->setFrame(CGRectMake(0, 0, screen.size.width, table->convertRectToView(CGRectMake(0, listBottom, 1, 1), app.window()).origin.y + 40));
    UIView::layoutPendingViews();

    std::size_t measured = 0;
    for (auto style : { UIUserInterfaceStyle::Light, UIUserInterfaceStyle::Dark }) {
        const char* name = style == UIUserInterfaceStyle::Dark ? "dark" : "light";
        SCOPED_TRACE(name);
        UIKitSetCurrentUserInterfaceStyle(style);
        Canvas picture = sim::render::snapshotView(app.window());
        std::printf("%s appearance:\n", name);
        for (auto& text : textsOfThePane(app)) {
            Reading reading = read(picture, text.rect);
            std::printf("  %5.2f:1  %s on %s  %s\n", reading.ratio, hex(reading.ink).c_str(), hex(reading.background).c_str(), text.what.c_str());
            EXPECT_GE(reading.ratio, text.least) << text.what << ": " << hex(reading.ink) << " on " << hex(reading.background);
            ++measured;
        }
    }
    // Eleven cells, two values, four headers, four footers and the bar's title, twice.
    EXPECT_GE(measured, 2u * 20);
}

TEST_F(Settings_PaneAppearance, TheSettingsListsOwnBarKeepsItsTitleReadableInLightAndDark)
{
    sim::SettingsApp app(m_device.path());
    UINavigationBar* bar = app.outerNavigationController()->navigationBar();
    for (auto style : { UIUserInterfaceStyle::Light, UIUserInterfaceStyle::Dark }) {
        SCOPED_TRACE(style == UIUserInterfaceStyle::Dark ? "dark" : "light");
        UIKitSetCurrentUserInterfaceStyle(style);
        Canvas picture = sim::render::snapshotView(app.window());
        Reading reading = read(picture, bar->convertRectToView(bar->bounds(), app.window()));
        EXPECT_GE(reading.ratio, kTitle) << "\"Settings\" in " << hex(reading.ink) << " on " << hex(reading.background);
    }
}

} // namespace
