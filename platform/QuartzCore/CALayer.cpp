#include "CALayer.h"

void CALayer::registerRuntimeClass()
{
    Class cls = objc::defineClass<CALayer>("CALayer", NSObject::staticClass());
    objc::addMethod(cls, "setCornerRadius:", +[](CALayer* self, SEL, CGFloat radius) { self->m_cornerRadius = radius; });
    objc::addMethod(cls, "setMasksToBounds:", +[](CALayer* self, SEL, bool masks) { self->m_masksToBounds = masks; });
}
