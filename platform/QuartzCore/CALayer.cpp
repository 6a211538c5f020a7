#include "CALayer.h"

void CALayer::registerRuntimeClass()
{
    objc::defineClass<CALayer>("CALayer", NSObject::staticClass());
}
