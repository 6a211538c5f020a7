#pragma once
// Shared set-up for the renderer's tests: the platform registered once for the test
// process, a virtual clock per test, view trees made the UIKit way, and pixel probes.

#include "sim/render/Canvas.h"
#include "sim/render/ViewRenderer.h"

#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>

namespace sim::render {
inline std::ostream& operator<<(std::ostream& out, const Rgba& p)
{
    return out << "rgba(" << int(p.red) << ", " << int(p.green) << ", " << int(p.blue) << ", " << int(p.alpha) << ")";
}
} // namespace sim::render

namespace render_test {

using sim::render::Canvas;
using sim::render::Rgba;

inline const Rgba kBlack { 0, 0, 0, 255 };
inline const Rgba kWhite { 255, 255, 255, 255 };
inline const Rgba kRed { 255, 0, 0, 255 };
inline const Rgba kBlue { 0, 0, 255, 255 };

// Registration is once per process; each test gets a fresh clock.
class RenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static bool registered = false;
        if (!registered) {
            platform::registerClasses();
            registered = true;
        }
    }
    void SetUp() override
    {
        m_runLoop = std::make_unique<platform::RunLoop>();
        UIKitSetCurrentUserInterfaceStyle(UIUserInterfaceStyle::Light);
    }
    void TearDown() override { m_runLoop.reset(); }

    platform::RunLoop& runLoop() { return *m_runLoop; }

private:
    std::unique_ptr<platform::RunLoop> m_runLoop;
};

inline objc::RefPtr<UIView> makeView(CGRect frame, objc::RefPtr<UIColor> background = nullptr)
{
    auto view = UIView::alloc();
    view->initWithFrame(frame);
    if (background)
        view->setBackgroundColor(background.get());
    return view;
}

inline objc::RefPtr<UIColor> rgb(double red, double green, double blue, double alpha = 1)
{
    return UIColor::colorWithRed(red, green, blue, alpha);
}

// Draws `root` over an opaque `backdrop` colour into a canvas showing `region` at
// `scale` pixels a point, at the clock's current instant.
inline Canvas draw(UIView* root, CGRect region, double scale = 1, Rgba backdrop = { 0, 0, 255, 255 })
{
    Canvas canvas(region, scale);
    cairo_t* cr = cairo_create(canvas.surface());
    cairo_set_source_rgba(cr, backdrop.red / 255.0, backdrop.green / 255.0, backdrop.blue / 255.0, backdrop.alpha / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    auto* loop = platform::RunLoop::main();
    sim::render::ViewRenderer renderer(canvas, loop ? loop->now() : 0);
    renderer.drawTree(root);
    cairo_surface_flush(canvas.surface());
    return canvas;
}

// Whether two pixels agree within `tolerance` on every channel.
inline bool near(Rgba a, Rgba b, int tolerance = 2)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance && std::abs(a.blue - b.blue) <= tolerance
        && std::abs(a.alpha - b.alpha) <= tolerance;
}

// The pixels that are not `background`, as a box: what was drawn.
struct InkBox {
    int minX = 0, minY = 0, maxX = -1, maxY = -1;
    long count = 0;
    bool isEmpty() const { return count == 0; }
    int width() const { return maxX - minX + 1; }
    int height() const { return maxY - minY + 1; }
};

inline InkBox inkBox(const Canvas& canvas, Rgba background, int tolerance = 24, const std::function<bool(int, int)>& within = {})
{
    InkBox box { canvas.width(), canvas.height(), -1, -1, 0 };
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (within && !within(x, y))
                continue;
            if (near(canvas.pixel(x, y), background, tolerance))
                continue;
            box.minX = std::min(box.minX, x);
            box.minY = std::min(box.minY, y);
            box.maxX = std::max(box.maxX, x);
            box.maxY = std::max(box.maxY, y);
            ++box.count;
        }
    }
    return box;
}

// How many pixels of column `x` differ from `background` (between rows `top` and
// `bottom`, inclusive).
inline int inkInColumn(const Canvas& canvas, int x, int top, int bottom, Rgba background, int tolerance = 24)
{
    int count = 0;
    for (int y = top; y <= bottom; ++y)
        count += !near(canvas.pixel(x, y), background, tolerance);
    return count;
}

} // namespace render_test
