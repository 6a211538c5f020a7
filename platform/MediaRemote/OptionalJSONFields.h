#pragma once
// Reading the optional fields of the now-playing JSON forms (tracks and records): a key
// that is absent or null means the application left it out; one of the wrong kind makes
// the whole value unreadable, so the readers return false.

#include "Base64.h"

#include "Foundation/SharedBytes.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

inline bool readOptionalText(const nlohmann::json& json, const char* key, std::optional<std::string>& field)
{
    auto it = json.find(key);
    if (it == json.end() || it->is_null())
        return true;
    if (!it->is_string())
        return false;
    field = it->get<std::string>();
    return true;
}

// Bytes travel as base64 text.
inline bool readOptionalBytes(const nlohmann::json& json, const char* key, std::optional<std::vector<std::uint8_t>>& field)
{
    auto it = json.find(key);
    if (it == json.end() || it->is_null())
        return true;
    if (!it->is_string())
        return false;
    field = decodeBase64(it->get<std::string>());
    return field.has_value();
}

inline bool readOptionalBytes(const nlohmann::json& json, const char* key, std::optional<SharedBytes>& field)
{
    std::optional<std::vector<std::uint8_t>> bytes;
    if (!readOptionalBytes(json, key, bytes))
        return false;
    if (bytes)
        field = SharedBytes(std::move(*bytes));
    return true;
}

} // namespace platform
