#pragma once
// UIImageSymbolConfiguration: how a system symbol image is drawn; here its point size.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

class UIImageSymbolConfiguration : public NSObject {
    OBJC_INTERFACE(UIImageSymbolConfiguration)
public:
    UIImageSymbolConfiguration() = default;

    static objc::RefPtr<UIImageSymbolConfiguration> configurationWithPointSize(CGFloat pointSize)
    {
        auto configuration = UIImageSymbolConfiguration::alloc();
        configuration->m_pointSize = pointSize;
        return configuration;
    }

    CGFloat pointSize() const { return m_pointSize; }

    static void registerRuntimeClass() { objc::defineClass<UIImageSymbolConfiguration>("UIImageSymbolConfiguration", NSObject::staticClass()); }

private:
    CGFloat m_pointSize = 0;
};
