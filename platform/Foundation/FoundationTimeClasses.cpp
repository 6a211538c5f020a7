// The runtime face of Foundation's time and messaging classes: timers, the run loop,
// notifications and the file manager, with the methods reached by selector.

#include "NSDictionary.h"
#include "NSFileManager.h"
#include "NSNotification.h"
#include "NSNotificationCenter.h"
#include "NSRunLoop.h"
#include "NSString.h"
#include "NSTimer.h"

namespace platform {

namespace {

id NSNotification_name(NSNotification* self, SEL) { return self->name(); }
id NSNotification_object(NSNotification* self, SEL) { return self->object(); }

void NSNotificationCenter_addObserver(NSNotificationCenter* self, SEL, id observer, SEL selector, id name, id object)
{
    self->addObserverNow(observer, selector, objc_cast<NSString>(name), object);
}

void NSNotificationCenter_removeObserver(NSNotificationCenter* self, SEL, id observer)
{
    self->removeObserver(observer);
}

void NSNotificationCenter_removeObserverForName(NSNotificationCenter* self, SEL, id observer, id name, id object)
{
    self->removeObserver(observer, objc_cast<NSString>(name), object);
}

void NSNotificationCenter_postNotificationName(NSNotificationCenter* self, SEL, id name, id object, id userInfo)
{
    self->postNotificationNameNow(objc_cast<NSString>(name), object, objc_cast<NSDictionary>(userInfo));
}

void NSNotificationCenter_postNotification(NSNotificationCenter* self, SEL, id notification)
{
    self->postNotification(objc_cast<NSNotification>(notification));
}

} // namespace

void registerFoundationTimeClasses()
{
    Class timer = objc::defineClass<NSTimer>("NSTimer", NSObject::staticClass());
    objc::addMethod(timer, "invalidate", &NSTimer::invalidateMethod);
    objc::addMethod(timer, "isValid", &NSTimer::isValidMethod);
    objc::addMethod(timer, "fire", &NSTimer::fireMethod);
    objc::addMethod(objc::metaclassOf(timer), "scheduledTimerWithTimeInterval:target:selector:userInfo:repeats:", &NSTimer::scheduledWithTargetMethod);
    objc::addMethod(objc::metaclassOf(timer), "scheduledTimerWithTimeInterval:repeats:block:", &NSTimer::scheduledWithBlockMethod);

    Class runLoop = objc::defineClass<NSRunLoop>("NSRunLoop", NSObject::staticClass());
    objc::addMethod(runLoop, "runUntilDate:", &NSRunLoop::runUntilDateMethod);

    Class notification = objc::defineClass<NSNotification>("NSNotification", NSObject::staticClass());
    objc::addMethod(notification, "name", &NSNotification_name);
    objc::addMethod(notification, "object", &NSNotification_object);
    objc::addMethod(notification, "userInfo", &NSNotification::userInfoMethod);

    Class center = objc::defineClass<NSNotificationCenter>("NSNotificationCenter", NSObject::staticClass());
    objc::addMethod(objc::metaclassOf(center), "defaultCenter", &NSNotificationCenter::defaultCenterMethod);
    objc::addMethod(center, "addObserver:selector:name:object:", &NSNotificationCenter_addObserver);
    objc::addMethod(center, "removeObserver:", &NSNotificationCenter_removeObserver);
    objc::addMethod(center, "removeObserver:name:object:", &NSNotificationCenter_removeObserverForName);
    objc::addMethod(center, "postNotificationName:object:userInfo:", &NSNotificationCenter_postNotificationName);
    objc::addMethod(center, "postNotification:", &NSNotificationCenter_postNotification);
    // What addObserverForName hands out: a plain object standing for the registration.
    objc::defineClass<NSObject>("__NSObserver", NSObject::staticClass());

    Class fileManager = objc::defineClass<NSFileManager>("NSFileManager", NSObject::staticClass());
    objc::addMethod(objc::metaclassOf(fileManager), "defaultManager", &NSFileManager::defaultManagerMethod);
    objc::addMethod(fileManager, "fileExistsAtPath:", &NSFileManager::fileExistsMethod);
}

} // namespace platform
