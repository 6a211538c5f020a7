#pragma once
// The colour of the last artwork, remembered by what the artwork is (a SHA-256 digest of
// its bytes), not by which object holds it: every now-playing change (play, pause, seek,
// each second's refresh) hands the same artwork over again, often in new storage, and
// SpringBoard's broadcast and an app's player both ask for its colour. Artwork that gave
// no colour is remembered too, so a file that is slow to refuse is refused once.

#include "objc/RefPtr.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

class UIColor;

namespace lumetrix {

class LastArtworkColour {
public:
    struct Digest {
        std::array<std::uint8_t, 32> sha256 {};
        std::size_t length = 0;
        bool operator==(const Digest&) const = default;
    };

    static Digest digestOf(const std::uint8_t* bytes, std::size_t length);

    // The colour remembered for this artwork (null inside when it gave none), or nothing
    // when it is not the last artwork seen.
    std::optional<objc::RefPtr<UIColor>> colourFor(const Digest&) const;
    void remember(const Digest&, UIColor*);

private:
    std::optional<Digest> m_digest;
    objc::RefPtr<UIColor> m_colour;
};

} // namespace lumetrix
