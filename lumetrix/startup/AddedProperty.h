#pragma once
// Properties the tweak adds to SpringBoard classes: a getter named as the property and a
// setter "set<Name>:", storing one strong reference on the instance as an associated
// object. Each (class, property) pair gets its own getter function, and the address of
// that getter is the association key, so two classes' properties of the same name never
// share storage.

#include "objc/runtime.h"

namespace lumetrix {

template<typename Tag>
id propertyGetter(id self, SEL)
{
    return objc_getAssociatedObject(self, reinterpret_cast<const void*>(&propertyGetter<Tag>));
}

template<typename Tag>
void propertySetter(id self, SEL, id value)
{
    objc_setAssociatedObject(self, reinterpret_cast<const void*>(&propertyGetter<Tag>), value, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

} // namespace lumetrix
