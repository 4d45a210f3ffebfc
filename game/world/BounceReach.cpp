#include "game/world/BounceReach.h"

#include "game/world/PlaneBox.h"
#include "game/world/SpaceObject.h"
#include "game/world/SuperContainer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Float rounding in the positions, the leaf boxes and the touch test: the
// search reaches this share further, plus a unit, plus a little for every
// unit of distance from the origin, whose floats are coarser.
constexpr float kRelativeSlack = 1.0e-3f;
constexpr float kAbsoluteSlack = 1.0f;
constexpr float kSlackPerUnitFromOrigin = 1.0e-5f;

constexpr float kUnbounded = std::numeric_limits<float>::infinity();

// Not a number counts as unbounded, so a broken value widens the search to
// its widest instead of narrowing it.
float AtLeastZero(float value)
{
    return value >= 0.0f ? value : (value < 0.0f ? 0.0f : kUnbounded);
}

// How far, on X or Z, the point lies outside the box; 0 inside.
float DistanceOutside(const PlaneBox& box, float x, float z)
{
    const float beyond[] = {box.minX - x, x - box.maxX, box.minZ - z, z - box.maxZ};
    float farthest = 0.0f;
    for (const float distance : beyond) {
        if (std::isnan(distance))
            return kUnbounded;
        farthest = std::max(farthest, distance);
    }
    return farthest;
}

}  // namespace

void BounceReach::Measure(SuperContainer& container)
{
    container.FileWaitingObjects();
    largestRadius = 0.0f;
    farthestOutside = 0.0f;
    stale = false;
    for (const SuperContainerObject* object : container.Objects())
        Include(static_cast<const SpaceObject&>(*object));
}

void BounceReach::Include(const SpaceObject& object)
{
    const SuperContainer* holder = object.Container();
    const PlaneBox* leaf = holder ? holder->FiledBox(&object) : nullptr;
    // Only filed objects that bounce can be found as partners.
    if (!leaf || !(object.exclusion_radius > kMinBounceRadius))
        return;
    largestRadius = std::max(largestRadius, AtLeastZero(object.exclusion_radius));
    farthestOutside = std::max(farthestOutside, AtLeastZero(DistanceOutside(*leaf, object.pos.x, object.pos.z)));
}

float BounceReach::HalfSize(float radius, float pushed, float centreX, float centreZ) const
{
    const float reach = AtLeastZero(radius) + largestRadius + farthestOutside + AtLeastZero(pushed);
    const float slack =
        reach * kRelativeSlack + kAbsoluteSlack + (std::fabs(centreX) + std::fabs(centreZ)) * kSlackPerUnitFromOrigin;
    const float halfSize = reach + slack;
    return halfSize < kWidestHalfSize ? halfSize : kWidestHalfSize;
}
