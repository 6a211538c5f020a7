#pragma once
// NSObject: the root class every platform class inherits from.

#include "objc/Object.h"
#include "objc/WeakPtr.h"
#include "objc/message.h"
#include "objc/runtime.h"

#include <nlohmann/json.hpp>

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
    /* +alloc, sent to the class: a +1 instance of it. */                 \
    static objc::RefPtr<Name> alloc()                                     \
    {                                                                     \
        id object = objc::sendToClass<#Name, "alloc", id>(staticClass()); \
        return objc::adoptRef(static_cast<Name*>(object));                \
    }                                                                     \
                                                                          \
private:

class NSString;

class NSObject : public objc::Object {
    OBJC_INTERFACE(NSObject)
public:
    NSObject() = default;

    // What description returns, as a C++ string. Subclasses refine it.
    virtual std::string descriptionString() const;
    // How the object prints nested inside a collection's description (Foundation's
    // descriptionWithLocale:indent:): strings quote themselves there, collections indent.
    virtual std::string descriptionWithIndent(unsigned level) const;
    // [self description], sent through the runtime so a replaced description is seen.
    objc::RefPtr<NSString> description() const;
    virtual bool isEqual(const NSObject* other) const { return this == other; }
    virtual std::size_t hash() const { return reinterpret_cast<std::size_t>(this); }

    // The object as JSON, for the simulator's event log (notification userInfo, ...).
    // Value classes give their value; anything else gives its description.
    virtual nlohmann::json jsonValue() const;

    // [self copy], sent through the runtime: a +1 object, adopted here.
    objc::RefPtr<NSObject> copy() const;
    // What copy makes (copyWithZone:). Immutable values return themselves; a class that
    // does not adopt NSCopying stops the process, as NSObject's own copy does on iOS.
    virtual objc::RefPtr<NSObject> copyWithZone() const;

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
// constructor alone makes an object the runtime does not know. alloc() sends +alloc, which
// NSObject answers with objc::createInstance of the receiving class, so a hook on a
// class's +alloc sees the platform's allocations as it sees the tweak's.

namespace platform {
// Stops the process the way an uncaught Foundation exception does on iOS, naming the
// exception ("NSRangeException", ...) and the reason.
[[noreturn]] void raiseException(const char* name, const std::string& reason);
} // namespace platform
