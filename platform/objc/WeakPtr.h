#pragma once
// Zeroing weak references, in the manner of SerenityOS's AK/WeakPtr. An object makes
// one shared link the first time something refers to it weakly; its death clears the
// link, so every weak pointer through it reads null from then on.

#include "Object.h"

namespace objc {

template<typename T>
class WeakPtr {
public:
    WeakPtr() = default;
    WeakPtr(std::nullptr_t) { }
    WeakPtr(T* object)
    {
        if (object)
            m_link = object->weakLink();
    }
    WeakPtr(const RefPtr<T>& object)
        : WeakPtr(object.get())
    {
    }
    template<typename U>
    WeakPtr(const WeakPtr<U>& other)
        : WeakPtr(static_cast<T*>(other.get()))
    {
    }

    // The object, or null once it has started to die.
    T* get() const
    {
        if (!m_link)
            return nullptr;
        Object* object = m_link->object();
        if (!object || object->isDeallocating())
            return nullptr;
        return static_cast<T*>(object);
    }
    // A strong reference for the time of a call: null once the object is dying.
    RefPtr<T> strong() const { return RefPtr<T>(get()); }

    explicit operator bool() const { return get(); }
    T* operator->() const { return get(); }
    void clear() { m_link = nullptr; }

private:
    RefPtr<WeakLink> m_link;
};

} // namespace objc
