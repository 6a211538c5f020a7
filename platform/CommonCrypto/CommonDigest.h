#pragma once
// CommonCrypto's digests, as <CommonCrypto/CommonDigest.h> declares them: the one-shot
// SHA-256 a tweak uses to know data again by its content. On a device this is libSystem's;
// here it is the platform's own, so a tweak that hashes loads no crypto library.

#include <cstdint>

using CC_LONG = std::uint32_t;

constexpr int CC_SHA256_DIGEST_LENGTH = 32;
constexpr int CC_SHA256_BLOCK_BYTES = 64;

// The incremental form, for data that comes in pieces.
struct CC_SHA256_CTX {
    std::uint32_t hash[8];
    std::uint64_t totalBytes;
    std::uint8_t block[CC_SHA256_BLOCK_BYTES];
    std::uint32_t blockBytes;
};

int CC_SHA256_Init(CC_SHA256_CTX* context);
int CC_SHA256_Update(CC_SHA256_CTX* context, const void* data, CC_LONG length);
int CC_SHA256_Final(unsigned char* digest, CC_SHA256_CTX* context);

// Writes the 32-byte digest of `length` bytes at `data` to `digest` and returns `digest`.
// `length` is 32 bits, as on the device: larger data goes through the incremental form.
unsigned char* CC_SHA256(const void* data, CC_LONG length, unsigned char* digest);
