// The particle event parser's key hash: known values, the fold from the last
// byte back, and bytes above 0x7F taken as negative.

#include "game/render/ParticleKeyHash.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(ParticleKeyHashTest, folds_from_the_last_byte_with_signed_bytes)
{
    static_assert(ParticleKeyHash("") == 5381u);
    static_assert(ParticleKeyHash("abc") == 193415941u);
    struct Case {
        std::string text;
        uint32_t expected;
    };
    // h = (h × 33) ^ b from the end: 0xFF widens to 0xFFFFFFFF, flipping
    // every bit, where an unsigned byte would flip only the low eight.
    const Case cases[] = {
        {"a", (5381u * 33u) ^ 97u},
        {"ab", (((5381u * 33u) ^ 98u) * 33u) ^ 97u},
        {"\xff", (5381u * 33u) ^ 0xFFFFFFFFu},
        {"\x80z", (((5381u * 33u) ^ 122u) * 33u) ^ 0xFFFFFF80u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParticleKeyHash(c.text), c.expected) << c.text;
    EXPECT_NE(ParticleKeyHash("ab"), ParticleKeyHash("ba"));
    // A C string ends at its zero byte.
    EXPECT_EQ(ParticleKeyHash(std::string("abc\0def", 7).c_str()), 193415941u);
}
