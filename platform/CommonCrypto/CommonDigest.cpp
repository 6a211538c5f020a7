#include "CommonDigest.h"

#include <cstring>

// SHA-256 as FIPS 180-4 defines it.
namespace {

constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98,
    0x71374491,
    0xb5c0fbcf,
    0xe9b5dba5,
    0x3956c25b,
    0x59f111f1,
    0x923f82a4,
    0xab1c5ed5,
    0xd807aa98,
    0x12835b01,
    0x243185be,
    0x550c7dc3,
    0x72be5d74,
    0x80deb1fe,
    0x9bdc06a7,
    0xc19bf174,
    0xe49b69c1,
    0xefbe4786,
    0x0fc19dc6,
    0x240ca1cc,
    0x2de92c6f,
    0x4a7484aa,
    0x5cb0a9dc,
    0x76f988da,
    0x983e5152,
    0xa831c66d,
    0xb00327c8,
    0xbf597fc7,
    0xc6e00bf3,
    0xd5a79147,
    0x06ca6351,
    0x14292967,
    0x27b70a85,
    0x2e1b2138,
    0x4d2c6dfc,
    0x53380d13,
    0x650a7354,
    0x766a0abb,
    0x81c2c92e,
    0x92722c85,
    0xa2bfe8a1,
    0xa81a664b,
    0xc24b8b70,
    0xc76c51a3,
    0xd192e819,
    0xd6990624,
    0xf40e3585,
    0x106aa070,
    0x19a4c116,
    0x1e376c08,
    0x2748774c,
    0x34b0bcb5,
    0x391c0cb3,
    0x4ed8aa4a,
    0x5b9cca4f,
    0x682e6ff3,
    0x748f82ee,
    0x78a5636f,
    0x84c87814,
    0x8cc70208,
    0x90befffa,
    0xa4506ceb,
    0xbef9a3f7,
    0xc67178f2,
};

constexpr std::uint32_t rotateRight(std::uint32_t value, int bits)
{
    return (value >> bits) | (value << (32 - bits));
}

void compress(std::uint32_t hash[8], const std::uint8_t block[CC_SHA256_BLOCK_BYTES])
{
    std::uint32_t schedule[64];
    for (int i = 0; i < 16; ++i) {
        schedule[i] = static_cast<std::uint32_t>(block[i * 4]) << 24 | static_cast<std::uint32_t>(block[i * 4 + 1]) << 16
            | static_cast<std::uint32_t>(block[i * 4 + 2]) << 8 | static_cast<std::uint32_t>(block[i * 4 + 3]);
    }
    for (int i = 16; i < 64; ++i) {
        std::uint32_t s0 = rotateRight(schedule[i - 15], 7) ^ rotateRight(schedule[i - 15], 18) ^ (schedule[i - 15] >> 3);
        std::uint32_t s1 = rotateRight(schedule[i - 2], 17) ^ rotateRight(schedule[i - 2], 19) ^ (schedule[i - 2] >> 10);
        schedule[i] = schedule[i - 16] + s0 + schedule[i - 7] + s1;
    }
    std::uint32_t a = hash[0], b = hash[1], c = hash[2], d = hash[3], e = hash[4], f = hash[5], g = hash[6], h = hash[7];
    for (int i = 0; i < 64; ++i) {
        std::uint32_t s1 = rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25);
        std::uint32_t choice = (e & f) ^ (~e & g);
        std::uint32_t first = h + s1 + choice + kRoundConstants[i] + schedule[i];
        std::uint32_t s0 = rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22);
        std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        std::uint32_t second = s0 + majority;
        h = g;
        g = f;
        f = e;
        e = d + first;
        d = c;
        c = b;
        b = a;
        a = first + second;
    }
    hash[0] += a;
    hash[1] += b;
    hash[2] += c;
    hash[3] += d;
    hash[4] += e;
    hash[5] += f;
    hash[6] += g;
    hash[7] += h;
}

} // namespace

int CC_SHA256_Init(CC_SHA256_CTX* context)
{
    static constexpr std::uint32_t kInitialHash[8] = { 0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19 };
    std::memcpy(context->hash, kInitialHash, sizeof kInitialHash);
    context->totalBytes = 0;
    context->blockBytes = 0;
    return 1;
}

int CC_SHA256_Update(CC_SHA256_CTX* context, const void* data, CC_LONG length)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    context->totalBytes += length;
    if (context->blockBytes > 0) {
        CC_LONG take = CC_SHA256_BLOCK_BYTES - context->blockBytes;
        if (take > length)
            take = length;
        std::memcpy(context->block + context->blockBytes, bytes, take);
        context->blockBytes += take;
        bytes += take;
        length -= take;
        if (context->blockBytes < CC_SHA256_BLOCK_BYTES)
            return 1;
        compress(context->hash, context->block);
        context->blockBytes = 0;
    }
    for (; length >= CC_SHA256_BLOCK_BYTES; bytes += CC_SHA256_BLOCK_BYTES, length -= CC_SHA256_BLOCK_BYTES)
        compress(context->hash, bytes);
    if (length > 0) {
        std::memcpy(context->block, bytes, length);
        context->blockBytes = length;
    }
    return 1;
}

int CC_SHA256_Final(unsigned char* digest, CC_SHA256_CTX* context)
{
    // A one bit, zeros to 56 bytes into a block, then the length in bits, big-endian.
    std::uint64_t totalBits = context->totalBytes * 8;
    std::uint8_t padding[CC_SHA256_BLOCK_BYTES * 2] = { 0x80 };
    CC_LONG padBytes = (context->blockBytes < 56 ? 56 : 120) - context->blockBytes;
    std::uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i)
        lengthBytes[i] = static_cast<std::uint8_t>(totalBits >> (56 - 8 * i));
    CC_SHA256_Update(context, padding, padBytes);
    CC_SHA256_Update(context, lengthBytes, sizeof lengthBytes);
    for (int i = 0; i < 8; ++i) {
        digest[i * 4] = static_cast<unsigned char>(context->hash[i] >> 24);
        digest[i * 4 + 1] = static_cast<unsigned char>(context->hash[i] >> 16);
        digest[i * 4 + 2] = static_cast<unsigned char>(context->hash[i] >> 8);
        digest[i * 4 + 3] = static_cast<unsigned char>(context->hash[i]);
    }
    std::memset(context, 0, sizeof *context);
    return 1;
}

unsigned char* CC_SHA256(const void* data, CC_LONG length, unsigned char* digest)
{
    CC_SHA256_CTX context;
    CC_SHA256_Init(&context);
    CC_SHA256_Update(&context, data, length);
    CC_SHA256_Final(digest, &context);
    return digest;
}
