#include "CoverArt.h"

#include "MediaRemote/Base64.h"
#include "UIKit/UIImageDecoder.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

namespace sim {

namespace {

constexpr std::size_t kMaximumBytes = UIImageDecoder::kMaximumEncodedBytes;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> percentDecoded(const std::string& text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size() || hexDigit(text[i + 1]) < 0 || hexDigit(text[i + 2]) < 0)
            return std::nullopt;
        decoded += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
        i += 2;
    }
    return decoded;
}

CoverArt fromFile(const std::string& url)
{
    // file:///path or file://localhost/path; another host is another machine.
    std::string rest = url.substr(7);
    if (rest.rfind("localhost/", 0) == 0)
        rest = rest.substr(9);
    if (rest.empty() || rest.front() != '/')
        return { std::nullopt, "cover " + url + " is not a file on this machine" };
    auto path = percentDecoded(rest);
    if (!path || path->find('\0') != std::string::npos)
        return { std::nullopt, "cover " + url + " is not a well-formed file URL" };
    // A device, a pipe or a folder is no picture (and /dev/zero never ends).
    struct stat info;
    if (stat(path->c_str(), &info) != 0)
        return { std::nullopt, "cover " + *path + " cannot be read" };
    if (!S_ISREG(info.st_mode))
        return { std::nullopt, "cover " + *path + " is not a regular file" };
    if (static_cast<std::uint64_t>(info.st_size) > kMaximumBytes)
        return { std::nullopt, "cover " + *path + " is larger than " + std::to_string(kMaximumBytes) + " bytes" };
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path->c_str(), "rb"), std::fclose);
    if (!file)
        return { std::nullopt, "cover " + *path + " cannot be read" };
    // Read to the cap, not to the size stat gave: the file may grow meanwhile.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (read > kMaximumBytes)
        return { std::nullopt, "cover " + *path + " is larger than " + std::to_string(kMaximumBytes) + " bytes" };
    bytes.resize(read);
    return { platform::SharedBytes(std::move(bytes)), {} };
}

CoverArt fromData(const std::string& url)
{
    std::size_t comma = url.find(',');
    if (comma == std::string::npos)
        return { std::nullopt, "cover data: URL has no data" };
    std::string header = url.substr(5, comma - 5);
    if (header.size() < 7 || header.compare(header.size() - 7, 7, ";base64") != 0)
        return { std::nullopt, "cover data: URL is not base64" };
    std::string_view text(url.data() + comma + 1, url.size() - comma - 1);
    if (text.size() / 4 * 3 > kMaximumBytes)
        return { std::nullopt, "cover data: URL is larger than " + std::to_string(kMaximumBytes) + " bytes" };
    auto bytes = platform::decodeBase64(text);
    if (!bytes)
        return { std::nullopt, "cover data: URL is not valid base64" };
    return { platform::SharedBytes(std::move(*bytes)), {} };
}

} // namespace

CoverArt loadCoverArt(const std::string& url)
{
    auto startsWith = [&](const char* prefix) { return url.rfind(prefix, 0) == 0; };
    if (startsWith("file://"))
        return fromFile(url);
    if (startsWith("data:"))
        return fromData(url);
    if (startsWith("http://") || startsWith("https://"))
        return { std::nullopt, "cover " + url.substr(0, 200) + " is on the network: never fetched" };
    return { std::nullopt, "cover " + url.substr(0, 200) + " is neither a file:// nor a data: URL" };
}

} // namespace sim
