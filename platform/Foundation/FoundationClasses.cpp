// The runtime face of Foundation's value classes: each class registered under its
// own name, with the methods that code reaches by selector (hooks, property accessors,
// key-value style calls, %@ formatting).

#include "NSArray.h"
#include "NSData.h"
#include "NSDate.h"
#include "NSDictionary.h"
#include "NSNumber.h"
#include "NSString.h"

namespace platform {

// Timers, the run loop, notifications and the file manager register beside the clock.
void registerFoundationTimeClasses();

namespace {

// Runtime methods returning objects hand them back autoreleased or, for copy, at +1.
id autoreleased(objc::RefPtr<NSObject> object)
{
    return objc_autorelease(object.leakRef());
}

id NSObject_description(NSObject* self, SEL)
{
    return autoreleased(NSString::create(self->descriptionString()));
}

bool NSObject_isEqual(NSObject* self, SEL, id other)
{
    return self->isEqual(objc_cast<NSObject>(other));
}

unsigned long NSObject_hash(NSObject* self, SEL)
{
    return self->hash();
}

id NSObject_init(NSObject* self, SEL)
{
    return self;
}

id NSObject_copy(NSObject* self, SEL)
{
    return self->copyWithZone().leakRef();
}

// +alloc: an instance of the receiving class (a subclass's alloc gives the subclass), at +1.
id NSObject_alloc(Class self, SEL)
{
    return objc::createInstance(self).leakRef();
}

Class NSObject_class(NSObject* self, SEL)
{
    return self->getClass();
}

bool NSObject_respondsToSelector(NSObject* self, SEL, SEL selector)
{
    return self->respondsToSelector(selector);
}

id NSString_description(NSString* self, SEL)
{
    return autoreleased(self);
}

// The readings every number-like class answers, with Foundation's selector names.
template<typename T>
void addNumericReadings(Class cls)
{
    objc::addMethod(cls, "floatValue", +[](T* self, SEL) { return self->floatValue(); });
    objc::addMethod(cls, "doubleValue", +[](T* self, SEL) { return self->doubleValue(); });
    objc::addMethod(cls, "boolValue", +[](T* self, SEL) { return self->boolValue(); });
    objc::addMethod(cls, "intValue", +[](T* self, SEL) { return self->intValue(); });
    objc::addMethod(cls, "longLongValue", +[](T* self, SEL) { return self->longLongValue(); });
    objc::addMethod(cls, "integerValue", +[](T* self, SEL) { return self->integerValue(); });
}

void registerNSObject()
{
    Class cls = objc::defineClass<NSObject>("NSObject", Nil);
    objc::addMethod(cls, "description", &NSObject_description);
    objc::addMethod(cls, "isEqual:", &NSObject_isEqual);
    objc::addMethod(cls, "hash", &NSObject_hash);
    objc::addMethod(cls, "init", &NSObject_init);
    objc::addMethod(cls, "copy", &NSObject_copy);
    objc::addMethod(cls, "class", &NSObject_class);
    objc::addMethod(cls, "respondsToSelector:", &NSObject_respondsToSelector);
    objc::addMethod(objc::metaclassOf(cls), "alloc", &NSObject_alloc);
    // Every block's class; blocks are made by objc::Block, never by +alloc.
    Class block = objc::registerClass("NSBlock", cls, nullptr);
    objc::registerClass("__NSMallocBlock__", block, nullptr);
}

void registerNSString()
{
    Class cls = objc::defineClass<NSString>("NSString", NSObject::staticClass());
    objc::addMethod(cls, "description", &NSString_description);
    addNumericReadings<NSString>(cls);
    objc::addMethod(cls, "UTF8String", +[](NSString* self, SEL) { return self->UTF8String(); });
    objc::addMethod(cls, "length", +[](NSString* self, SEL) -> unsigned long { return self->length(); });
    objc::addMethod(cls, "isEqualToString:", +[](NSString* self, SEL, id other) {
        return self->isEqualToString(objc_cast<NSString>(other));
    });
}

void registerNSNumber()
{
    Class cls = objc::defineClass<NSNumber>("NSNumber", NSObject::staticClass());
    NSNumber::registerClassMethods(cls);
    addNumericReadings<NSNumber>(cls);
    objc::addMethod(cls, "unsignedIntValue", +[](NSNumber* self, SEL) { return self->unsignedIntValue(); });
}

void registerNSData()
{
    Class cls = objc::defineClass<NSData>("NSData", NSObject::staticClass());
    objc::addMethod(cls, "length", +[](NSData* self, SEL) -> unsigned long { return self->length(); });
}

void registerNSDate()
{
    Class cls = objc::defineClass<NSDate>("NSDate", NSObject::staticClass());
    objc::addMethod(cls, "timeIntervalSinceReferenceDate", +[](NSDate* self, SEL) { return self->timeIntervalSinceReferenceDate(); });
}

void registerNSArray()
{
    Class cls = objc::defineClass<NSArray>("NSArray", NSObject::staticClass());
    objc::addMethod(cls, "count", +[](NSArray* self, SEL) -> unsigned long { return self->count(); });
    objc::addMethod(cls, "objectAtIndex:", +[](NSArray* self, SEL, unsigned long index) -> id { return self->objectAtIndex(index); });

    Class mutableClass = objc::defineClass<NSMutableArray>("NSMutableArray", cls);
    objc::addMethod(mutableClass, "addObject:", +[](NSMutableArray* self, SEL, id object) {
        self->addObject(objc_cast<NSObject>(object));
    });
}

void registerNSDictionary()
{
    Class cls = objc::defineClass<NSDictionary>("NSDictionary", NSObject::staticClass());
    NSDictionary::registerClassMethods(cls);
    objc::addMethod(cls, "objectForKey:", +[](NSDictionary* self, SEL, id key) -> id {
        return self->valueForKeyObject(objc_cast<NSObject>(key));
    });
    objc::addMethod(cls, "count", +[](NSDictionary* self, SEL) -> unsigned long { return self->count(); });

    Class mutableClass = objc::defineClass<NSMutableDictionary>("NSMutableDictionary", cls);
    objc::addMethod(mutableClass, "setObject:forKey:", +[](NSMutableDictionary* self, SEL, id value, id key) {
        self->setObject(objc_cast<NSObject>(value), objc_cast<NSObject>(key));
    });
    objc::addMethod(mutableClass, "removeObjectForKey:", +[](NSMutableDictionary* self, SEL, id key) {
        self->removeObjectForKey(objc_cast<NSObject>(key));
    });
}

} // namespace

void registerFoundationClasses()
{
    // Safe to call again (tests register Foundation alone, hosts the whole platform).
    if (objc_getClass("NSObject"))
        return;
    registerNSObject();
    registerNSString();
    registerNSNumber();
    registerNSData();
    registerNSDate();
    registerNSArray();
    registerNSDictionary();
    registerFoundationTimeClasses();
}

} // namespace platform
