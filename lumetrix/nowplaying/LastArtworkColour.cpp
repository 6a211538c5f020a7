#include "LastArtworkColour.h"

#include "UIKit/UIColor.h"

#include <openssl/sha.h>

namespace lumetrix {

LastArtworkColour::Digest LastArtworkColour::digestOf(const std::uint8_t* bytes, std::size_t length)
{
    Digest digest;
    digest.length = length;
    static const std::uint8_t nothing = 0;
    SHA256(bytes ? bytes : &nothing, length, digest.sha256.data());
    return digest;
}

std::optional<objc::RefPtr<UIColor>> LastArtworkColour::colourFor(const Digest& digest) const
{
    if (!m_digest || !(*m_digest == digest))
        return std::nullopt;
    return m_colour;
}

void LastArtworkColour::remember(const Digest& digest, UIColor* colour)
{
    m_digest = digest;
    m_colour = colour;
}

} // namespace lumetrix
