#include "NSData.h"

#include "NSString.h"
#include "Platform/Platform.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

using objc::RefPtr;

RefPtr<NSData> NSData::dataWithBytes(const void* bytes, std::size_t length)
{
    auto begin = static_cast<const std::uint8_t*>(bytes);
    return create(length ? std::vector<std::uint8_t>(begin, begin + length) : std::vector<std::uint8_t>());
}

RefPtr<NSData> NSData::create(std::vector<std::uint8_t> bytes)
{
    return dataWithBytesNoCopy(platform::SharedBytes(std::move(bytes)));
}

RefPtr<NSData> NSData::dataWithBytesNoCopy(platform::SharedBytes bytes)
{
    auto data = alloc();
    data->m_bytes = std::move(bytes);
    return data;
}

RefPtr<NSData> NSData::dataWithContentsOfFile(const NSString* devicePath)
{
    if (!devicePath)
        return nullptr;
    std::string hostPath = platform::devicePath(devicePath->string());
    // A folder opens like a file on Linux but has no contents to give.
    std::error_code error;
    if (!std::filesystem::is_regular_file(hostPath, error))
        return nullptr;
    std::ifstream file(hostPath, std::ios::binary);
    if (!file)
        return nullptr;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return nullptr;
    return create(std::move(bytes));
}

std::string NSData::descriptionString() const
{
    // As iOS 13 and later print data: the length, then the bytes in hex, the middle
    // elided when there are many.
    auto hex = [this](std::size_t from, std::size_t to) {
        std::string text;
        char pair[3];
        for (std::size_t i = from; i < to; ++i) {
            std::snprintf(pair, sizeof(pair), "%02x", m_bytes[i]);
            text += pair;
        }
        return text;
    };
    std::string bytes = m_bytes.size() <= 24 ? hex(0, m_bytes.size()) : hex(0, 8) + " ... " + hex(m_bytes.size() - 8, m_bytes.size());
    return "{length = " + std::to_string(m_bytes.size()) + ", bytes = 0x" + bytes + "}";
}

bool NSData::isEqual(const NSObject* other) const
{
    auto data = objc_cast<NSData>(const_cast<NSObject*>(other));
    return data && data->m_bytes == m_bytes;
}

std::size_t NSData::hash() const
{
    // Like CFData: the length and a bounded prefix, so hashing large artwork stays cheap.
    std::size_t prefix = std::min<std::size_t>(m_bytes.size(), 80);
    std::string_view head(reinterpret_cast<const char*>(m_bytes.data()), prefix);
    return std::hash<std::string_view>()(head) ^ m_bytes.size();
}

nlohmann::json NSData::jsonValue() const
{
    return { { "bytes", m_bytes.size() } };
}

RefPtr<NSObject> NSData::copyWithZone() const
{
    return const_cast<NSData*>(this);
}
