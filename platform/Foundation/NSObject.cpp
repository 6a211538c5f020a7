#include "NSObject.h"

#include "NSString.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void raiseException(const char* name, const std::string& reason)
{
    std::fprintf(stderr, "*** Terminating app due to uncaught exception '%s', reason: '%s'\n", name, reason.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace platform

std::string NSObject::descriptionString() const
{
    char address[2 + 2 * sizeof(void*) + 1];
    std::snprintf(address, sizeof(address), "%p", static_cast<const void*>(this));
    return std::string("<") + class_getName(isa()) + ": " + address + ">";
}

std::string NSObject::descriptionWithIndent(unsigned) const
{
    // Through the runtime, so an object whose description is replaced prints that way
    // inside collections too.
    auto text = description();
    return text ? text->string() : std::string("(null)");
}

objc::RefPtr<NSString> NSObject::description() const
{
    objc::AutoreleasePool pool;
    // The runtime's description is autoreleased; holding it here outlives the pool.
    return objc_cast<NSString>(objc_msgSend<id>(const_cast<NSObject*>(this), "description"_sel));
}

nlohmann::json NSObject::jsonValue() const
{
    return descriptionString();
}

objc::RefPtr<NSObject> NSObject::copy() const
{
    return objc::adoptRef(static_cast<NSObject*>(objc_msgSend<id>(const_cast<NSObject*>(this), "copy"_sel)));
}

objc::RefPtr<NSObject> NSObject::copyWithZone() const
{
    platform::raiseException("NSInvalidArgumentException",
        std::string("-[") + class_getName(isa()) + " copyWithZone:]: unrecognized selector sent to instance");
}
