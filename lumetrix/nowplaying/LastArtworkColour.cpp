#include "LastArtworkColour.h"

#include "UIKit/UIColor.h"

#include "CommonCrypto/CommonDigest.h"

#include <algorithm>

namespace lumetrix {

LastArtworkColour::Digest LastArtworkColour::digestOf(const std::uint8_t* bytes, std::size_t length)
{
    Digest digest;
    digest.length = length;
    CC_SHA256_CTX context;
    CC_SHA256_Init(&context);
    // CommonCrypto takes 32-bit lengths; artwork is far smaller, but nothing is left out.
    for (std::size_t done = 0; done < length;) {
        auto piece = static_cast<CC_LONG>(std::min<std::size_t>(length - done, 1u << 30));
        CC_SHA256_Update(&context, bytes + done, piece);
        done += piece;
    }
    CC_SHA256_Final(digest.sha256.data(), &context);
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
