#include "MTMaterialView.h"

objc::RefPtr<MTMaterialView> MTMaterialView::materialViewWithRecipe(long recipe, unsigned long configuration, CGFloat initialWeighting)
{
    auto view = MTMaterialView::alloc();
    view->initWithFrame(CGRectZero);
    view->m_recipe = recipe;
    view->m_configuration = configuration;
    view->m_weighting = initialWeighting;
    return view;
}

void MTMaterialView::registerRuntimeClass()
{
    objc::defineClass<MTMaterialView>("MTMaterialView", UIView::staticClass());
}
