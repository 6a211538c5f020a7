#pragma once
// Strong references to intrusively counted objects, in the manner of WebKit's RefPtr.
// A RefPtr retains what it holds and releases it when it lets go. Objects are born
// with a count of one, which adoptRef() takes over without retaining again.

#include <cstddef>
#include <utility>

namespace objc {

template<typename T>
class RefPtr;
template<typename T>
RefPtr<T> adoptRef(T*);

template<typename T>
class RefPtr {
public:
    constexpr RefPtr() = default;
    constexpr RefPtr(std::nullptr_t) { }
    RefPtr(T* ptr)
        : m_ptr(ptr)
    {
        if (m_ptr)
            m_ptr->retain();
    }
    RefPtr(const RefPtr& other)
        : RefPtr(other.m_ptr)
    {
    }
    RefPtr(RefPtr&& other) noexcept
        : m_ptr(std::exchange(other.m_ptr, nullptr))
    {
    }
    template<typename U>
    RefPtr(const RefPtr<U>& other)
        : RefPtr(static_cast<T*>(other.get()))
    {
    }
    template<typename U>
    RefPtr(RefPtr<U>&& other)
        : m_ptr(static_cast<T*>(other.leakRef()))
    {
    }
    ~RefPtr() { clear(); }

    RefPtr& operator=(const RefPtr& other)
    {
        RefPtr copy(other);
        swap(copy);
        return *this;
    }
    RefPtr& operator=(RefPtr&& other) noexcept
    {
        RefPtr moved(std::move(other));
        swap(moved);
        return *this;
    }
    template<typename U>
    RefPtr& operator=(const RefPtr<U>& other)
    {
        RefPtr copy(other);
        swap(copy);
        return *this;
    }
    template<typename U>
    RefPtr& operator=(RefPtr<U>&& other)
    {
        RefPtr moved(std::move(other));
        swap(moved);
        return *this;
    }
    RefPtr& operator=(T* ptr)
    {
        RefPtr copy(ptr);
        swap(copy);
        return *this;
    }
    RefPtr& operator=(std::nullptr_t)
    {
        clear();
        return *this;
    }

    // Lets go of the object. The pointer is cleared before the release, so code that
    // runs while the object dies never sees a half-released handle.
    void clear()
    {
        if (T* old = std::exchange(m_ptr, nullptr))
            old->release();
    }

    [[nodiscard]] T* leakRef() { return std::exchange(m_ptr, nullptr); }
    void swap(RefPtr& other) noexcept { std::swap(m_ptr, other.m_ptr); }

    T* get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    T& operator*() const { return *m_ptr; }
    explicit operator bool() const { return m_ptr; }
    operator T*() const { return m_ptr; }

private:
    friend RefPtr adoptRef<T>(T*);
    enum AdoptTag { Adopt };
    RefPtr(T* ptr, AdoptTag)
        : m_ptr(ptr)
    {
    }

    T* m_ptr = nullptr;
};

// Takes over the reference an object was born with (or that a +1 call returned).
template<typename T>
RefPtr<T> adoptRef(T* ptr)
{
    return RefPtr<T>(ptr, RefPtr<T>::Adopt);
}

template<typename T, typename U>
RefPtr<T> static_pointer_cast(const RefPtr<U>& ptr)
{
    return RefPtr<T>(static_cast<T*>(ptr.get()));
}

} // namespace objc
