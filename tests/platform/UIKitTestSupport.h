#pragma once
// Shared set-up for the UIKit tests: registered classes, views made the UIKit way, and
// the device's window.

#include "Foundation/NSData.h"
#include "Platform/Platform.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIDeviceProfile.h"
#include "UIKit/UIView.h"
#include "UIKit/UIViewController.h"
#include "UIKit/UIWindow.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace uikit_test {

// An image made from encoded bytes, as imageWithData: makes it.
inline objc::RefPtr<UIImage> imageFrom(const std::vector<std::uint8_t>& bytes)
{
    return UIImage::imageWithData(NSData::dataWithBytes(bytes.data(), bytes.size()).get());
}

inline objc::RefPtr<UIView> makeView(CGRect frame = CGRectZero)
{
    auto view = UIView::alloc();
    view->initWithFrame(frame);
    return view;
}

// A visible window covering the current device's screen, with a root view controller
// whose view fills it: the shape SpringBoard's windows have.
struct ScreenWindow {
    objc::RefPtr<UIWindow> window;
    objc::RefPtr<UIViewController> controller;

    ScreenWindow()
    {
        window = UIWindow::alloc();
        window->initWithFrame(UIDeviceProfile::current().screenBounds());
        controller = UIViewController::alloc();
        controller->init();
        window->setRootViewController(controller.get());
        window->makeKeyAndVisible();
    }
    ~ScreenWindow() { window->setHidden(true); }
    UIView* view() const { return controller->view(); }
};

// Collects the text of every NSLog line while alive.
class LogCapture {
public:
    LogCapture()
    {
        platform::setEventSink([this](const nlohmann::json& event) {
            if (event.value("type", "") == "log")
                m_lines.push_back(event.value("text", ""));
        });
    }
    ~LogCapture() { platform::setEventSink(nullptr); }
    const std::vector<std::string>& lines() const { return m_lines; }
    std::size_t countContaining(const std::string& text) const
    {
        std::size_t count = 0;
        for (auto& line : m_lines)
            count += line.find(text) != std::string::npos;
        return count;
    }

private:
    std::vector<std::string> m_lines;
};

class UIKitTest : public testing::Test {
protected:
    static void SetUpTestSuite() { platform::registerClasses(); }
    void SetUp() override { UIDeviceProfile::setCurrent(UIDeviceProfile::defaultProfile()); }
    void TearDown() override { UIDeviceProfile::setCurrent(UIDeviceProfile::defaultProfile()); }
};

} // namespace uikit_test

#define EXPECT_RECT_EQ(actual, ex, ey, ew, eh)                                                                   \
    do {                                                                                                         \
        CGRect r_ = (actual);                                                                                    \
        EXPECT_TRUE(CGRectEqualToRect(r_, CGRectMake(ex, ey, ew, eh)))                                           \
            << #actual << " is (" << r_.origin.x << ", " << r_.origin.y << ", " << r_.size.width << ", "         \
            << r_.size.height << "), expected (" << (ex) << ", " << (ey) << ", " << (ew) << ", " << (eh) << ")"; \
    } while (0)
