#pragma once
// The root of every runtime object: its class (isa) and an intrusive reference count.
//
// Everything runs on one main thread, as in SpringBoard, so the count is a plain integer.
// An object starts with a count of one that objc::make() hands to a RefPtr. When the
// count reaches zero the object is deallocated: weak references are cleared first, then
// its associated objects are released, then it is destroyed.

#include "RefPtr.h"
#include "objc.h"

#include <cassert>
#include <utility>

namespace objc {

// The shared control block behind weak pointers. It outlives the object when weak
// pointers still hold it, and reads null once the object is gone.
class WeakLink {
public:
    explicit WeakLink(Object* object)
        : m_object(object)
    {
    }
    void retain() { ++m_refCount; }
    void release()
    {
        if (!--m_refCount)
            delete this;
    }
    Object* object() const { return m_object; }
    void revoke() { m_object = nullptr; }

private:
    Object* m_object;
    unsigned m_refCount = 1;
};

class Object {
public:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    Class isa() const { return m_isa; }

    void retain()
    {
        assert(m_adopted || m_isa == nullptr);
        assert(!m_deallocating && "retain during deallocation");
        ++m_refCount;
    }
    void release();
    unsigned retainCount() const { return m_refCount; }
    bool isDeallocating() const { return m_deallocating; }

    WeakLink* weakLink();

protected:
    Object() = default;
    virtual ~Object();

private:
    template<typename T, typename... Args>
    friend RefPtr<T> make(Class, Args&&...);

    void dealloc();

    Class m_isa = nullptr;
    unsigned m_refCount = 1;
    bool m_deallocating = false;
    bool m_adopted = false;
    WeakLink* m_weakLink = nullptr;
};

// Allocates an instance of the C++ type T that answers as the runtime class `cls`.
// The constructor is the allocation (fields take their defaults); anything a class does
// when initialised belongs in its init methods, sent once the object has its class.
template<typename T, typename... Args>
RefPtr<T> make(Class cls, Args&&... args)
{
    T* object = new T(std::forward<Args>(args)...);
    object->m_isa = cls;
    object->m_adopted = true;
    return adoptRef(object);
}

} // namespace objc
