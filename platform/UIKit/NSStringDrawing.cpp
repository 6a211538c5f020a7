#include "NSStringDrawing.h"

#include "Foundation/NSString.h"
#include "SystemFontMeasuring.h"
#include "UIFont.h"

namespace {

constexpr CGFloat kDefaultFontSize = 17;

} // namespace

CGSize NSStringSizeWithSystemFont(const NSString* text, CGFloat pointSize, UIFontWeight weight)
{
    if (!text || !text->length())
        return CGSizeZero;
    const std::string& string = text->string();
    CGSize extents {};
    platform::systemFontMeasurer()(string.data(), string.size(), pointSize, weight, &extents);
    return extents;
}

CGSize NSStringSizeWithFont(const NSString* text, const UIFont* font)
{
    if (!font)
        return NSStringSizeWithSystemFont(text, kDefaultFontSize);
    return NSStringSizeWithSystemFont(text, font->pointSize(), font->isBold() ? UIFontWeightSemibold : UIFontWeightRegular);
}
