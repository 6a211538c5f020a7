#include "runtime.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

struct objc_selector {
    std::string name;
};

// A method's encoding as it was given, and as sends compare it. A process has a few dozen
// distinct encodings among hundreds of methods, so each is kept once (interned below).
struct MethodEncoding {
    std::string types;
    std::string normalizedTypes;
};

struct objc_method {
    SEL name;
    IMP imp;
    const MethodEncoding* encoding;
};

namespace objc {
struct MethodRecord : objc_method { };

// A class as the runtime keeps it: the cache the inlined send reads comes first (in
// objc_class), the rest is only read on the slow path.
struct ClassRecord : objc_class {
    std::string name;
    Class superclass = nullptr;
    InstanceFactory factory = nullptr;
    // Where the class methods live, made at first use (a class-method send reads it).
    Class metaclass = nullptr;
    // Own methods; records are never removed, and a node's element never moves, so
    // pointers to them stay valid.
    std::unordered_map<SEL, MethodRecord> methods;
    std::vector<Method> methodOrder;
};
} // namespace objc

namespace {

using objc::ClassRecord;
using objc::MethodCache;
using objc::MethodCacheEntry;
using objc::MethodRecord;

// The table every empty cache points at: one empty bucket, never written.
MethodCacheEntry s_emptyBuckets[1] = { { nullptr, nullptr, nullptr } };

ClassRecord& details(Class cls)
{
    return static_cast<ClassRecord&>(*cls);
}

// The runtime's tables live for the whole process and are never destroyed, so nothing
// depends on the order of static destruction at exit.
struct RuntimeState {
    std::unordered_map<std::string, Class> classes;
    // Every class, for emptying their caches; registration order.
    std::vector<Class> allClasses;
    // Keyed by a view of the selector's own name: the name is stored once.
    std::unordered_map<std::string_view, SEL> selectors;
    // Keyed by a view of the encoding's own text.
    std::unordered_map<std::string_view, const MethodEncoding*> encodings;
    unsigned long long generation = 1;
    // Whether any cache may hold an entry: registration adds thousands of methods before
    // the first send fills a cache, and each would otherwise walk every class for nothing.
    bool cachesFilled = false;
    bool recording = false;
    std::vector<objc::Modification> modifications;
    // Associations by object, then by key. A std::map keeps per-object iteration stable.
    struct Association {
        objc_AssociationPolicy policy;
        id value;
    };
    std::unordered_map<id, std::map<const void*, Association>> associations;
    std::vector<id> autoreleased;
    std::size_t openPools = 0;
};

RuntimeState& state()
{
    static RuntimeState* runtime = new RuntimeState;
    return *runtime;
}

[[noreturn]] void fatal(const std::string& message)
{
    std::fprintf(stderr, "*** Terminating app due to uncaught exception 'NSInvalidArgumentException', reason: '%s'\n", message.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string describe(Class cls, SEL sel)
{
    return std::string("-[") + (cls ? details(cls).name : "nil") + " " + (sel ? sel->name : "(null)") + "]";
}

void record(objc::Modification::Kind kind, Class cls, SEL sel, const std::string& types, bool succeeded)
{
    objc::recordModification({ kind, details(cls).name, sel->name, types, succeeded });
}

MethodRecord* ownMethod(Class cls, SEL sel)
{
    auto& methods = details(cls).methods;
    auto it = methods.find(sel);
    return it == methods.end() ? nullptr : &it->second;
}

const MethodRecord* findMethod(Class cls, SEL sel)
{
    for (Class c = cls; c; c = details(c).superclass) {
        if (const MethodRecord* found = ownMethod(c, sel))
            return found;
    }
    return nullptr;
}

void emptyCache(MethodCache& cache)
{
    if (cache.buckets != s_emptyBuckets)
        delete[] cache.buckets;
    cache = { s_emptyBuckets, 0, 0 };
}

// A change to one class's methods can change what any subclass answers, and classes do
// not know their subclasses: every cache goes. Method tables only change while a process
// sets up (registration, tweak hooks), so this is rare.
void methodsDidChange()
{
    auto& runtime = state();
    ++runtime.generation;
    if (!runtime.cachesFilled)
        return;
    runtime.cachesFilled = false;
    for (Class cls : runtime.allClasses)
        emptyCache(cls->cache);
}

void insertIntoCache(MethodCache& cache, SEL sel, IMP imp, const void* signature)
{
    // At most three quarters full, so a probe always ends at an empty bucket.
    if ((cache.occupied + 1) * 4 > (cache.mask + 1) * 3) {
        MethodCache old = cache;
        std::uint32_t capacity = old.buckets == s_emptyBuckets ? 8 : (old.mask + 1) * 2;
        cache = { new MethodCacheEntry[capacity](), capacity - 1, 0 };
        for (std::uint32_t i = 0; i <= old.mask; ++i) {
            if (old.buckets[i].selector)
                insertIntoCache(cache, old.buckets[i].selector, old.buckets[i].imp, old.buckets[i].signature);
        }
        emptyCache(old);
    }
    for (std::uint32_t i = objc::selectorBucket(sel, cache.mask);; i = (i + 1) & cache.mask) {
        MethodCacheEntry& entry = cache.buckets[i];
        if (entry.selector == sel) {
            // Another signature passed the check: it is the one remembered from now on.
            entry.signature = signature;
            return;
        }
        if (!entry.selector) {
            entry = { sel, imp, signature };
            ++cache.occupied;
            return;
        }
    }
}

const MethodEncoding* internedEncoding(const char* types)
{
    auto& encodings = state().encodings;
    const char* given = types ? types : "";
    auto it = encodings.find(given);
    if (it != encodings.end())
        return it->second;
    auto* encoding = new MethodEncoding { given, objc::normalizeEncoding(given) };
    encodings.emplace(encoding->types, encoding);
    return encoding;
}

MethodRecord* insertMethod(Class cls, SEL sel, IMP imp, const char* types)
{
    MethodRecord& method = details(cls).methods[sel];
    method.name = sel;
    method.imp = imp;
    method.encoding = internedEncoding(types);
    details(cls).methodOrder.push_back(&method);
    methodsDidChange();
    return &method;
}

} // namespace

namespace objc {

std::string normalizeEncoding(const char* types)
{
    std::string result;
    int depth = 0;
    for (const char* p = types; *p; ++p) {
        char c = *p;
        if (c == '{' || c == '(' || c == '[')
            ++depth;
        if (c == '}' || c == ')' || c == ']')
            --depth;
        if (depth == 0 && (c >= '0' && c <= '9'))
            continue;
        if (depth == 0 && std::string_view("rnNoORV").find(c) != std::string_view::npos)
            continue;
        result += c;
    }
    return result;
}

Class registerClass(const char* name, Class superclass, InstanceFactory factory)
{
    auto& runtime = state();
    if (runtime.classes.count(name))
        fatal(std::string("class ") + name + " is already registered");
    auto* cls = new ClassRecord;
    cls->cache = { s_emptyBuckets, 0, 0 };
    cls->name = name;
    cls->superclass = superclass;
    cls->factory = factory;
    runtime.classes.emplace(name, cls);
    runtime.allClasses.push_back(cls);
    return cls;
}

RefPtr<Object> createInstance(Class cls)
{
    for (Class c = cls; c; c = details(c).superclass) {
        if (details(c).factory)
            return details(c).factory(cls);
    }
    fatal(std::string("+[") + (cls ? details(cls).name : "nil") + " alloc]: class has no instance type");
}

IMP lookupForSend(Class cls, SEL sel, const std::string& callerEncoding, const void* signature, bool isSuper)
{
    const MethodRecord* method = findMethod(cls, sel);
    if (!method) {
        if (isSuper)
            fatal(describe(cls, sel) + ": unrecognized selector sent to super");
        fatal(describe(cls, sel) + ": unrecognized selector sent to instance");
    }
    if (method->encoding->normalizedTypes != callerEncoding) {
        fatal(describe(cls, sel) + ": type encoding mismatch: the method has '" + method->encoding->types
            + "', the message was sent as '" + callerEncoding + "'");
    }
    state().cachesFilled = true;
    insertIntoCache(cls->cache, sel, method->imp, signature);
    return method->imp;
}

void attachCategoryMethod(Class cls, SEL sel, IMP imp, const char* types)
{
    if (!cls || !sel)
        return;
    if (MethodRecord* own = ownMethod(cls, sel)) {
        own->imp = imp;
        methodsDidChange();
        return;
    }
    insertMethod(cls, sel, imp, types);
}

void beginRecordingModifications()
{
    state().recording = true;
    state().modifications.clear();
}

void recordModification(const Modification& modification)
{
    if (state().recording)
        state().modifications.push_back(modification);
}

const std::vector<Modification>& recordedModifications()
{
    return state().modifications;
}

unsigned long long cacheGeneration()
{
    return state().generation;
}

AutoreleasePool::AutoreleasePool()
    : m_mark(state().autoreleased.size())
{
    ++state().openPools;
}

AutoreleasePool::~AutoreleasePool()
{
    auto& runtime = state();
    // Releasing can autorelease more objects; drain until this pool's part is empty.
    while (runtime.autoreleased.size() > m_mark) {
        id object = runtime.autoreleased.back();
        runtime.autoreleased.pop_back();
        object->release();
    }
    --runtime.openPools;
}

} // namespace objc

Class objc_getClass(const char* name)
{
    auto& classes = state().classes;
    auto it = classes.find(name);
    return it == classes.end() ? nullptr : it->second;
}

Class objc_getMetaClass(const char* name)
{
    return objc::metaclassOf(objc_getClass(name));
}

Class objc::metaclassOf(Class cls)
{
    if (!cls)
        return nullptr;
    ClassRecord& record = details(cls);
    if (record.metaclass)
        return record.metaclass;
    auto* metaclass = new ClassRecord;
    metaclass->cache = { s_emptyBuckets, 0, 0 };
    metaclass->name = record.name;
    metaclass->superclass = metaclassOf(record.superclass);
    record.metaclass = metaclass;
    // Among every class, so a method change empties its cache too.
    state().allClasses.push_back(metaclass);
    return metaclass;
}

const char* class_getName(Class cls)
{
    return cls ? details(cls).name.c_str() : "nil";
}

Class class_getSuperclass(Class cls)
{
    return cls ? details(cls).superclass : nullptr;
}

Class object_getClass(id object)
{
    return object ? object->isa() : nullptr;
}

bool class_isSubclassOf(Class cls, Class ancestor)
{
    for (Class c = cls; c; c = details(c).superclass) {
        if (c == ancestor)
            return true;
    }
    return false;
}

SEL sel_registerName(const char* name)
{
    auto& selectors = state().selectors;
    auto it = selectors.find(name);
    if (it != selectors.end())
        return it->second;
    SEL sel = new objc_selector { name };
    selectors.emplace(sel->name, sel);
    return sel;
}

const char* sel_getName(SEL sel)
{
    return sel ? sel->name.c_str() : "(null)";
}

BOOL class_addMethod(Class cls, SEL sel, IMP imp, const char* types)
{
    if (!cls || !sel)
        return NO;
    // Only the class's own table counts: an inherited method is overridden, an own one kept.
    if (ownMethod(cls, sel)) {
        record(objc::Modification::Kind::AddMethod, cls, sel, types ? types : "", false);
        return NO;
    }
    insertMethod(cls, sel, imp, types);
    record(objc::Modification::Kind::AddMethod, cls, sel, types ? types : "", true);
    return YES;
}

IMP class_replaceMethod(Class cls, SEL sel, IMP imp, const char* types)
{
    if (!cls || !sel)
        return nullptr;
    if (MethodRecord* own = ownMethod(cls, sel)) {
        IMP previous = own->imp;
        own->imp = imp;
        methodsDidChange();
        return previous;
    }
    insertMethod(cls, sel, imp, types);
    return nullptr;
}

Method class_getInstanceMethod(Class cls, SEL sel)
{
    return const_cast<MethodRecord*>(findMethod(cls, sel));
}

IMP class_getMethodImplementation(Class cls, SEL sel)
{
    const MethodRecord* method = findMethod(cls, sel);
    return method ? method->imp : nullptr;
}

BOOL class_respondsToSelector(Class cls, SEL sel)
{
    return findMethod(cls, sel) != nullptr;
}

IMP method_getImplementation(Method method)
{
    return method ? method->imp : nullptr;
}

const char* method_getTypeEncoding(Method method)
{
    return method ? method->encoding->types.c_str() : nullptr;
}

SEL method_getName(Method method)
{
    return method ? method->name : nullptr;
}

std::vector<Method> class_copyMethodList(Class cls)
{
    return cls ? details(cls).methodOrder : std::vector<Method> {};
}

std::vector<Class> objc_copyClassList()
{
    auto& runtime = state();
    std::vector<Class> classes;
    for (Class cls : runtime.allClasses) {
        // Metaclasses share their class's name but are not what the name registers.
        auto it = runtime.classes.find(details(cls).name);
        if (it != runtime.classes.end() && it->second == cls)
            classes.push_back(cls);
    }
    return classes;
}

void objc_setAssociatedObject(id object, const void* key, id value, objc_AssociationPolicy policy)
{
    if (!object)
        return;
    auto& runtime = state();
    // Take the new reference before touching the table, swap the old entry out, and
    // release it only afterwards: a release may run code that sets associations again.
    id newValue = value;
    if (value && (policy == OBJC_ASSOCIATION_COPY_NONATOMIC || policy == OBJC_ASSOCIATION_COPY)) {
        static SEL copySel = sel_registerName("copy");
        newValue = class_respondsToSelector(value->isa(), copySel) ? objc_msgSend<id>(value, copySel) : value;
        if (newValue == value)
            value->retain();
        // A copy method returns a +1 object, which the table now owns.
    } else if (value && policy != OBJC_ASSOCIATION_ASSIGN) {
        value->retain();
    }

    RuntimeState::Association old { OBJC_ASSOCIATION_ASSIGN, nullptr };
    auto& table = runtime.associations[object];
    auto it = table.find(key);
    if (it != table.end()) {
        old = it->second;
        if (value)
            it->second = { policy, newValue };
        else
            table.erase(it);
    } else if (value) {
        table.emplace(key, RuntimeState::Association { policy, newValue });
    }
    if (table.empty())
        runtime.associations.erase(object);
    if (old.value && old.policy != OBJC_ASSOCIATION_ASSIGN)
        old.value->release();
}

id objc_getAssociatedObject(id object, const void* key)
{
    auto& associations = state().associations;
    auto table = associations.find(object);
    if (table == associations.end())
        return nil;
    auto it = table->second.find(key);
    return it == table->second.end() ? nil : it->second.value;
}

void objc_removeAssociatedObjects(id object)
{
    auto& associations = state().associations;
    auto table = associations.find(object);
    if (table == associations.end())
        return;
    // One swap clears the whole table before any value is released.
    auto entries = std::move(table->second);
    associations.erase(table);
    for (auto& [key, association] : entries) {
        if (association.value && association.policy != OBJC_ASSOCIATION_ASSIGN)
            association.value->release();
    }
}

id objc_autorelease(id object)
{
    if (object)
        state().autoreleased.push_back(object);
    return object;
}
