#pragma once
// A device root in a temporary folder with the built deliverables installed, for tests
// that load the tweak the way a device does.

#include "PlistText.h"
#include "sim/device/DeviceRoot.h"

#include <string>

namespace testing_support {

class TemporaryDevice {
public:
    TemporaryDevice()
        : m_root(sim::DeviceRoot::makeTemporary())
    {
        m_root.install(sim::Artefacts::fromBuild());
    }

    const sim::DeviceRoot& root() const { return m_root; }
    std::string path() const { return m_root.path().string(); }

    // Stores the tweak's settings file with the given XML <dict> body.
    void writeSettings(const std::string& dictBody) const
    {
        m_root.writeFile("/var/mobile/Library/Preferences/com.orvanta.lumetrix.plist", testing_support::plist("\n" + dictBody));
    }

private:
    sim::DeviceRoot m_root;
};

} // namespace testing_support
