#pragma once
// The Settings app's process, headless: it lays out the navigation as the Settings app
// does (the app's own navigation controller, holding the navigation of its list of
// panes), loads installed panes from their bundles with dlopen when opened, and lets a
// simulated user work the pane's cells, its respring button and its reset row.
//
// The Settings app shares nothing with SpringBoard but the settings file (and the
// change notifications the settings store posts). A respring is the device's business:
// the pane's request reaches the handler installed here, and whoever drives the device
// restarts SpringBoard and then calls openURL with the URL the pane asked to return to.
//
// Make one in the process that is to be the Settings app, before any platform class is
// registered in it, and only one per process. Every call runs the work it causes at
// once; notifications from other processes arrive when the run loop runs.

#include "PreferenceLoaderEntries.h"

#include "Foundation/RunLoop.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class PSListController;
class UINavigationController;
class UIWindow;

namespace sim {

inline constexpr const char* kSettingsBundleIdentifier = "com.apple.Preferences";

class SettingsApp {
public:
    explicit SettingsApp(const std::string& deviceRoot,
        platform::RunLoop::ClockMode = platform::RunLoop::ClockMode::Virtual,
        double startTime = platform::RunLoop::kDefaultStartTime);
    ~SettingsApp();
    SettingsApp(const SettingsApp&) = delete;
    SettingsApp& operator=(const SettingsApp&) = delete;

    platform::RunLoop& runLoop() { return *m_runLoop; }

    // Opens the pane whose entry is labelled `root` (the Settings app's list, then that
    // row), as a user would. Opening again while it is open does nothing. Returns an
    // empty string, or why it cannot open (no such entry, a bundle that does not load).
    std::string open(const std::string& root = "Lumetrix");
    // "prefs:root=NAME" opens the pane NAME; anything else is refused with a message.
    std::string openURL(const std::string& url);
    // The user goes back from the pane to the list of panes.
    void closePane();
    // The app runs on another phone now (the current device profile changed): its window
    // takes the new screen and everything in it is laid out again for it.
    void fitToScreen();
    bool isOpen() const { return static_cast<bool>(m_pane); }

    // Sets the cell that stores `key` as a user would: a switch is flipped if it is not
    // already in that position (true/false, or a number: zero is off); a text cell gets
    // the value typed in (a number is typed as its shortest decimal text). Returns an
    // empty string, or the message the pane shows for refused input, or why there is no
    // such cell.
    using Value = std::variant<bool, double, std::string>;
    std::string setValue(const std::string& key, const Value&);
    // Taps the pane's respring button, or its row whose action is resetPrefs. Empty, or
    // why nothing could be pressed.
    std::string pressRespring();
    std::string pressReset();

    // Called when the pane asks for a respring, with the URL to return to ("" for none).
    // Without a handler the request waits in takeRespringRequest().
    using RespringHandler = std::function<void(const std::string& returnURL)>;
    void setRespringHandler(RespringHandler);
    std::optional<std::string> takeRespringRequest();

    // The pane as a user sees it: {"open", "page", "title", "titleView", "rightBarButtonItem",
    // "navigationBar", "appearance", "largeTitleDisplayMode", "header", "cells", "message"}.
    // Each cell: {"type": "group"|"switch"|"number"|"text"|"button"|"link", "label", "key",
    // "value", "default", "cell", ...}.
    nlohmann::json describe();

    // For tests and the renderer.
    UIWindow* window() const { return m_window.get(); }
    UINavigationController* outerNavigationController() const { return m_outer.get(); }
    UINavigationController* paneNavigationController() const { return m_inner.get(); }
    PSListController* rootList() const { return m_rootList.get(); }
    PSListController* pane() const { return m_pane.get(); }
    const std::vector<std::string>& loadProblems() const { return m_loadProblems; }

private:
    void buildNavigation();
    PreferenceLoaderEntry* entryLabelled(const std::string& label);
    nlohmann::json describeHeader() const;
    nlohmann::json describeCells() const;

    std::unique_ptr<platform::RunLoop> m_runLoop;
    std::vector<PreferenceLoaderEntry> m_entries;
    std::vector<std::string> m_loadProblems;
    objc::RefPtr<UIWindow> m_window;
    objc::RefPtr<UINavigationController> m_outer;
    objc::RefPtr<UINavigationController> m_inner;
    objc::RefPtr<PSListController> m_rootList;
    objc::RefPtr<PSListController> m_pane;
    RespringHandler m_respringHandler;
    std::optional<std::string> m_pendingRespring;
};

} // namespace sim
