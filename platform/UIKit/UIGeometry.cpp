#include "UIGeometry.h"

#include "Foundation/NSString.h"

#include <charconv>
#include <string>

namespace {

std::string number(CGFloat value)
{
    if (value == 0)
        value = 0; // no "-0"
    char text[32];
    auto result = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, result.ptr);
}

std::string pointText(CGPoint point)
{
    return "{" + number(point.x) + ", " + number(point.y) + "}";
}

std::string sizeText(CGSize size)
{
    return "{" + number(size.width) + ", " + number(size.height) + "}";
}

} // namespace

objc::RefPtr<NSString> NSStringFromCGPoint(CGPoint point)
{
    return NSString::create(pointText(point));
}

objc::RefPtr<NSString> NSStringFromCGSize(CGSize size)
{
    return NSString::create(sizeText(size));
}

objc::RefPtr<NSString> NSStringFromCGRect(CGRect rect)
{
    return NSString::create("{" + pointText(rect.origin) + ", " + sizeText(rect.size) + "}");
}
