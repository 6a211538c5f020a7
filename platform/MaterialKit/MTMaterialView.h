#pragma once
// MTMaterialView: SpringBoard's blur material. Which blur a recipe stands for is private
// to the system, so the view records what it was made with (the renderer draws a blur)
// and otherwise behaves as a plain view.

#include "UIKit/UIView.h"

class MTMaterialView : public UIView {
    OBJC_INTERFACE(MTMaterialView)
public:
    MTMaterialView() = default;

    // +materialViewWithRecipe:configuration:initialWeighting:, sent to the class: a
    // zero-sized material.
    static objc::RefPtr<MTMaterialView> materialViewWithRecipe(long recipe, unsigned long configuration, CGFloat initialWeighting)
    {
        return objc_sendToClassForObject<"MTMaterialView", "materialViewWithRecipe:configuration:initialWeighting:", MTMaterialView>(recipe, configuration, initialWeighting);
    }

    long recipe() const { return m_recipe; }
    unsigned long configuration() const { return m_configuration; }
    CGFloat weighting() const { return m_weighting; }
    void setWeighting(CGFloat weighting) { m_weighting = weighting; }

    static void registerRuntimeClass();

private:
    long m_recipe = 0;
    unsigned long m_configuration = 0;
    CGFloat m_weighting = 0;
};
