#pragma once
// A run of bytes that never changes once made, shared by everyone who holds it: copying
// a SharedBytes copies a reference, never the bytes. Artwork travels this way from the
// now-playing application's queue through its record into the NSData of the info
// dictionary, so a request for the record costs the same whatever the artwork's size.
// Two values compare equal when their bytes do.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class SharedBytes {
public:
    using Storage = std::shared_ptr<const std::vector<std::uint8_t>>;

    SharedBytes()
        : SharedBytes(std::vector<std::uint8_t> {})
    {
    }
    // Takes the bytes over (no copy when they are moved in).
    SharedBytes(std::vector<std::uint8_t> bytes)
        : m_storage(std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes)))
    {
    }

    const std::vector<std::uint8_t>& vector() const { return *m_storage; }
    operator const std::vector<std::uint8_t>&() const { return *m_storage; }
    const std::vector<std::uint8_t>& operator*() const { return *m_storage; }
    const std::vector<std::uint8_t>* operator->() const { return m_storage.get(); }
    const std::uint8_t* data() const { return m_storage->data(); }
    std::size_t size() const { return m_storage->size(); }
    std::uint8_t operator[](std::size_t index) const { return (*m_storage)[index]; }
    const Storage& storage() const { return m_storage; }

    friend bool operator==(const SharedBytes& a, const SharedBytes& b)
    {
        return a.m_storage == b.m_storage || *a.m_storage == *b.m_storage;
    }
    friend bool operator==(const SharedBytes& a, const std::vector<std::uint8_t>& b) { return *a.m_storage == b; }

private:
    Storage m_storage;
};

} // namespace platform
