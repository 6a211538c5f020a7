// CommonCrypto's SHA-256 against published digests (FIPS 180-4's examples) and against
// Python's hashlib for the lengths where padding spills into a second block.

#include "CommonCrypto/CommonDigest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string hex(const unsigned char* digest)
{
    std::string text;
    char two[3];
    for (int i = 0; i < CC_SHA256_DIGEST_LENGTH; ++i) {
        std::snprintf(two, sizeof two, "%02x", digest[i]);
        text += two;
    }
    return text;
}

std::string sha256(const std::string& data)
{
    unsigned char digest[CC_SHA256_DIGEST_LENGTH];
    EXPECT_EQ(CC_SHA256(data.data(), static_cast<CC_LONG>(data.size()), digest), digest);
    return hex(digest);
}

// Bytes (i * 7 + 3) mod 256: not one repeated byte, so a word read in the wrong order shows.
std::string patterned(std::size_t length)
{
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i)
        bytes.push_back(static_cast<char>((i * 7 + 3) % 256));
    return bytes;
}

TEST(CommonDigest, PublishedExamples)
{
    EXPECT_EQ(sha256(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(sha256(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(CommonDigest, LengthsAroundTheBlockAndItsPadding)
{
    const std::vector<std::pair<std::size_t, const char*>> expected = {
        { 55, "e7313d333c272e639f790978283f9eb392e843d0f29b7016828bb1daa4aac70b" },
        { 56, "4324d65f3c103567f5589c710bc08f8523f929a9272e3af36fc968e52abc6c27" },
        { 63, "81c80242132f230c3bd41b3e63bbcff16107339549214a99614ff26664625055" },
        { 64, "39e3d7b6b5d075d37d053ad89b24b41bef4f3c29760c84447cab3f3be1882241" },
        { 65, "aacca6ff74fdbb296d165a45cecfa04e5127bc008770fbbdd48006f2d2fae95e" },
        { 119, "9ce7368e4daf32341631b492e80359dc9f594b48453cd0dd5bf0b19279cc177e" },
        { 120, "7836b787757e95e58b3ca5aec90b1b004e8deba1e50e9675af9cabf1a13a04b5" },
        { 128, "d2742f1f4ac6bb7ca2b239ee18402ba8b3f9f8e652d2a72973c2b9ba11c08cf6" },
    };
    for (const auto& [length, digest] : expected)
        EXPECT_EQ(sha256(patterned(length)), digest) << length << " bytes";
}

TEST(CommonDigest, PiecesGiveTheDigestOfTheWhole)
{
    const std::string data = patterned(300);
    const std::string whole = sha256(data);
    for (std::size_t piece : { 1u, 3u, 63u, 64u, 65u, 129u }) {
        CC_SHA256_CTX context;
        CC_SHA256_Init(&context);
        for (std::size_t at = 0; at < data.size(); at += piece)
            CC_SHA256_Update(&context, data.data() + at, static_cast<CC_LONG>(std::min(piece, data.size() - at)));
        unsigned char digest[CC_SHA256_DIGEST_LENGTH];
        CC_SHA256_Final(digest, &context);
        EXPECT_EQ(hex(digest), whole) << "pieces of " << piece;
    }
}

} // namespace
