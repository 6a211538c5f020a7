#include "UIGraphics.h"

#include "UIImage.h"
#include "UIScreen.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<CGContext>>& contextStack()
{
    static auto* stack = new std::vector<std::unique_ptr<CGContext>>;
    return *stack;
}

} // namespace

void UIGraphicsBeginImageContext(CGSize size)
{
    UIGraphicsBeginImageContextWithOptions(size, false, 1);
}

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale)
{
    if (scale <= 0)
        scale = UIScreen::mainScreen()->scale();
    // A context with no area is no context, as on iOS (which logs and draws nothing).
    auto width = static_cast<std::size_t>(std::ceil(std::max(0.0, size.width) * scale));
    auto height = static_cast<std::size_t>(std::ceil(std::max(0.0, size.height) * scale));
    if (!width || !height) {
        contextStack().push_back(nullptr);
        return;
    }
    auto context = std::make_unique<CGContext>(width, height, scale);
    if (opaque) {
        // An opaque context starts black, with full alpha.
        for (std::size_t i = 3; i < width * height * 4; i += 4)
            context->data()[i] = 0xFF;
    }
    contextStack().push_back(std::move(context));
}

CGContextRef UIGraphicsGetCurrentContext()
{
    auto& stack = contextStack();
    return stack.empty() ? nullptr : stack.back().get();
}

objc::RefPtr<UIImage> UIGraphicsGetImageFromCurrentImageContext()
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return nullptr;
    return UIImage::imageWithCGImage(context->makeImage());
}

void UIGraphicsEndImageContext()
{
    auto& stack = contextStack();
    if (!stack.empty())
        stack.pop_back();
}
