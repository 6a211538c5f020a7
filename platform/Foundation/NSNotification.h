#pragma once
// NSNotification: what the notification centre hands its observers, a name with an
// optional sender (object) and an optional dictionary of details.

#include "NSObject.h"

class NSDictionary;

class NSNotification : public NSObject {
    OBJC_INTERFACE(NSNotification)
public:
    NSNotification();
    ~NSNotification() override;

    // The name is copied; the object and the dictionary are retained.
    static objc::RefPtr<NSNotification> create(const NSString* name, id object, NSDictionary* userInfo);

    NSString* name() const { return m_name.get(); }
    id object() const { return m_object.get(); }
    // -userInfo, through the runtime (a dictionary is an object, only declared here).
    NSDictionary* userInfo() const { return reinterpret_cast<NSDictionary*>(objc_send<"userInfo", id>(this)); }

    std::string descriptionString() const override;

    // The runtime's implementation of -userInfo.
    static id userInfoMethod(NSNotification*, SEL);

private:
    objc::RefPtr<NSString> m_name;
    objc::RefPtr<objc::Object> m_object;
    objc::RefPtr<NSDictionary> m_userInfo;
};
