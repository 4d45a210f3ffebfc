#pragma once
// Draws from a generator whose state the caller keeps (the world's own, for
// ship set-up and system damage; the render manager's, for the view's effects
// and sounds): the same 15-bit linear congruential step as crand(), mapped
// onto a range of integers or of floats. The same seed gives the same
// sequence on every machine.

#include <cstdint>

// An integer in [lo, hi], advancing the seed once.
int32_t RandomInt(int32_t& seed, int32_t lo, int32_t hi);

// A float in [lo, hi], advancing the seed once.
float RandomFloat(int32_t& seed, float lo, float hi);
