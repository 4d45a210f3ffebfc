#pragma once
// The game's second random source: the classic 15-bit linear congruential
// generator its formulas were tuned against (state * 214013 + 2531011, output
// bits 16..30). One process-wide state, starting at 1; main thread only.

#include <cstdint>

// Largest value crand() returns.
constexpr int CRAND_MAX = 0x7FFF;

// Next value in 0..CRAND_MAX.
int crand();

// Restarts the sequence from the given seed.
void csrand(uint32_t seed);
