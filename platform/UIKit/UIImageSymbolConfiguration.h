#pragma once
// UIImageSymbolConfiguration: how a system symbol image is drawn; here its point size.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

class UIImageSymbolConfiguration : public NSObject {
    OBJC_INTERFACE(UIImageSymbolConfiguration)
public:
    UIImageSymbolConfiguration() = default;

    // +configurationWithPointSize:, sent to the class.
    static objc::RefPtr<UIImageSymbolConfiguration> configurationWithPointSize(CGFloat pointSize)
    {
        return objc_sendToClassForObject<"UIImageSymbolConfiguration", "configurationWithPointSize:", UIImageSymbolConfiguration>(pointSize);
    }

    CGFloat pointSize() const { return m_pointSize; }

    static void registerRuntimeClass()
    {
        Class cls = objc::defineClass<UIImageSymbolConfiguration>("UIImageSymbolConfiguration", NSObject::staticClass());
        objc::addMethod(objc::metaclassOf(cls), "configurationWithPointSize:", +[](Class, SEL, CGFloat pointSize) -> id {
            auto configuration = UIImageSymbolConfiguration::alloc();
            configuration->m_pointSize = pointSize;
            return objc_autorelease(configuration.leakRef());
        });
    }

private:
    CGFloat m_pointSize = 0;
};
