#pragma once
// NSData: an immutable run of bytes, held by reference: data made over shared bytes and
// its copies all read the same storage.

#include "NSObject.h"
#include "SharedBytes.h"

#include <cstdint>
#include <vector>

class NSString;

class NSData : public NSObject {
    OBJC_INTERFACE(NSData)
public:
    NSData() = default;

    static objc::RefPtr<NSData> dataWithBytes(const void*, std::size_t length);
    static objc::RefPtr<NSData> create(std::vector<std::uint8_t>);
    // Data over bytes that are already shared: no copy, however large they are.
    static objc::RefPtr<NSData> dataWithBytesNoCopy(platform::SharedBytes);
    // The contents of a file on the device (resolved under the device root); nil when
    // it cannot be read.
    static objc::RefPtr<NSData> dataWithContentsOfFile(const NSString* devicePath);

    const std::uint8_t* bytes() const { return m_bytes.data(); }
    std::size_t length() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& vector() const { return m_bytes.vector(); }
    const platform::SharedBytes& sharedBytes() const { return m_bytes; }

    std::string descriptionString() const override;
    bool isEqual(const NSObject*) const override;
    std::size_t hash() const override;
    nlohmann::json jsonValue() const override;
    objc::RefPtr<NSObject> copyWithZone() const override;

private:
    platform::SharedBytes m_bytes;
};
