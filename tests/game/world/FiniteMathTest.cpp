#include "game/world/FiniteMath.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

TEST(FiniteMath, safe_normalize_gives_unit_length_or_no_direction_never_nan)
{
    struct Case {
        const char* name;
        glm::vec3 in;
        glm::vec3 expected;
    };
    const Case cases[] = {
        {"ordinary", {3.0f, 0.0f, 4.0f}, {0.6f, 0.0f, 0.8f}},
        {"zero", {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},
        {"too_small_to_measure", {1e-30f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},
        {"not_a_number", {kNaN, 1.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},
        {"infinite", {kInfinity, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},
    };
    for (const Case& c : cases) {
        const glm::vec3 out = SafeNormalize(c.in);
        EXPECT_TRUE(AllFinite(out)) << c.name;
        EXPECT_NEAR(out.x, c.expected.x, 1e-6f) << c.name;
        EXPECT_NEAR(out.y, c.expected.y, 1e-6f) << c.name;
        EXPECT_NEAR(out.z, c.expected.z, 1e-6f) << c.name;
    }
}

TEST(FiniteMath, all_finite_checks_every_component_of_vectors_and_quaternions)
{
    EXPECT_TRUE(AllFinite(glm::vec3(1.0f, -2.0f, 3.0f)));
    EXPECT_FALSE(AllFinite(glm::vec3(1.0f, kNaN, 3.0f)));
    EXPECT_TRUE(AllFinite(glm::quat(1.0f, 0.0f, 0.0f, 0.0f)));
    EXPECT_FALSE(AllFinite(glm::quat(1.0f, 0.0f, 0.0f, kInfinity)));
}

}  // namespace
