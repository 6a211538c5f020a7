#pragma once
// NSObject: the root class every platform class inherits from.

#include "objc/Object.h"
#include "objc/WeakPtr.h"
#include "objc/runtime.h"

#include <string>

// Declares the runtime class a C++ platform type stands for. The class itself is
// registered by its framework's registration function.
#define OBJC_INTERFACE(Name)                                              \
public:                                                                   \
    static Class staticClass()                                            \
    {                                                                     \
        static Class cls = nullptr;                                       \
        if (!cls)                                                         \
            cls = objc_getClass(#Name);                                   \
        return cls;                                                       \
    }                                                                     \
    static objc::RefPtr<Name> alloc() { return objc::make<Name>(staticClass()); } \
                                                                          \
private:

class NSString;

class NSObject : public objc::Object {
    OBJC_INTERFACE(NSObject)
public:
    // What description returns, as a C++ string. Subclasses refine it.
    virtual std::string descriptionString() const;
    virtual bool isEqual(const NSObject* other) const { return this == other; }
    virtual std::size_t hash() const { return reinterpret_cast<std::size_t>(this); }

    Class getClass() const { return isa(); }
    bool isKindOfClass(Class cls) const { return class_isSubclassOf(isa(), cls); }
    bool respondsToSelector(SEL sel) const { return class_respondsToSelector(isa(), sel); }
};

// Borrowed casts between runtime objects, checked against the runtime class.
template<typename T>
T* objc_cast(id object)
{
    if (!object || !class_isSubclassOf(object->isa(), T::staticClass()))
        return nullptr;
    return static_cast<T*>(object);
}

// Objects come from alloc() or objc::make(), which give them their runtime class; a
// constructor alone makes an object the runtime does not know.
