#pragma once
// Messages whose selector is written at the call site, as [receiver selector] is in
// Objective-C: objc_send<"setHidden:">(view, YES), objc_sendToClass<"SBMediaController",
// "sharedInstance", id>(). They are sent exactly as objc_msgSend sends them, and each call
// site also leaves a record in the library that contains it: an exported symbol
// objc::SendSiteRecord<...>::site holding the receiver's static class and the selector.
// Like a Mach-O image's selector references, the records let a test list every message a
// built library sends, and check each against its receiver's class, whether or not the
// code that sends it ever runs.
//
// (GCC drops a section attribute on template instantiations, so the records are found by
// their symbol names rather than in a section of their own.)

#include "runtime.h"

#include <cstddef>
#include <string_view>

namespace objc {

// Selector and class names are objc::SelectorName literals (runtime.h).

// The receiver's static class as the compiler spells it ("UIView", "objc::Object").
template<typename T>
constexpr std::string_view staticTypeName()
{
    std::string_view function = __PRETTY_FUNCTION__;
    std::size_t start = function.find("T = ") + 4;
    std::size_t end = function.find_first_of(";]", start);
    return function.substr(start, end - start);
}

// One call site. Fixed-size text, so a record reads the same from the library's file as in
// memory. `kind` is '-' for a message to an instance, '+' for one to a class; `types` is
// the encoding the message is sent with ("v@:B"), which the method it reaches must have.
struct SendSite {
    char kind;
    char receiver[63];
    char selector[128];
    char types[64];
};

template<char Kind, SelectorName Receiver, SelectorName Selector, SelectorName Types>
constexpr SendSite makeSendSite()
{
    static_assert(sizeof(Receiver.text) <= 63 && sizeof(Selector.text) <= 128 && sizeof(Types.text) <= 64, "name too long for a send-site record");
    SendSite site {};
    site.kind = Kind;
    for (std::size_t i = 0; i < sizeof(Receiver.text); ++i)
        site.receiver[i] = Receiver.text[i];
    for (std::size_t i = 0; i < sizeof(Selector.text); ++i)
        site.selector[i] = Selector.text[i];
    for (std::size_t i = 0; i < sizeof(Types.text); ++i)
        site.types[i] = Types.text[i];
    return site;
}

// Emitted only where a call site refers to it (no `used`): a library holds the records of
// the sends its own code makes, not of every wrapper its headers declare.
template<char Kind, SelectorName Receiver, SelectorName Selector, SelectorName Types>
struct SendSiteRecord {
    static const SendSite site;
};

template<char Kind, SelectorName Receiver, SelectorName Selector, SelectorName Types>
const SendSite SendSiteRecord<Kind, Receiver, Selector, Types>::site = makeSendSite<Kind, Receiver, Selector, Types>();

constexpr std::size_t encodingLength(const char* text)
{
    std::size_t length = 0;
    while (text[length])
        ++length;
    return length;
}

// The encoding objc_msgSend checks, as a literal: R, then "@:", then each argument.
template<typename R, typename... Args>
struct MessageEncodingLiteral {
    static constexpr const char* parts[] = { TypeEncoding<std::remove_cv_t<R>>::value, "@:", TypeEncoding<std::remove_cv_t<Args>>::value... };
    static constexpr std::size_t size = [] {
        std::size_t total = 1;
        for (const char* part : parts)
            total += encodingLength(part);
        return total;
    }();
    static constexpr auto literal()
    {
        char text[size] {};
        std::size_t at = 0;
        for (const char* part : parts) {
            for (std::size_t i = 0; part[i]; ++i)
                text[at++] = part[i];
        }
        return SelectorName<size>(text);
    }
};

template<typename T>
struct StaticTypeNameLiteral {
    static constexpr std::string_view view = staticTypeName<T>();
    static constexpr std::size_t size = view.size() + 1;
    static constexpr auto literal()
    {
        char text[size] {};
        for (std::size_t i = 0; i < view.size(); ++i)
            text[i] = view[i];
        return SelectorName<size>(text);
    }
};

// Keeps the record of a call site in the library, whatever the optimiser does with the call.
inline void keepSendSite(const SendSite* site)
{
    asm volatile("" : : "r"(site));
}

template<SelectorName Selector>
SEL selectorNamed()
{
    return internedSelector<Selector>();
}

} // namespace objc

// [receiver selector args...]: sent through the runtime, recorded with the receiver's
// static class. Nil answers zero, as objc_msgSend does.
template<objc::SelectorName Selector, typename R = void, typename Receiver, typename... Args>
R objc_send(Receiver* receiver, Args... args)
{
    using Types = objc::MessageEncodingLiteral<objc::WireType<R>, objc::WireType<std::decay_t<Args>>...>;
    using Record = objc::SendSiteRecord<'-', objc::StaticTypeNameLiteral<std::remove_cv_t<Receiver>>::literal(), Selector, Types::literal()>;
    objc::keepSendSite(&Record::site);
    return objc_msgSend<R>(const_cast<std::remove_cv_t<Receiver>*>(receiver), objc::selectorNamed<Selector>(), args...);
}

namespace objc {

// [cls selector args...] where the caller already holds the class (OBJC_INTERFACE's +alloc),
// recorded as a class method of the class named ClassName.
template<SelectorName ClassName, SelectorName Selector, typename R = void, typename... Args>
R sendToClass(Class cls, Args... args)
{
    using Types = MessageEncodingLiteral<WireType<R>, WireType<std::decay_t<Args>>...>;
    using Record = SendSiteRecord<'+', ClassName, Selector, Types::literal()>;
    keepSendSite(&Record::site);
    return objc_msgSend<R>(cls, selectorNamed<Selector>(), args...);
}

} // namespace objc

// [ClassName selector args...]: a class method of the class named ClassName, looked up by
// name at first use. A class that does not exist answers zero, like a message to nil.
template<objc::SelectorName ClassName, objc::SelectorName Selector, typename R = void, typename... Args>
R objc_sendToClass(Args... args)
{
    static Class cls = nullptr;
    if (!cls)
        cls = objc_getClass(ClassName.text);
    return objc::sendToClass<ClassName, Selector, R>(cls, args...);
}

// A convenience constructor ([UIColor clearColor], [NSNumber numberWithDouble:]) whose
// autoreleased result the caller keeps as a strong reference of type T. The pool around
// the send ends the autorelease at once, so the object lives exactly as long as the
// caller holds it, with or without a run loop draining pools.
template<objc::SelectorName ClassName, objc::SelectorName Selector, typename T, typename... Args>
objc::RefPtr<T> objc_sendToClassForObject(Args... args)
{
    objc::AutoreleasePool pool;
    return objc::RefPtr<T>(static_cast<T*>(objc_sendToClass<ClassName, Selector, id>(args...)));
}
