#pragma once
// Base64 (RFC 4648, standard alphabet, padded), so artwork bytes can ride inside the JSON
// that carries the now-playing application between processes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::string encodeBase64(const std::vector<std::uint8_t>&);
// Nothing for text that is not padded base64 (wrong length, foreign characters, padding
// anywhere but the end).
std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view);

} // namespace platform
