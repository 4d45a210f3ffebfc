#pragma once
// The hash the particle event parser knows its keys by: the string folded
// from its last byte back to its first, h = (h × 33) XOR byte, starting from
// 5381, each byte taken as a signed char widened to 32 bits (so bytes of
// 0x80 and above count as negative). The text ends at its first zero byte
// when given as a C string.

#include <cstdint>
#include <string_view>

inline constexpr uint32_t kParticleKeyHashSeed = 5381;

constexpr uint32_t ParticleKeyHash(std::string_view text)
{
    uint32_t hash = kParticleKeyHashSeed;
    for (auto byte = text.rbegin(); byte != text.rend(); ++byte)
        hash = (hash * 33u) ^ static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(*byte)));
    return hash;
}
