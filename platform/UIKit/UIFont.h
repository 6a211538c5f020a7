#pragma once
// UIFont: the system font at a size, regular or bold. Only what labels here use.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

class UIFont : public NSObject {
    OBJC_INTERFACE(UIFont)
public:
    UIFont() = default;

    // Class methods, sent to the class through the runtime.
    static objc::RefPtr<UIFont> systemFontOfSize(CGFloat size) { return objc_sendToClassForObject<"UIFont", "systemFontOfSize:", UIFont>(size); }
    static objc::RefPtr<UIFont> boldSystemFontOfSize(CGFloat size) { return objc_sendToClassForObject<"UIFont", "boldSystemFontOfSize:", UIFont>(size); }

    CGFloat pointSize() const { return m_pointSize; }
    bool isBold() const { return m_bold; }
    // ".SFUI-Regular" / ".SFUI-Semibold", the names iOS reports for the system font.
    std::string fontName() const { return m_bold ? ".SFUI-Semibold" : ".SFUI-Regular"; }

    // {"size": N, "bold": B}, as dumps show a font.
    nlohmann::json jsonValue() const override { return { { "size", m_pointSize }, { "bold", m_bold } }; }
    std::string descriptionString() const override;
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override { return std::hash<double>()(m_pointSize) ^ m_bold; }

    static void registerRuntimeClass();

private:
    CGFloat m_pointSize = 0;
    bool m_bold = false;
};
