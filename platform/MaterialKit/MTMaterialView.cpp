#include "MTMaterialView.h"

void MTMaterialView::registerRuntimeClass()
{
    Class cls = objc::defineClass<MTMaterialView>("MTMaterialView", UIView::staticClass());
    objc::addMethod(objc::metaclassOf(cls), "materialViewWithRecipe:configuration:initialWeighting:",
        +[](Class, SEL, long recipe, unsigned long configuration, CGFloat initialWeighting) -> id {
        auto view = MTMaterialView::alloc();
        view->initWithFrame(CGRectZero);
        view->m_recipe = recipe;
        view->m_configuration = configuration;
        view->m_weighting = initialWeighting;
        return objc_autorelease(view.leakRef());
    });
}
