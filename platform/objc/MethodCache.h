#pragma once
// The per-class method cache a message send reads before anything else, as the real
// runtime's objc_class keeps one: a small open-addressing table keyed by the selector's
// address, holding the implementation the class answers with. Only the runtime fills it
// (after a full lookup along the class chain and the type check) and it empties every
// class's cache whenever any method table changes (an added method, a hook, a category),
// so a hit is always what a full lookup would find now.
//
// The rest of a class (name, superclass, method table) is the runtime's own business and
// lives in runtime.cpp; only what the inlined send reads is here.

#include "objc.h"

#include <cstdint>

namespace objc {

struct MethodCacheEntry {
    SEL selector;
    IMP imp;
    // The C++ signature of the send that was checked against the method's encoding; a send
    // of another signature takes the slow path and its check.
    const void* signature;
};

struct MethodCache {
    // Never null: an empty cache points at a shared table of one empty bucket.
    MethodCacheEntry* buckets;
    // Bucket count − 1 (a power of two).
    std::uint32_t mask;
    std::uint32_t occupied;
};

inline std::uint32_t selectorBucket(SEL sel, std::uint32_t mask)
{
    // Selectors are heap allocations of one size: drop the alignment bits, then mix.
    auto address = reinterpret_cast<std::uintptr_t>(sel);
    return static_cast<std::uint32_t>(((address >> 4) * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

// An address per C++ signature of a send: the identity the cache checks instead of
// comparing encodings.
template<typename R, typename... Args>
inline constexpr char sendSignature = 0;

} // namespace objc

struct objc_class {
    objc::MethodCache cache;
};

namespace objc {

// What `cls` answers `sel` with for a send of `signature`, if it is cached; null
// otherwise (the caller then takes the slow path).
inline IMP cachedImplementation(Class cls, SEL sel, const void* signature)
{
    const MethodCache& cache = cls->cache;
    for (std::uint32_t i = selectorBucket(sel, cache.mask);; i = (i + 1) & cache.mask) {
        const MethodCacheEntry& entry = cache.buckets[i];
        if (entry.selector == sel)
            return entry.signature == signature ? entry.imp : nullptr;
        if (!entry.selector)
            return nullptr;
    }
}

} // namespace objc
