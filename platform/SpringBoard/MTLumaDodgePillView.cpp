#include "MTLumaDodgePillView.h"

void MTLumaDodgePillView::layoutSubviewsImp(MTLumaDodgePillView* self, SEL cmd)
{
    objc_msgSendSuper(MTPillView::staticClass(), self, cmd);
    ++self->m_layoutCount;
}

void MTPillView::registerRuntimeClass()
{
    objc::defineClass<MTPillView>("MTPillView", UIView::staticClass());
}

void MTLumaDodgePillView::registerRuntimeClass()
{
    Class cls = objc::defineClass<MTLumaDodgePillView>("MTLumaDodgePillView", MTPillView::staticClass());
    objc::addMethod(cls, "layoutSubviews", &layoutSubviewsImp);
}
