#include "substrate.h"

#include <cstdio>

void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* result)
{
    Method method = class_getInstanceMethod(cls, sel);
    if (!cls || !method) {
        std::fprintf(stderr, "MS:Error: message not found [%s %s]\n", class_getName(cls), sel_getName(sel));
        if (result)
            *result = nullptr;
        return;
    }
    IMP previous = method_getImplementation(method);
    // class_replaceMethod swaps an own method or adds an override of an inherited one.
    class_replaceMethod(cls, sel, replacement, method_getTypeEncoding(method));
    objc::Modification record { objc::Modification::Kind::ReplaceMethod, class_getName(cls), sel_getName(sel), method_getTypeEncoding(method), true };
    objc::recordModification(record);
    if (result)
        *result = previous;
}
