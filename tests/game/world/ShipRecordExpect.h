#pragma once
// Comparing ship record parts bit for bit: a float that went through the
// wrong conversion, or a negative zero turned positive, shows as a difference.

#include "game/world/ShipDataRecord.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace qeltest {

inline std::vector<uint32_t> Bits(std::initializer_list<float> values) {
    std::vector<uint32_t> bits;
    for (float f : values) bits.push_back(std::bit_cast<uint32_t>(f));
    return bits;
}
inline std::vector<uint32_t> Bits(const glm::vec3& v) { return Bits({v.x, v.y, v.z}); }
inline std::vector<uint32_t> Bits(const glm::vec4& v) { return Bits({v.r, v.g, v.b, v.a}); }

inline void ExpectSameBeamPort(const ShipBeamPort& got, const ShipBeamPort& want) {
    EXPECT_EQ(Bits({got.damageCoeff, got.arcWidth, got.cycleTime, got.range, got.barrelAngle}),
              Bits({want.damageCoeff, want.arcWidth, want.cycleTime, want.range, want.barrelAngle}));
    EXPECT_EQ(Bits(got.position), Bits(want.position));
    EXPECT_EQ(Bits(got.color), Bits(want.color));
    EXPECT_EQ(Bits(got.arcColor), Bits(want.arcColor));
}

}  // namespace qeltest
