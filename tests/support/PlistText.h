#pragma once
// The text of a property-list file whose top-level dictionary holds `dictBody`, as the
// settings store writes one: what the tests put on disk to stand for stored settings.

#include <string>

namespace testing_support {

inline std::string plist(const std::string& dictBody)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>" + dictBody + "</dict>\n</plist>\n";
}

} // namespace testing_support
