// The Lumetrix pane, loaded by the Settings app from its installed bundle: its list, its
// title view and respring button, the header with its still preview, its colours, the
// bar of the Settings app, and what its cells, respring button and reset row do.

#include "SettingsTestSupport.h"

#include "CepheiPrefs/HBAppearanceSettings.h"
#include "CepheiPrefs/HBListController.h"
#include "Preferences/PSListController.h"
#include "Preferences/PSTableCell.h"
#include "UIKit/UIDeviceProfile.h"
#include "UIKit/NSAttributedString.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UIViewControllerContainment.h"
#include "UIKit/UIVisualEffectView.h"
#include "UIKit/UIWindow.h"
#include "sim/settingsapp/SettingsApp.h"
#include "substrate/substrate.h"

#include <filesystem>
#include <optional>

using namespace settings_testing;
using nlohmann::json;

namespace {

const json kViolet = { { "rgba", { 0.45, 0.42, 0.75, 1.0 } } };

class Settings_Pane : public testing::Test {
protected:
    // Opens the pane, failing the test if it cannot.
    sim::SettingsApp& openApp()
    {
        m_app.emplace(m_device.path());
        EXPECT_TRUE(m_app->loadProblems().empty());
        EXPECT_EQ(m_app->open(), "");
        return *m_app;
    }

    UIView* headerView() { return objc_cast<UIView>(objc_msgSend<id>(m_app->pane(), "headerView"_sel)); }

    // The frame of `view` in the header's coordinates.
    CGRect inHeader(UIView* view) { return view->convertRectToView(view->bounds(), headerView()); }

    testing_support::TemporaryDevice m_device;
    std::optional<sim::SettingsApp> m_app;
};

json cellFor(const json& description, const std::string& key)
{
    for (auto& cell : description["cells"]) {
        if (cell.value("key", "") == key)
            return cell;
    }
    return nullptr;
}

// MARK: The list

int rootLoads;
IMP originalLoad;

id countingLoad(PSListController* self, SEL cmd, id name, id target)
{
    if (auto string = objc_cast<NSString>(name); string && string->string() == "Root")
        ++rootLoads;
    return reinterpret_cast<id (*)(PSListController*, SEL, id, id)>(originalLoad)(self, cmd, name, target);
}

TEST_F(Settings_Pane, SpecifiersLoadRootOnceAndKeepTheSameArray)
{
    auto& app = openApp();
    if (!originalLoad)
        MSHookMessageEx(PSListController::staticClass(), "loadSpecifiersFromPlistName:target:"_sel, reinterpret_cast<IMP>(&countingLoad), &originalLoad);
    rootLoads = 0;
    PSListController* pane = app.pane();
    EXPECT_STREQ(class_getName(pane->getClass()), "lmxRootListController");
    NSArray* first = pane->specifiers();
    NSArray* second = pane->specifiers();
    EXPECT_EQ(first, second);
    EXPECT_EQ(rootLoads, 0) << "the list was loaded when the pane opened, and not again";
    pane->reloadSpecifiers();
    EXPECT_EQ(rootLoads, 1) << "once dropped, it loads once more";
    EXPECT_EQ(pane->specifiers(), pane->specifiers());
    EXPECT_EQ(rootLoads, 1);
    for (auto& object : pane->specifiers()->objects())
        EXPECT_EQ(objc_cast<PSSpecifier>(object.get())->target(), pane) << "the pane is every cell's target";
}

TEST_F(Settings_Pane, EverySettingHasACellOfItsKindAndTheListEndsWithTheResetButton)
{
    auto& app = openApp();
    json description = app.describe();
    const std::vector<std::pair<std::string, std::string>> expected = {
        { "enabled", "switch" },
        { "songtitlebg", "switch" },
        { "hidelsplayer", "switch" },
        { "alwaysshow", "switch" },
        { "swipetoskip", "switch" },
        { "fadeoutspeed", "number" },
        { "barwidth", "number" },
        { "dynamicenabled", "switch" },
        { "homebardynamic", "switch" },
        { "restorehomebartowhite", "switch" },
    };
    std::vector<std::pair<std::string, std::string>> actual;
    json buttons = json::array();
    for (auto& cell : description["cells"]) {
        if (cell.contains("key"))
            actual.emplace_back(cell["key"], cell["type"]);
        if (cell["type"] == "button")
            buttons.push_back(cell);
    }
    EXPECT_EQ(actual, expected);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0]["action"], "resetPrefs");
    // With nothing stored, each cell shows its default.
    for (auto& cell : description["cells"]) {
        if (cell.contains("key")) {
            EXPECT_EQ(cell["value"], cell["default"]) << cell.dump();
        }
    }
}

// MARK: Creation

TEST_F(Settings_Pane, TitleViewShowsTheNameWithAnInvisibleLogoAndTheRespringButtonIsWhite)
{
    auto& app = openApp();
    json description = app.describe();
    json button = description["rightBarButtonItem"];
    EXPECT_EQ(button["action"], "respring:");
    EXPECT_EQ(button["style"], 0);
    EXPECT_EQ(button["tintColor"]["name"], "whiteColor");
    EXPECT_EQ(button["image"]["symbol"], "arrow.2.circlepath");
    EXPECT_EQ(button["image"]["pointSize"], 13.0);

    UINavigationItem* item = UIViewControllerContainment::navigationItem(app.pane());
    UIView* titleView = item->titleView();
    ASSERT_TRUE(titleView);
    ASSERT_EQ(titleView->subviews().size(), 2u);
    auto label = objc_cast<UILabel>(titleView->subviews()[0].get());
    auto logo = objc_cast<UIImageView>(titleView->subviews()[1].get());
    ASSERT_TRUE(label && logo);
    EXPECT_EQ(label, objc_msgSend<id>(app.pane(), "titleLabel"_sel));
    EXPECT_EQ(logo, objc_msgSend<id>(app.pane(), "iconView"_sel));
    EXPECT_EQ(label->text()->string(), "Lumetrix 14");
    EXPECT_TRUE(label->textColor()->isEqual(UIColor::whiteColor().get()));
    EXPECT_EQ(label->font()->pointSize(), 17.0);
    EXPECT_TRUE(label->font()->isBold());
    EXPECT_EQ(label->textAlignment(), NSTextAlignmentCenter);
    EXPECT_EQ(logo->alpha(), 0.0);
    EXPECT_EQ(logo->contentMode(), UIViewContentModeScaleAspectFit);
    ASSERT_TRUE(logo->image());
    EXPECT_EQ(logo->image()->filePath(), "/Library/PreferenceBundles/lumetrixpref.bundle/logo.png");
    EXPECT_EQ(label->constraints().size() + logo->constraints().size() + titleView->constraints().size(), 8u);
}

// MARK: The header

TEST_F(Settings_Pane, HeaderIsTwoHundredHighWithThePreviewCentredCaptionAboveAndStripBelow)
{
    auto& app = openApp();
    UIView* header = headerView();
    ASSERT_TRUE(header);
    EXPECT_EQ(app.pane()->table()->tableHeaderView(), header) << "the table's header is the pane's header view";
    CGRect frame = header->frame();
    CGFloat width = app.pane()->table()->bounds().size.width;
    EXPECT_EQ(frame.size.height, 200);
    EXPECT_EQ(frame.size.width, width);

    auto picture = objc_cast<UIImageView>(objc_msgSend<id>(app.pane(), "headerImageView"_sel));
    ASSERT_TRUE(picture);
    EXPECT_EQ(inHeader(picture).size.height, 200);
    EXPECT_EQ(picture->contentMode(), UIViewContentModeScaleAspectFill);
    ASSERT_EQ(picture->subviews().size(), 3u);
    UIView* row = picture->subviews()[0].get();
    UIView* caption = picture->subviews()[1].get();
    auto strip = objc_cast<UIProgressView>(picture->subviews()[2].get());
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip, objc_msgSend<id>(app.pane(), "progressView"_sel));

    CGRect rowFrame = inHeader(row);
    EXPECT_DOUBLE_EQ(rowFrame.size.width, 100);
    EXPECT_DOUBLE_EQ(rowFrame.size.height, 20);
    EXPECT_DOUBLE_EQ(rowFrame.origin.x + 50, width / 2);
    EXPECT_DOUBLE_EQ(rowFrame.origin.y + 10, 100);

    CGRect captionFrame = inHeader(caption);
    EXPECT_DOUBLE_EQ(captionFrame.origin.y, rowFrame.origin.y - 15);
    EXPECT_DOUBLE_EQ(rowFrame.origin.y - (captionFrame.origin.y + captionFrame.size.height), 2) << "a gap of 2 above the row";
    EXPECT_DOUBLE_EQ(captionFrame.size.width, 80);
    EXPECT_DOUBLE_EQ(captionFrame.origin.x + 40, width / 2);

    CGRect stripFrame = inHeader(strip);
    EXPECT_DOUBLE_EQ(stripFrame.size.width, 140);
    EXPECT_DOUBLE_EQ(stripFrame.size.height, 5);
    EXPECT_DOUBLE_EQ(stripFrame.origin.y + 2.5, rowFrame.origin.y + 10 + 18);
    EXPECT_DOUBLE_EQ(stripFrame.origin.x + 70, width / 2);
    EXPECT_FLOAT_EQ(strip->progress(), 0.75f);
    EXPECT_EQ(strip->progressViewStyle(), UIProgressViewStyleBar);
    EXPECT_TRUE(strip->clipsToBounds());
    EXPECT_EQ(strip->layer()->cornerRadius(), 2.5);

    // The row: a regular blur and three glyphs 30 apart, the first turned half a turn.
    ASSERT_EQ(row->subviews().size(), 4u);
    auto blur = objc_cast<UIVisualEffectView>(row->subviews()[0].get());
    ASSERT_TRUE(blur);
    EXPECT_EQ(blur->effect()->style(), UIBlurEffectStyleRegular);
    EXPECT_EQ(blur->autoresizingMask(), 18u);
    const std::pair<const char*, CGFloat> glyphs[] = { { "forward.fill", -30 }, { "forward.fill", 30 }, { "pause.fill", 0 } };
    for (std::size_t index = 0; index < 3; ++index) {
        auto glyph = objc_cast<UIImageView>(row->subviews()[index + 1].get());
        ASSERT_TRUE(glyph);
        EXPECT_EQ(glyph->image()->symbolName(), glyphs[index].first);
        EXPECT_EQ(glyph->image()->symbolPointSize(), 13.0);
        CGRect glyphFrame = inHeader(glyph);
        EXPECT_NEAR(glyphFrame.origin.x + glyphFrame.size.width / 2, width / 2 + glyphs[index].second, 1e-9);
        EXPECT_NEAR(glyphFrame.origin.y + glyphFrame.size.height / 2, 100, 1e-9);
        EXPECT_NEAR(glyph->transform().a, index == 0 ? -1 : 1, 1e-12);
    }
    ASSERT_EQ(caption->subviews().size(), 1u);
    auto captionLabel = objc_cast<UILabel>(caption->subviews()[0].get());
    ASSERT_TRUE(captionLabel);
    EXPECT_EQ(captionLabel->text()->string(), "Lumetrix By Orvanta");
    EXPECT_TRUE(captionLabel->marqueeEnabled() && captionLabel->marqueeRunning());
}

TEST_F(Settings_Pane, MissingPicturesGiveEmptyImageViewsAndTheSameLayout)
{
    std::vector<json> headers;
    for (bool remove : { false, true }) {
        testing_support::TemporaryDevice device;
        if (remove) {
            std::filesystem::remove(device.root().resolve("/Library/PreferenceBundles/lumetrixpref.bundle/logo.png"));
            std::filesystem::remove(device.root().resolve("/Library/PreferenceBundles/lumetrixpref.bundle/header.png"));
        }
        sim::SettingsApp app(device.path());
        ASSERT_EQ(app.open(), "");
        json description = app.describe();
        EXPECT_EQ(description["header"]["subviews"][0]["image"].is_null(), remove);
        EXPECT_EQ(description["titleView"]["subviews"][1]["image"].is_null(), remove);
        description["header"]["subviews"][0].erase("image");
        headers.push_back(description["header"]);
    }
    EXPECT_EQ(headers[0], headers[1]);
}

// MARK: Appearance

TEST_F(Settings_Pane, AppearanceGivesTheEightFixedValuesAndAFreshEqualColourEachTime)
{
    auto& app = openApp();
    auto page = objc_cast<HBListController>(app.pane());
    ASSERT_TRUE(page);
    HBAppearanceSettings* appearance = page->appearanceSettings();
    ASSERT_TRUE(appearance);
    EXPECT_STREQ(class_getName(appearance->getClass()), "HBAppearanceTarn");
    json values = appearance->jsonValue();
    EXPECT_EQ(values["largeTitleStyle"], 2);
    EXPECT_EQ(values["showsNavigationBarShadow"], false);
    EXPECT_EQ(values["translucentNavigationBar"], false);
    EXPECT_EQ(values["tintColor"], kViolet);
    EXPECT_EQ(values["navigationBarBackgroundColor"], kViolet);
    EXPECT_EQ(values["navigationBarTitleColor"]["name"], "whiteColor");
    EXPECT_EQ(values["statusBarTintColor"]["name"], "labelColor");
    EXPECT_EQ(values["navigationBarTintColor"]["name"], "labelColor");
    EXPECT_EQ(objc_msgSend<unsigned long>(app.pane(), "largeTitleStyle"_sel), 2u);

    auto first = appearance->tintColor(), second = appearance->tintColor();
    EXPECT_NE(first.get(), second.get()) << "asked afresh";
    EXPECT_TRUE(first->isEqual(second.get()));
    EXPECT_TRUE(appearance->navigationBarBackgroundColor()->isEqual(first.get()));

    // The bar's title is white while the buttons and the status bar take the label colour.
    for (auto style : { UIUserInterfaceStyle::Light, UIUserInterfaceStyle::Dark }) {
        UIKitSetCurrentUserInterfaceStyle(style);
        auto title = appearance->navigationBarTitleColor()->components();
        auto buttons = appearance->navigationBarTintColor()->components();
        EXPECT_EQ(title.red, 1);
        EXPECT_EQ(buttons.red, style == UIUserInterfaceStyle::Dark ? 1 : 0);
    }
    UIKitSetCurrentUserInterfaceStyle(UIUserInterfaceStyle::Light);

    json description = app.describe();
    EXPECT_EQ(description["largeTitleDisplayMode"], 2);
    EXPECT_EQ(description["statusBarTintColor"]["name"], "labelColor");
    EXPECT_EQ(description["navigationBar"]["shown"]["titleTextAttributes"]["NSForegroundColorAttributeName"]["name"], "whiteColor");
    EXPECT_EQ(description["navigationBar"]["shown"]["backgroundColor"], kViolet);
    EXPECT_TRUE(app.pane()->view()->tintColor()->isEqual(UIColor::colorWithRed(0.45, 0.42, 0.75, 1.0).get()));
}

TEST_F(Settings_Pane, TheSettingsAppsBarTakesThePanesLookAndGetsItsOwnBackInLightAndDark)
{
    for (auto style : { UIUserInterfaceStyle::Light, UIUserInterfaceStyle::Dark }) {
        SCOPED_TRACE(style == UIUserInterfaceStyle::Dark ? "dark" : "light");
        UIKitSetCurrentUserInterfaceStyle(style);
        m_app.emplace(m_device.path());
        UINavigationBar* outer = m_app->outerNavigationController()->navigationBar();
        json before = outer->describe(nullptr);
        // The list's bar, as Settings draws it with no pane open.
        json shownBefore = outer->describe(outer->shownTopItem())["shown"];

        ASSERT_EQ(m_app->open(), "");
        UINavigationBar* inner = m_app->paneNavigationController()->navigationBar();
        json bar = outer->describe(nullptr);
        EXPECT_EQ(bar["barTintColor"], kViolet);
        EXPECT_EQ(bar["shadowImage"], json({ { "size", { 0.0, 0.0 } } }));
        EXPECT_EQ(bar["tintColor"]["name"], "labelColor");
        EXPECT_EQ(bar["translucent"], false);
        EXPECT_EQ(bar["titleTextAttributes"]["NSForegroundColorAttributeName"]["name"], "labelColor") << "set when the pane appeared";
        EXPECT_EQ(inner->barTintColor(), nullptr) << "the pane's own navigation bar is not the one it styles";

        m_app->closePane();
        EXPECT_EQ(outer->describe(nullptr), before) << "every part of the bar as it was, the title colour included";
        EXPECT_EQ(outer->describe(outer->shownTopItem())["shown"], shownBefore);

        // And again: a second visit leaves nothing behind either.
        ASSERT_EQ(m_app->open(), "");
        m_app->closePane();
        EXPECT_EQ(outer->describe(nullptr), before);
        m_app.reset();
    }
    UIKitSetCurrentUserInterfaceStyle(UIUserInterfaceStyle::Light);
}

TEST_F(Settings_Pane, WithoutAnOuterNavigationControllerAppearingAndDisappearingChangeNoBar)
{
    auto& app = openApp(); // for the pane's classes and a run loop
    auto made = objc::createInstance(objc_getClass("lmxRootListController"));
    objc::RefPtr<UIViewController> pane = objc_cast<UIViewController>(objc_msgSend<id>(made.get(), "init"_sel));
    ASSERT_TRUE(pane);
    auto list = UIViewController::alloc();
    list->init();
    auto navigation = UINavigationController::alloc();
    navigation->initWithRootViewController(list.get());
    auto window = UIWindow::alloc();
    window->initWithFrame(CGRectMake(0, 0, 375, 812));
    window->setRootViewController(navigation.get());
    navigation->view();
    UIViewControllerContainment::viewWillAppear(navigation.get(), false);
    UIViewControllerContainment::viewDidAppear(navigation.get(), false);
    UINavigationBar* bar = navigation->navigationBar();
    json before = bar->describe(nullptr);

    navigation->pushViewController(pane.get(), false);
    ASSERT_TRUE(UIViewControllerContainment::navigationItem(pane.get())->standardAppearance()) << "the pane appeared";
    EXPECT_EQ(bar->describe(nullptr), before);
    navigation->popViewController(false);
    EXPECT_EQ(bar->describe(nullptr), before);
    EXPECT_EQ(app.outerNavigationController()->navigationBar()->titleTextAttributes()->jsonValue()["NSForegroundColorAttributeName"]["name"], "labelColor")
        << "and no other bar either";
}

// MARK: Cells, respring and reset

TEST_F(Settings_Pane, SwitchesAndNumberCellsWriteTheDomainAndRefusedInputStoresNothing)
{
    auto& app = openApp();
    EXPECT_EQ(app.setValue("alwaysshow", true), "");
    EXPECT_EQ(app.setValue("enabled", false), "");
    EXPECT_EQ(app.setValue("fadeoutspeed", 5.0), "");
    EXPECT_EQ(app.setValue("barwidth", std::string(" 96.5 ")), "");
    json stored = storedSettings(m_device);
    EXPECT_EQ(stored, json({ { "alwaysshow", true }, { "enabled", false }, { "fadeoutspeed", "5" }, { "barwidth", "96.5" } }));

    std::string refusal = app.setValue("fadeoutspeed", std::string("fast"));
    EXPECT_NE(refusal.find("takes a number"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("\"fast\""), std::string::npos);
    EXPECT_EQ(storedSettings(m_device), stored) << "nothing was stored";
    json description = app.describe();
    EXPECT_EQ(description["message"], refusal);
    EXPECT_EQ(cellFor(description, "fadeoutspeed")["value"], "5") << "the cell shows the stored value again";
    EXPECT_EQ(cellFor(description, "fadeoutspeed")["problem"], refusal);

    EXPECT_EQ(app.setValue("fadeoutspeed", 8.0), "");
    EXPECT_TRUE(app.describe()["message"].is_null());
    EXPECT_FALSE(cellFor(app.describe(), "fadeoutspeed").contains("problem"));

    EXPECT_NE(app.setValue("nosuchkey", true), "");
    EXPECT_NE(app.setValue("alwaysshow", std::string("maybe")), "");
    EXPECT_EQ(storedSettings(m_device)["alwaysshow"], true);
}

TEST_F(Settings_Pane, NumberCellsRefuseNegativeAndEndlessValuesAndTakeZero)
{
    auto& app = openApp();
    ASSERT_EQ(app.setValue("barwidth", 120.0), "");
    ASSERT_EQ(app.setValue("fadeoutspeed", 5.0), "");
    json stored = storedSettings(m_device);
    for (auto [key, typed] : std::vector<std::pair<std::string, std::string>> {
             { "barwidth", "-50" }, { "barwidth", " -0.5 " }, { "barwidth", "1e39" }, { "fadeoutspeed", "-1" }, { "fadeoutspeed", "-1e300" } }) {
        SCOPED_TRACE(key + " " + typed);
        std::string refusal = app.setValue(key, typed);
        EXPECT_NE(refusal.find("takes a number from 0"), std::string::npos) << refusal;
        EXPECT_EQ(storedSettings(m_device), stored) << "nothing was stored";
        json cell = cellFor(app.describe(), key);
        EXPECT_EQ(cell["problem"], refusal) << "the cell shows the red line";
        EXPECT_EQ(cell["value"], stored[key]) << "and the stored value again";
    }
    EXPECT_EQ(app.setValue("fadeoutspeed", 0.0), "") << "a row that goes at once is a choice";
    EXPECT_EQ(storedSettings(m_device)["fadeoutspeed"], "0");
    EXPECT_FALSE(cellFor(app.describe(), "fadeoutspeed").contains("problem"));
    EXPECT_EQ(app.setValue("fadeoutspeed", std::string("3.4e38")), "");
    EXPECT_NE(app.setValue("barwidth", std::string("wide")).find("takes a number, such as"), std::string::npos) << "no number at all: the framework's own refusal";
}

TEST_F(Settings_Pane, TheStripMayBeAsWideAsTheScreenItIsOnAndNoWiderWhileZeroStandsForTheStandardWidth)
{
    struct Case {
        const char* device;
        double widest;
    };
    auto& app = openApp();
    for (Case c : { Case { "iPhone X", 375 }, Case { "iPhone 14 Pro Max", 430 } }) {
        SCOPED_TRACE(c.device);
        // The Settings app on another phone.
        UIDeviceProfile::setCurrent(*UIDeviceProfile::named(c.device));
        app.fitToScreen();
        ASSERT_EQ(app.setValue("barwidth", c.widest), "");
        json stored = storedSettings(m_device);

        std::string refusal = app.setValue("barwidth", c.widest + 0.5);
        char range[64];
        std::snprintf(range, sizeof range, "up to the screen's width, %g points", c.widest);
        EXPECT_NE(refusal.find(range), std::string::npos) << refusal;
        EXPECT_EQ(storedSettings(m_device), stored) << "nothing was stored";
        PSTableCell* cell = app.pane()->cellForSpecifier(app.pane()->specifierForID("barwidth"));
        ASSERT_TRUE(cell && cell->problemLabel());
        EXPECT_EQ(cell->problemLabel()->text()->string(), "Wider than the screen, not saved");

        ASSERT_NE(app.setValue("barwidth", -3.0), "");
        EXPECT_EQ(cell->problemLabel()->text()->string(), "Below 0, not saved");

        EXPECT_EQ(app.setValue("barwidth", 0.0), "") << "0 asks for the standard width";
        EXPECT_EQ(storedSettings(m_device)["barwidth"], "0");
        json footer = app.describe()["cells"];
        bool told = false;
        for (auto& row : footer)
            told = told || row.value("footer", json()).dump().find("0 for the standard 140") != std::string::npos;
        EXPECT_TRUE(told) << "the list says what 0 means";
    }
    UIDeviceProfile::setCurrent(UIDeviceProfile::defaultProfile());
}

TEST_F(Settings_Pane, TheIconTheSettingsEntryNamesShipsInTheBundle)
{
    openApp(); // the device's root for image paths
    auto entry = platform::readPropertyList(m_device.root().resolve("/Library/PreferenceLoader/Preferences/lumetrixpref.plist").string());
    auto root = objc_cast<NSDictionary>(entry.value.get());
    ASSERT_TRUE(root);
    auto fields = objc_cast<NSDictionary>(root->objectForKey("entry"));
    ASSERT_TRUE(fields);
    auto icon = objc_cast<NSString>(fields->objectForKey("icon"));
    ASSERT_TRUE(icon);
    std::string bundle = "/Library/PreferenceBundles/" + objc_cast<NSString>(fields->objectForKey("bundle"))->string() + ".bundle/";
    // The row's icon is 29 points; the scale variants are found beside the name.
    std::string stem = icon->string().substr(0, icon->string().rfind('.'));
    for (auto [file, pixels] : std::vector<std::pair<std::string, double>> { { icon->string(), 29 }, { stem + "@2x.png", 58 }, { stem + "@3x.png", 87 } }) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(std::filesystem::exists(m_device.root().resolve(bundle + file)));
        auto image = UIImage::imageWithContentsOfFile(NSString::create(bundle + file).get());
        ASSERT_TRUE(image) << "it decodes";
        EXPECT_DOUBLE_EQ(image->size().width, pixels);
        EXPECT_DOUBLE_EQ(image->size().height, pixels);
    }
}

TEST_F(Settings_Pane, RespringAsksToComeBackToThePaneAndResetRemovesEverySetting)
{
    auto& app = openApp();
    ASSERT_EQ(app.setValue("swipetoskip", true), "");
    ASSERT_EQ(app.setValue("barwidth", 90.0), "");
    EXPECT_FALSE(app.takeRespringRequest());

    EXPECT_EQ(app.pressRespring(), "");
    EXPECT_EQ(app.takeRespringRequest(), "prefs:root=Lumetrix");
    EXPECT_EQ(storedSettings(m_device).size(), 2u) << "a respring alone keeps the settings";

    std::vector<std::string> handled;
    app.setRespringHandler([&](const std::string& url) { handled.push_back(url); });
    EXPECT_EQ(app.pressReset(), "");
    EXPECT_EQ(handled, std::vector<std::string> { "prefs:root=Lumetrix" });
    EXPECT_EQ(storedSettings(m_device), json::object());
    // The pane shows the defaults once the store's change notification comes round.
    app.runLoop().runFor(0);
    json afterReset = app.describe();
    for (auto& cell : afterReset["cells"]) {
        if (cell.contains("key")) {
            EXPECT_EQ(cell["value"], cell["default"]) << cell.dump();
        }
    }
}

TEST_F(Settings_Pane, TheReturnURLOpensThePaneAgainAndOthersAreRefused)
{
    m_app.emplace(m_device.path());
    EXPECT_FALSE(m_app->isOpen());
    EXPECT_NE(m_app->openURL("prefs:root=Nothing"), "");
    EXPECT_NE(m_app->openURL("https://example.com"), "");
    EXPECT_FALSE(m_app->isOpen());
    EXPECT_EQ(m_app->openURL("prefs:root=Lumetrix"), "");
    EXPECT_TRUE(m_app->isOpen());
    EXPECT_EQ(m_app->describe()["page"], "lmxRootListController");
}

} // namespace
