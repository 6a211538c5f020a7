#pragma once
// State the tweak keeps on a SpringBoard object beside its added properties: one small
// NSObject subclass per host and key, made at first use and released with the host.

#include "Foundation/NSObject.h"
#include "objc/runtime.h"

namespace lumetrix {

template<typename State>
State* associatedState(id host, const void* key)
{
    if (auto state = static_cast<State*>(objc_getAssociatedObject(host, key)))
        return state;
    auto state = objc::make<State>(NSObject::staticClass());
    objc_setAssociatedObject(host, key, state.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    return state.get();
}

} // namespace lumetrix
