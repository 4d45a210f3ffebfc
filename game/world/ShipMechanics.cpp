#include "game/world/ShipMechanics.h"

#include "game/world/FiniteMath.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"

#include <algorithm>
#include <cmath>

using namespace shipkeys;

namespace {

constexpr float kPi = 3.14159265358979f;
// A whole turn as the facing arithmetic has always used it (single precision).
constexpr float kWholeTurn = 6.2831855f;
// "jump_energy_cost" is given per thousand units of distance.
constexpr float kJumpCostScale = 0.001f;

// An angle of at most one turn either way, brought into [0, one turn).
float WithinOneTurn(float angle)
{
    if (angle >= kWholeTurn)
        angle -= kWholeTurn;
    if (angle < 0.0f)
        angle += kWholeTurn;
    return angle;
}

float RandomShare()
{
    return static_cast<float>(crand()) / CRAND_MAX;
}

}  // namespace

int32_t ShieldFacingIndex(const glm::vec3& sourcePoint, const glm::vec3& targetPosition,
                          const glm::vec3& targetForward, int32_t facings)
{
    if (facings <= 0)
        return -1;
    const glm::vec3 towardTarget = SafeNormalize(targetPosition - sourcePoint);
    if (towardTarget == glm::vec3(0.0f))
        return 0;
    // Rounding can put the cosine a hair beyond 1, where acos has no answer.
    const float cosine = std::clamp(-glm::dot(towardTarget, SafeNormalize(targetForward)), -1.0f, 1.0f);
    const float offBow = WithinOneTurn(std::acos(cosine));
    const float turned = WithinOneTurn(kPi / static_cast<float>(facings) + offBow);
    const auto facing = static_cast<int32_t>(turned / kWholeTurn * static_cast<float>(facings));
    return std::min(facing, facings - 1);
}

void SetRandomShieldWave(SpaceObject& object)
{
    DeclareFloat(object.data_set, kShieldWaveAmplitude, RandomShare());
    DeclareFloat(object.data_set, kShieldWaveFrequency, RandomShare());
    DeclareFloat(object.data_set, kShieldWaveOffset, RandomShare());
}

float GetJumpEnergyCost(const SpaceObject& object)
{
    return ReadFiniteFloat(object.data_set, kJumpEnergyCost) * kJumpCostScale;
}

int32_t Simulation::GetShieldHitIndex(const SpaceObject& source, const SpaceObject& target) const
{
    return GetShieldHitIndexSource(source.pos, target);
}

int32_t Simulation::GetShieldHitIndexSource(const glm::vec3& sourcePoint, const SpaceObject& target) const
{
    return ShieldFacingIndex(sourcePoint, target.pos, target.ForwardVector(), ShieldFacingCount(target.data_set));
}
