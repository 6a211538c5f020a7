#include "NSNotification.h"

#include "NSDictionary.h"
#include "NSString.h"

#include <cstdio>

using objc::RefPtr;

NSNotification::NSNotification() = default;
NSNotification::~NSNotification() = default;

RefPtr<NSNotification> NSNotification::create(const NSString* name, id object, NSDictionary* userInfo)
{
    auto notification = alloc();
    // A copy, as Foundation takes one: the poster may reuse a mutable string.
    notification->m_name = NSString::create(name ? name->string() : std::string());
    notification->m_object = object;
    notification->m_userInfo = userInfo;
    return notification;
}

std::string NSNotification::descriptionString() const
{
    char address[2 + 2 * sizeof(void*) + 1];
    std::snprintf(address, sizeof(address), "%p", static_cast<const void*>(this));
    std::string text = std::string("NSConcreteNotification ") + address + " {name = " + m_name->string();
    if (auto* sender = objc_cast<NSObject>(m_object.get()))
        text += "; object = " + sender->descriptionString();
    if (m_userInfo)
        text += "; userInfo = " + m_userInfo->descriptionString();
    return text + "}";
}

id NSNotification::userInfoMethod(NSNotification* self, SEL)
{
    return self->m_userInfo.get();
}
