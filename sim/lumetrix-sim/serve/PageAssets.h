#pragma once
// The page's files (HTML, CSS, JavaScript), built into the binary from serve/web/ so
// the server reads no file to serve them.

#include <string_view>

namespace sim {

struct PageAsset {
    std::string_view path; // as requested, e.g. "/page.js"
    std::string_view type; // Content-Type
    std::string_view content;
};

// Nothing (a null content) for a path that is not one of them.
PageAsset pageAsset(std::string_view path);

} // namespace sim
