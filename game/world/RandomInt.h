#pragma once
// Draws from a generator whose state the caller keeps (the world's own, for
// ship set-up and system damage): the same 15-bit linear congruential step as
// crand(), mapped onto a range of integers.

#include <cstdint>

// An integer in [lo, hi], advancing the seed once.
int32_t RandomInt(int32_t& seed, int32_t lo, int32_t hi);
