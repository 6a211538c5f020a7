#pragma once
// UINavigationBarAppearance: how a bar looks while a given navigation item is on top of
// it. A page styles the bar through its own item this way without touching the bar
// itself, so the next page gets the bar as it was.

#include "Foundation/NSDictionary.h"
#include "UIColor.h"

class UINavigationBarAppearance : public NSObject {
    OBJC_INTERFACE(UINavigationBarAppearance)
public:
    UINavigationBarAppearance() = default;

    static objc::RefPtr<UINavigationBarAppearance> create();

    // An opaque background in the system's bar colour, or the default translucent one.
    void configureWithOpaqueBackground() { m_opaque = true; }
    void configureWithDefaultBackground() { m_opaque = false; }
    bool isOpaque() const { return m_opaque; }

    UIColor* backgroundColor() const { return m_backgroundColor.get(); }
    void setBackgroundColor(UIColor* color) { m_backgroundColor = color; }
    // The hairline under the bar; clearColor removes it, nil keeps the system's.
    UIColor* shadowColor() const { return m_shadowColor.get(); }
    void setShadowColor(UIColor* color) { m_shadowColor = color; }
    NSDictionary* titleTextAttributes() const { return m_titleTextAttributes.get(); }
    void setTitleTextAttributes(NSDictionary* attributes) { m_titleTextAttributes = attributes; }

    nlohmann::json jsonValue() const override;

    static void registerRuntimeClass();

private:
    bool m_opaque = false;
    objc::RefPtr<UIColor> m_backgroundColor;
    objc::RefPtr<UIColor> m_shadowColor;
    objc::RefPtr<NSDictionary> m_titleTextAttributes;
};
