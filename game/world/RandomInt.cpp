#include "game/world/RandomInt.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kMultiplier = 214013;
constexpr uint32_t kIncrement = 2531011;
constexpr double kMaxDraw = 32767.0;
// Widens the range just short of hi + 1, so hi is drawn as often as any other
// value once the fraction is cut off.
constexpr double kTopWidening = 0.99999;

// The next state's draw as a fraction 0..1.
double Step(int32_t& seed)
{
    // Unsigned arithmetic: the step wraps modulo 2^32 by design.
    const uint32_t next = static_cast<uint32_t>(seed) * kMultiplier + kIncrement;
    seed = static_cast<int32_t>(next);
    return static_cast<double>((next >> 16) & 0x7FFF) / kMaxDraw;
}

}  // namespace

int32_t RandomInt(int32_t& seed, int32_t lo, int32_t hi)
{
    const double fraction = Step(seed);
    const double top = hi + kTopWidening;
    double value = fraction * (top - lo) + lo;
    value = std::clamp(value, static_cast<double>(lo), std::max(top, static_cast<double>(lo)));
    const int64_t cut = static_cast<int64_t>(std::trunc(value));
    return static_cast<int32_t>(std::clamp<int64_t>(cut, lo, std::max(lo, hi)));
}

float RandomFloat(int32_t& seed, float lo, float hi)
{
    const float fraction = static_cast<float>(Step(seed));
    return std::clamp(fraction * (hi - lo) + lo, std::min(lo, hi), std::max(lo, hi));
}
