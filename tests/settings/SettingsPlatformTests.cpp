// The platform pieces settings pages are made of: specifier lists, navigation and its
// appearance callbacks, controls, tables, values checked and stored, Cephei's styling
// and respring hand-off.

#include "SettingsTestSupport.h"

#include "CepheiPrefs/HBListController.h"
#include "CepheiPrefs/HBRespringController.h"
#include "Cephei/HBPreferences.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSURL.h"
#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"
#include "Preferences/PSListController.h"
#include "Preferences/PSSpecifierList.h"
#include "Preferences/PSTableCell.h"
#include "UIKit/NSAttributedString.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UISwitch.h"
#include "UIKit/UITableView.h"
#include "UIKit/UITextField.h"
#include "UIKit/UIViewControllerContainment.h"
#include "UIKit/UIWindow.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

using namespace settings_testing;
using objc::RefPtr;

namespace {

class Settings_Platform : public testing::Test {
protected:
    void SetUp() override
    {
        platform::setDeviceRoot(m_device.path());
        platform::registerClasses();
        if (!platform::RunLoop::main())
            m_runLoop.emplace();
    }

    RefPtr<NSDictionary> plist(const std::string& body)
    {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\">" + body + "</plist>";
        std::string error;
        auto value = platform::propertyListFromData(std::vector<std::uint8_t>(xml.begin(), xml.end()), &error);
        EXPECT_TRUE(value) << error;
        return objc_cast<NSDictionary>(value.get());
    }

    RefPtr<PSListController> makeList(const char* className = "PSListController")
    {
        auto object = objc::createInstance(objc_getClass(className));
        return objc_cast<PSListController>(objc_msgSend<id>(object.get(), "init"_sel));
    }

    testing_support::TemporaryDevice m_device;
    objc::AutoreleasePool m_pool;
    std::optional<platform::RunLoop> m_runLoop;
};

// MARK: Specifier lists

TEST_F(Settings_Platform, SpecifierListKeepsUsableItemsAndSaysWhyOthersAreLeftOut)
{
    auto list = PSSpecifiersFromPlist(plist(R"(<dict><key>title</key><string>Page</string><key>items</key><array>
        <dict><key>cell</key><string>PSGroupCell</string><key>label</key><string>G</string><key>footerText</key><string>F</string></dict>
        <dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>S</string><key>key</key><string>s</string>
              <key>defaults</key><string>d</string><key>default</key><true/></dict>
        <dict><key>cell</key><string>PSEditTextCell</string><key>key</key><string>e</string><key>isNumeric</key><true/></dict>
        <dict><key>cell</key><string>PSButtonCell</string><key>label</key><string>B</string><key>action</key><string>resetPrefs</string></dict>
        <dict><key>cell</key><string>PSFancyCell</string></dict>
        <dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>no key</string></dict>
        <string>not an item</string>
        </array></dict>)")
                                          .get(),
        nullptr);

    ASSERT_EQ(list.specifiers->count(), 4u);
    EXPECT_EQ(list.title->string(), "Page");
    std::vector<PSCellType> types;
    for (auto& object : list.specifiers->objects())
        types.push_back(objc_cast<PSSpecifier>(object.get())->cellType());
    EXPECT_EQ(types, (std::vector<PSCellType> { PSGroupCell, PSSwitchCell, PSEditTextCell, PSButtonCell }));

    auto group = objc_cast<PSSpecifier>(list.specifiers->objectAtIndex(0));
    auto toggle = objc_cast<PSSpecifier>(list.specifiers->objectAtIndex(1));
    auto field = objc_cast<PSSpecifier>(list.specifiers->objectAtIndex(2));
    auto button = objc_cast<PSSpecifier>(list.specifiers->objectAtIndex(3));
    EXPECT_EQ(group->stringProperty("footerText"), "F");
    EXPECT_EQ(toggle->identifier()->string(), "s");
    EXPECT_TRUE(toggle->boolProperty("default", false));
    EXPECT_STREQ(sel_getName(toggle->setter()), "setPreferenceValue:specifier:");
    EXPECT_STREQ(sel_getName(toggle->getter()), "readPreferenceValue:");
    EXPECT_TRUE(field->boolProperty("isNumeric", false));
    EXPECT_EQ(button->setter(), nullptr) << "a button stores nothing";
    EXPECT_STREQ(sel_getName(button->buttonAction()), "resetPrefs");

    ASSERT_EQ(list.problems.size(), 3u);
    EXPECT_NE(list.problems[0].find("PSFancyCell"), std::string::npos);
    EXPECT_NE(list.problems[1].find("needs a \"key\""), std::string::npos);
    EXPECT_NE(list.problems[2].find("not a dictionary"), std::string::npos);
}

// MARK: Navigation

std::vector<std::string>& appearanceLog()
{
    static auto* log = new std::vector<std::string>;
    return *log;
}

template<const char* Event>
void recordAppearance(UIViewController* self, SEL, bool)
{
    auto title = UIViewControllerContainment::navigationItem(self)->title();
    appearanceLog().push_back(std::string(title ? title->UTF8String() : "?") + "." + Event);
}

constexpr char kWillAppear[] = "willAppear";
constexpr char kDidAppear[] = "didAppear";
constexpr char kWillDisappear[] = "willDisappear";
constexpr char kDidDisappear[] = "didDisappear";

RefPtr<UIViewController> recorder(const char* title)
{
    Class cls = objc_getClass("SettingsTestRecorder");
    if (!cls) {
        cls = objc::defineClass<UIViewController>("SettingsTestRecorder", UIViewController::staticClass());
        objc::addMethod(cls, "viewWillAppear:", &recordAppearance<kWillAppear>);
        objc::addMethod(cls, "viewDidAppear:", &recordAppearance<kDidAppear>);
        objc::addMethod(cls, "viewWillDisappear:", &recordAppearance<kWillDisappear>);
        objc::addMethod(cls, "viewDidDisappear:", &recordAppearance<kDidDisappear>);
    }
    auto controller = objc::static_pointer_cast<UIViewController>(objc::createInstance(cls));
    controller->init();
    UIViewControllerContainment::navigationItem(controller.get())->setTitle(NSString::create(title).get());
    return controller;
}

TEST_F(Settings_Platform, NavigationSendsAppearanceCallbacksInUIKitOrderOnlyWhileOnScreen)
{
    auto a = recorder("A"), b = recorder("B"), c = recorder("C");
    auto navigation = UINavigationController::alloc();
    navigation->initWithRootViewController(a.get());
    appearanceLog().clear();

    navigation->pushViewController(b.get(), false);
    EXPECT_TRUE(appearanceLog().empty()) << "a navigation controller that is not on screen sends nothing";

    navigation->view();
    UIViewControllerContainment::viewWillAppear(navigation.get(), false);
    UIViewControllerContainment::viewDidAppear(navigation.get(), false);
    navigation->pushViewController(c.get(), true);
    navigation->popViewController(true);
    EXPECT_EQ(appearanceLog(), (std::vector<std::string> { "B.willAppear", "B.didAppear", "B.willDisappear", "C.willAppear", "B.didDisappear", "C.didAppear", "C.willDisappear", "B.willAppear", "C.didDisappear", "B.didAppear" }));
    EXPECT_EQ(navigation->topViewController(), b.get());
    EXPECT_EQ(navigation->topViewController()->viewIfLoaded()->superview(), navigation->view());
    EXPECT_EQ(navigation->navigationBar()->topItem(), UIViewControllerContainment::navigationItem(b.get()));
    EXPECT_EQ(UIViewControllerContainment::navigationController(c.get()), nullptr) << "a popped page has no navigation";
}

TEST_F(Settings_Platform, NestedNavigationFindsTheOuterControllerTwoStepsUp)
{
    auto page = recorder("page");
    auto inner = UINavigationController::alloc();
    inner->initWithRootViewController(recorder("list").get());
    auto outer = UINavigationController::alloc();
    outer->initWithRootViewController(inner.get());
    inner->pushViewController(page.get(), false);

    EXPECT_EQ(UIViewControllerContainment::navigationController(page.get()), inner.get());
    EXPECT_EQ(UIViewControllerContainment::navigationController(inner.get()), outer.get());
    EXPECT_EQ(UIViewControllerContainment::navigationController(outer.get()), nullptr);
}

TEST_F(Settings_Platform, OnlyABarAtTheTopOfTheScreenMakesRoomForTheStatusBar)
{
    auto inner = UINavigationController::alloc();
    inner->initWithRootViewController(recorder("list").get());
    auto outer = UINavigationController::alloc();
    outer->initWithRootViewController(inner.get());
    auto window = UIWindow::alloc();
    window->initWithFrame(UIScreen::mainScreen()->bounds());
    window->setRootViewController(outer.get());
    window->makeKeyAndVisible();
    inner->view()->layoutIfNeeded();

    CGFloat statusBar = UIScreen::mainScreen()->safeAreaInsets().top;
    ASSERT_GT(statusBar, 0);
    EXPECT_DOUBLE_EQ(outer->navigationBar()->frameInScreen().origin.y, statusBar) << "a window's root bar sits under the status bar";
    EXPECT_DOUBLE_EQ(inner->navigationBar()->frame().origin.y, 0) << "a nested bar starts at the top of its content";
    window->setHidden(true);
}

// MARK: Controls and tables

TEST_F(Settings_Platform, ControlsSendTheirActionsOnlyForWhatAUserDoes)
{
    auto cell = PSTableCell::alloc();
    auto specifier = PSSpecifier::preferenceSpecifierNamed(NSString::create("S").get(), nullptr, nullptr, nullptr, nullptr, PSSwitchCell, nullptr);
    cell->initWithSpecifier(UITableViewCellStyleValue1, nullptr, specifier.get());
    UISwitch* toggle = cell->switchControl();
    ASSERT_TRUE(toggle);

    static int sent;
    sent = 0;
    Class cls = objc_getClass("SettingsTestTarget");
    if (!cls) {
        cls = objc::defineClass<NSObject>("SettingsTestTarget", NSObject::staticClass());
        objc::addMethod(cls, "changed:", +[](NSObject*, SEL, id) { ++sent; });
    }
    {
        auto target = objc::createInstance(cls);
        toggle->addTargetAction(static_cast<NSObject*>(target.get()), "changed:"_sel, UIControlEventValueChanged);
        toggle->setOn(true);
        EXPECT_EQ(sent, 0) << "setting a switch in code sends nothing";
        toggle->toggleByUser();
        EXPECT_FALSE(toggle->isOn());
        EXPECT_EQ(sent, 1);
        toggle->setEnabled(false);
        toggle->toggleByUser();
        EXPECT_FALSE(toggle->isOn());
        EXPECT_EQ(sent, 1) << "a disabled switch does not move";
        toggle->setEnabled(true);
    }
    toggle->toggleByUser();
    EXPECT_EQ(sent, 1) << "a target that has gone is not sent to";
}

TEST_F(Settings_Platform, TableHeaderKeepsItsHeightTakesTheTableWidthAndRowsFollowIt)
{
    auto list = makeList();
    auto specifiers = NSMutableArray::create();
    specifiers->addObject(PSSpecifier::groupSpecifierWithName(NSString::create("One").get()).get());
    for (const char* name : { "a", "b" })
        specifiers->addObject(PSSpecifier::preferenceSpecifierNamed(NSString::create(name).get(), list.get(), nullptr, nullptr, nullptr, PSStaticTextCell, nullptr).get());
    auto group = PSSpecifier::groupSpecifierWithName(NSString::create("Two").get());
    group->setProperty(NSString::create("footer").get(), "footerText");
    specifiers->addObject(group.get());
    specifiers->addObject(PSSpecifier::preferenceSpecifierNamed(NSString::create("c").get(), list.get(), nullptr, nullptr, nullptr, PSStaticTextCell, nullptr).get());
    list->setSpecifiers(specifiers.get());
    UITableView* table = objc_cast<UITableView>(list->view());
    ASSERT_TRUE(table);
    table->setFrame(CGRectMake(0, 0, 375, 700));
    table->reloadData();

    auto header = UIView::alloc();
    header->initWithFrame(CGRectMake(0, 0, 200, 120));
    table->sendSetTableHeaderView(header.get());
    table->sendSetTableHeaderView(header.get());
    EXPECT_EQ(std::count_if(table->subviews().begin(), table->subviews().end(), [&](auto& v) { return v.get() == header.get(); }), 1);

    CGRect headerFrame = header->frame();
    EXPECT_EQ(headerFrame.size.width, 375);
    EXPECT_EQ(headerFrame.size.height, 120);
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    EXPECT_EQ(table->footerTitleForSection(1)->string(), "footer");
    EXPECT_EQ(table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0).get()).origin.y, 120 + UITableView::kSectionSpacing);
    EXPECT_EQ(table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 1).get()).origin.y,
        120 + 2 * UITableView::kSectionSpacing + 2 * UITableViewCell::kDefaultHeight);
}

// MARK: Values

TEST_F(Settings_Platform, NumericTextCellsStoreNumbersAndRefuseEverythingElse)
{
    struct Case {
        const char* typed;
        const char* stored; // null: refused
    };
    const Case cases[] = {
        { "12", "12" },
        { " 2.5 ", "2.5" },
        { "-1", "-1" },
        { "1e3", "1e3" },
        { ".5", ".5" },
        { "abc", nullptr },
        { "1.5abc", nullptr },
        { "", nullptr },
        { "  ", nullptr },
        { "inf", nullptr },
        { "nan", nullptr },
        { "0x1A", nullptr },
        { "1e999", nullptr },
        { "-", nullptr },
    };
    auto list = makeList();
    auto specifier = PSSpecifier::preferenceSpecifierNamed(NSString::create("Speed").get(), list.get(),
        "setPreferenceValue:specifier:"_sel, "readPreferenceValue:"_sel, nullptr, PSEditTextCell, nullptr);
    specifier->setProperty(NSString::create("speed").get(), "key");
    specifier->setProperty(NSString::create("com.orvanta.lumetrix").get(), "defaults");
    specifier->setProperty(NSNumber::numberWithBool(true).get(), "isNumeric");

    for (const Case& entry : cases) {
        SCOPED_TRACE(std::string("typed \"") + entry.typed + "\"");
        list->setPreferenceValue(NSString::create("7").get(), specifier.get());
        ASSERT_EQ(storedSettings(m_device)["speed"], "7");
        list->setPreferenceValue(NSString::create(entry.typed).get(), specifier.get());
        if (entry.stored) {
            EXPECT_EQ(storedSettings(m_device)["speed"], entry.stored);
            EXPECT_EQ(list->inputProblem(), "");
        } else {
            EXPECT_EQ(storedSettings(m_device)["speed"], "7") << "nothing is stored";
            EXPECT_NE(list->inputProblem().find("\"Speed\" takes a number"), std::string::npos) << list->inputProblem();
        }
    }
}

TEST_F(Settings_Platform, APlainPageWritingOverAnUnreadableFileKeepsItFirst)
{
    const std::string garbage = "<plist><dict><key>alwaysshow</key>";
    m_device.root().writeFile(kSettingsFile, garbage);
    auto list = makeList();
    auto specifier = PSSpecifier::preferenceSpecifierNamed(NSString::create("Always").get(), list.get(),
        "setPreferenceValue:specifier:"_sel, "readPreferenceValue:"_sel, nullptr, PSSwitchCell, nullptr);
    specifier->setProperty(NSString::create("alwaysshow").get(), "key");
    specifier->setProperty(NSString::create("com.orvanta.lumetrix").get(), "defaults");

    list->setPreferenceValue(NSNumber::numberWithBool(true).get(), specifier.get());
    EXPECT_EQ(storedSettings(m_device), nlohmann::json({ { "alwaysshow", true } }));
    std::ifstream kept(m_device.root().resolve(std::string(kSettingsFile) + ".unreadable"));
    std::string keptText((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_EQ(keptText, garbage) << "the file it could not read is kept as it was";

    // A readable file is simply updated: nothing more is set aside.
    std::filesystem::remove(m_device.root().resolve(std::string(kSettingsFile) + ".unreadable"));
    list->setPreferenceValue(NSNumber::numberWithBool(false).get(), specifier.get());
    EXPECT_EQ(storedSettings(m_device), nlohmann::json({ { "alwaysshow", false } }));
    EXPECT_FALSE(std::filesystem::exists(m_device.root().resolve(std::string(kSettingsFile) + ".unreadable")));
}

TEST_F(Settings_Platform, ARefusedValueShowsALineUnderTheLabelUntilTheNextGoodOne)
{
    auto specifier = PSSpecifier::preferenceSpecifierNamed(NSString::create("Speed").get(), nullptr, nullptr, nullptr, nullptr,
        PSEditTextCell, nullptr);
    auto cell = PSTableCell::alloc();
    cell->initWithSpecifier(UITableViewCellStyleValue1, nullptr, specifier.get());
    cell->setFrame(CGRectMake(0, 0, 375, 44));
    cell->layoutIfNeeded();
    CGRect centred = cell->textLabel()->frame();

    const std::string message = "\"Speed\" takes a number, such as 20 or 2.5; \"abc\" is not one, so nothing was saved.";
    cell->setProblem(message);
    cell->layoutIfNeeded();
    ASSERT_TRUE(cell->problemLabel());
    EXPECT_EQ(cell->problemLabel()->text()->string(), "Not a number, not saved");
    EXPECT_EQ(cell->problem(), message) << "the whole message stays with the cell";
    CGRect text = cell->textLabel()->frame();
    CGRect line = cell->problemLabel()->frame();
    EXPECT_LT(text.origin.y, centred.origin.y) << "the label moves up to make room";
    EXPECT_DOUBLE_EQ(line.origin.y, CGRectGetMaxY(text));
    EXPECT_DOUBLE_EQ(line.origin.x, text.origin.x);
    EXPECT_LE(CGRectGetMaxY(line), 44);

    cell->setProblem({});
    cell->layoutIfNeeded();
    EXPECT_FALSE(cell->problemLabel());
    EXPECT_TRUE(CGRectEqualToRect(cell->textLabel()->frame(), centred));
}

TEST_F(Settings_Platform, CepheiPagesWriteThroughTheStoreSoBoundVariablesFollowAtOnce)
{
    auto store = HBPreferences::alloc()->initWithIdentifier(NSString::create("com.orvanta.lumetrix").get());
    bool alwaysShow = false;
    store->registerBool(&alwaysShow, false, NSString::create("alwaysshow").get());

    auto page = makeList("HBListController");
    auto specifier = PSSpecifier::preferenceSpecifierNamed(NSString::create("Always").get(), page.get(),
        "setPreferenceValue:specifier:"_sel, "readPreferenceValue:"_sel, nullptr, PSSwitchCell, nullptr);
    specifier->setProperty(NSString::create("alwaysshow").get(), "key");
    specifier->setProperty(NSString::create("com.orvanta.lumetrix").get(), "defaults");
    specifier->setProperty(NSNumber::numberWithBool(false).get(), "default");

    EXPECT_EQ(page->readPreferenceValue(specifier.get())->jsonValue(), false) << "nothing stored: the default";
    page->setPreferenceValue(NSNumber::numberWithBool(true).get(), specifier.get());
    EXPECT_TRUE(alwaysShow);
    EXPECT_EQ(storedSettings(m_device)["alwaysshow"], true);
    EXPECT_EQ(page->readPreferenceValue(specifier.get())->jsonValue(), true);
}

// MARK: Cephei's appearance

TEST_F(Settings_Platform, AppearanceStylesThePageThroughItsItemAndLeavesTheBarAlone)
{
    Class cls = objc_getClass("SettingsTestAppearance");
    if (!cls) {
        cls = objc::defineClass<HBAppearanceSettings>("SettingsTestAppearance", HBAppearanceSettings::staticClass());
        objc::addMethod(cls, "navigationBarBackgroundColor", +[](HBAppearanceSettings*, SEL) -> id { return objc_autorelease(UIColor::redColor().leakRef()); });
        objc::addMethod(cls, "navigationBarTitleColor", +[](HBAppearanceSettings*, SEL) -> id { return objc_autorelease(UIColor::whiteColor().leakRef()); });
        objc::addMethod(cls, "showsNavigationBarShadow", +[](HBAppearanceSettings*, SEL) { return false; });
        objc::addMethod(cls, "translucentNavigationBar", +[](HBAppearanceSettings*, SEL) { return false; });
    }
    auto rootPage = makeList("HBListController");
    auto pushedPage = makeList("HBListController");
    auto root = objc_cast<HBListController>(rootPage.get());
    auto pushed = objc_cast<HBListController>(pushedPage.get());
    auto plain = HBAppearanceSettings::alloc();
    root->setAppearanceSettings(static_cast<HBAppearanceSettings*>(objc::createInstance(cls).get()));
    pushed->setAppearanceSettings(plain.get());
    auto navigation = UINavigationController::alloc();
    navigation->initWithRootViewController(root);
    navigation->view();
    UIViewControllerContainment::viewWillAppear(navigation.get(), false);
    navigation->pushViewController(pushed, false);

    UINavigationBar* bar = navigation->navigationBar();
    EXPECT_EQ(bar->barTintColor(), nullptr);
    EXPECT_EQ(bar->titleTextAttributes(), nullptr);
    EXPECT_TRUE(bar->isTranslucent());

    auto look = UIViewControllerContainment::navigationItem(root)->standardAppearance();
    ASSERT_TRUE(look);
    EXPECT_TRUE(look->backgroundColor()->isEqual(UIColor::redColor().get()));
    EXPECT_TRUE(look->isOpaque());
    EXPECT_TRUE(look->shadowColor()->isEqual(UIColor::clearColor().get()));
    EXPECT_TRUE(look->titleTextAttributes()->objectForKey(NSForegroundColorAttributeName)->isEqual(UIColor::whiteColor().get()));
    EXPECT_EQ(UIViewControllerContainment::navigationItem(root)->largeTitleDisplayMode(), UINavigationItemLargeTitleDisplayModeAlways)
        << "large titles on the root page only, by default";

    auto plainLook = UIViewControllerContainment::navigationItem(pushed)->standardAppearance();
    ASSERT_TRUE(plainLook);
    EXPECT_FALSE(plainLook->isOpaque());
    EXPECT_EQ(plainLook->shadowColor(), nullptr);
    EXPECT_EQ(plainLook->titleTextAttributes(), nullptr);
    EXPECT_EQ(UIViewControllerContainment::navigationItem(pushed)->largeTitleDisplayMode(), UINavigationItemLargeTitleDisplayModeNever);
}

TEST_F(Settings_Platform, RespringRequestsReachTheHostsHandlerWithTheReturnURL)
{
    std::vector<std::string> requests;
    HBRespringController::setRespringHandler([&](NSURL* url) { requests.push_back(url ? url->absoluteString()->string() : "(none)"); });
    HBRespringController::respringAndReturnTo(NSURL::URLWithString("prefs:root=Lumetrix").get());
    HBRespringController::respring();
    HBRespringController::setRespringHandler({});
    HBRespringController::respring();
    EXPECT_EQ(requests, (std::vector<std::string> { "prefs:root=Lumetrix", "(none)" }));
}

TEST_F(Settings_Platform, URLsNeedASchemeAndNoBlanks)
{
    const std::pair<const char*, const char*> cases[] = {
        { "prefs:root=Lumetrix", "prefs" },
        { "HTTPS://example.com/a", "https" },
        { "x-a.b+c:rest", "x-a.b+c" },
        { "", nullptr },
        { "no scheme", nullptr },
        { "root=Lumetrix", nullptr },
        { "1abc:x", nullptr },
        { "prefs:root=A B", nullptr },
    };
    for (auto& [text, scheme] : cases) {
        auto url = NSURL::URLWithString(text);
        if (scheme) {
            ASSERT_TRUE(url) << text;
            EXPECT_EQ(url->scheme(), scheme);
            EXPECT_EQ(url->absoluteString()->string(), text);
        } else {
            EXPECT_FALSE(url) << text;
        }
    }
}

} // namespace
