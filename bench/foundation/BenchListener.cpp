#include "BenchListener.h"

void BenchListener::registerRuntimeClass()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    Class cls = objc::defineClass<BenchListener>("BenchListener", NSObject::staticClass());
    objc::addMethod(cls, "noteHeard:", &BenchListener::noteHeard);
}

void BenchListener::noteHeard(BenchListener* self, SEL, id)
{
    ++self->m_heard;
}
