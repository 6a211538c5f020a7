#pragma once
// The Objective-C runtime's public functions (<objc/runtime.h>, <objc/message.h>), with
// message sending made type-safe: every send checks the C++ types of the call against
// the encoding of the method it reaches and stops the process, as iOS does for an
// unrecognised selector, when they disagree.

#include "Block.h"
#include "Encoding.h"
#include "MethodCache.h"
#include "Object.h"
#include "objc.h"

#include <algorithm>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

// Classes, selectors and methods.
Class objc_getClass(const char* name);
const char* class_getName(Class);
Class class_getSuperclass(Class);
Class object_getClass(id);
bool class_isSubclassOf(Class, Class ancestor);
SEL sel_registerName(const char* name);
const char* sel_getName(SEL);

BOOL class_addMethod(Class, SEL, IMP, const char* types);
IMP class_replaceMethod(Class, SEL, IMP, const char* types);
Method class_getInstanceMethod(Class, SEL);
IMP class_getMethodImplementation(Class, SEL);
BOOL class_respondsToSelector(Class, SEL);
IMP method_getImplementation(Method);
const char* method_getTypeEncoding(Method);
SEL method_getName(Method);
// The methods a class itself defines, in the order they were added.
std::vector<Method> class_copyMethodList(Class);
// Every class (not metaclass) registered so far, in registration order.
std::vector<Class> objc_copyClassList();

// The metaclass of a class: where its class methods (+sharedInstance) live. Made at first
// use; its superclass is the superclass's metaclass. Nil for a class that does not exist.
Class objc_getMetaClass(const char* name);
namespace objc {
// The same, for a class in hand: no lookup by name (class-method sends use it).
Class metaclassOf(Class);
} // namespace objc

// Associated objects.
enum objc_AssociationPolicy : unsigned {
    OBJC_ASSOCIATION_ASSIGN = 0,
    OBJC_ASSOCIATION_RETAIN_NONATOMIC = 1,
    OBJC_ASSOCIATION_COPY_NONATOMIC = 3,
    OBJC_ASSOCIATION_RETAIN = 01401,
    OBJC_ASSOCIATION_COPY = 01403,
};
void objc_setAssociatedObject(id object, const void* key, id value, objc_AssociationPolicy);
id objc_getAssociatedObject(id object, const void* key);
void objc_removeAssociatedObjects(id object);

// Autorelease: an object returned through the runtime that nobody else owns is kept
// alive until the current pool drains (the run loop drains one after every event).
id objc_autorelease(id);

namespace objc {

// A selector name written in the source, as a template argument: each distinct literal is
// its own instantiation, so it is registered once, at its first use.
template<std::size_t N>
struct SelectorName {
    constexpr SelectorName(const char (&name)[N]) { std::copy_n(name, N, text); }
    char text[N];
};

template<SelectorName Name>
SEL internedSelector()
{
    static const SEL sel = sel_registerName(Name.text);
    return sel;
}

} // namespace objc

// "updateMedia"_sel, as @selector(updateMedia): resolved once per literal, not per use.
template<objc::SelectorName Name>
SEL operator""_sel()
{
    return objc::internedSelector<Name>();
}

namespace objc {

// Creates a runtime class. `factory` makes an instance of the class's C++ type; a class
// that has none inherits its superclass's. Aborts if the name is taken.
using InstanceFactory = RefPtr<Object> (*)(Class);
Class registerClass(const char* name, Class superclass, InstanceFactory);
// A new instance of `cls` by name alone, as alloc would give it (not yet initialised).
RefPtr<Object> createInstance(Class cls);

template<typename T>
RefPtr<Object> instanceFactory(Class cls)
{
    return make<T>(cls);
}

// Defines a runtime class backed by the C++ type T.
template<typename T>
Class defineClass(const char* name, Class superclass)
{
    if constexpr (std::is_default_constructible_v<T>)
        return registerClass(name, superclass, &instanceFactory<T>);
    else
        return registerClass(name, superclass, nullptr);
}

// Adds a method whose encoding is derived from the function's own C++ signature.
template<typename R, typename Self, typename... Args>
BOOL addMethod(Class cls, const char* name, R (*function)(Self*, SEL, Args...))
{
    return class_addMethod(cls, sel_registerName(name), reinterpret_cast<IMP>(function),
        methodEncoding<R, Args...>().c_str());
}

// The slow path of a send, when the class's cache has nothing for it: finds what `cls`
// answers `sel` with along the chain and checks the caller's encoding against it (stops
// the process with a message naming class, selector and both encodings otherwise), then
// caches the answer for sends of the same signature.
IMP lookupForSend(Class cls, SEL sel, const std::string& callerEncoding, const void* signature, bool isSuper);

template<typename R, typename... Args>
IMP implementationForSend(Class cls, SEL sel, bool isSuper)
{
    const void* signature = &sendSignature<R, Args...>;
    if (cls) [[likely]] {
        if (IMP imp = cachedImplementation(cls, sel, signature)) [[likely]]
            return imp;
    }
    return lookupForSend(cls, sel, methodEncoding<R, Args...>(), signature, isSuper);
}

template<typename T>
struct IsRefPtr : std::false_type { };
template<typename U>
struct IsRefPtr<RefPtr<U>> : std::true_type { };
// Arguments that are objects travel as `id`, whatever their static type; a strong handle
// passed as an argument is borrowed for the call. Blocks travel as blocks ("@?"), the
// receiving method checking their signature (Block.h). (Convertibility rather than
// is_base_of, which rejects the incomplete types behind Class and SEL.)
template<typename T>
using WireType = std::conditional_t<std::is_pointer_v<T> && std::is_convertible_v<T, const volatile BlockObject*>, BlockObject*,
    std::conditional_t<(std::is_pointer_v<T> && std::is_convertible_v<T, const volatile Object*>) || IsRefPtr<T>::value, id, T>>;

template<typename R, typename... Args>
R invoke(IMP imp, id self, SEL sel, Args... args)
{
    using Wire = WireType<R>;
    auto function = reinterpret_cast<Wire (*)(id, SEL, WireType<Args>...)>(imp);
    if constexpr (std::is_void_v<R>)
        function(self, sel, args...);
    else
        return static_cast<R>(function(self, sel, args...));
}

// Attaches a category's method to a class, as the runtime does when it loads the image
// that defines the category: a method of the same name in the class itself is replaced.
// This is the loader's work, not a tweak's surgery, so it is not recorded below.
void attachCategoryMethod(Class, SEL, IMP, const char* types);

// Runtime changes made after the platform finished registering its own classes, in the
// order they happened: what a loaded tweak installed.
struct Modification {
    enum class Kind {
        AddMethod,
        ReplaceMethod
    };
    Kind kind;
    std::string className;
    std::string selector;
    std::string types;
    bool succeeded;
};
void beginRecordingModifications();
void recordModification(const Modification&);
const std::vector<Modification>& recordedModifications();

// Bumped by every change to any method table, which also empties every class's cache.
unsigned long long cacheGeneration();

// Autorelease pools. The run loop wraps every event in one; hosts and tests may nest more.
class AutoreleasePool {
public:
    AutoreleasePool();
    ~AutoreleasePool();
    AutoreleasePool(const AutoreleasePool&) = delete;
    AutoreleasePool& operator=(const AutoreleasePool&) = delete;

private:
    std::size_t m_mark;
};

} // namespace objc

// Sends `sel` to `self`: nil answers zero, anything else runs the method its class
// chain answers with, after the type check.
template<typename R = void, typename... Args>
R objc_msgSend(id self, SEL sel, Args... args)
{
    if (!self) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R {};
    }
    IMP imp = objc::implementationForSend<objc::WireType<R>, objc::WireType<std::decay_t<Args>>...>(self->isa(), sel, false);
    return objc::invoke<R, objc::WireType<std::decay_t<Args>>...>(imp, self, sel, args...);
}

// Sends `sel` to `self`, starting the lookup at `superclass` (the class above the one
// whose method is running): [super sel].
template<typename R = void, typename... Args>
R objc_msgSendSuper(Class superclass, id self, SEL sel, Args... args)
{
    IMP imp = objc::implementationForSend<objc::WireType<R>, objc::WireType<std::decay_t<Args>>...>(superclass, sel, true);
    return objc::invoke<R, objc::WireType<std::decay_t<Args>>...>(imp, self, sel, args...);
}

// Sends `sel` to the class `cls` itself, [cls sel]: looked up among its class methods (its
// metaclass's), with the same type check. The method receives the class as `self`. (Only a
// Class selects this form: nil still goes to the one above.)
template<typename R = void, typename ClassType, typename... Args>
    requires std::is_same_v<ClassType, Class>
R objc_msgSend(ClassType cls, SEL sel, Args... args)
{
    if (!cls) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R {};
    }
    IMP imp = objc::implementationForSend<objc::WireType<R>, objc::WireType<std::decay_t<Args>>...>(objc::metaclassOf(cls), sel, false);
    return objc::invoke<R, objc::WireType<std::decay_t<Args>>...>(imp, reinterpret_cast<id>(cls), sel, args...);
}
