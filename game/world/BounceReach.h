#pragma once
// How far around an object the bounce step has to search to meet everything
// it can touch. Two objects touch when their centres are closer than the sum
// of their exclusion radii, and the tree finds an object by its leaf box,
// which lags behind its centre: the leaf is rebuilt only at the frame step,
// and pushes, behaviours and scripts move centres in between. So a partner B
// of an object A lies within
//     A's radius + the largest radius + how far any centre lies outside its leaf
// of A's centre, plus however far A itself has been pushed since the search
// began. Searching that far finds every object the widest search
// (kWidestHalfSize) would find and touch, in the same order: a smaller box
// only leaves out leaves of the same depth-first walk.
//
// The bounds are measured over the whole registry when the first bounce of a
// tick needs them, and kept up to date through the tick with each object that
// moves or runs its behaviour. Anything that may have moved other objects
// behind the world's back (a mission's event handler, whether the world or a
// behaviour told it) marks them stale.

#include <cstdint>

class SpaceObject;
class SuperContainer;

class BounceReach {
public:
    // The fixed search of the bounce rule: every answer stays within it.
    static constexpr float kWidestHalfSize = 3000.0f;
    // Objects at or below this exclusion radius take no part in the bounce.
    static constexpr float kMinBounceRadius = 0.1f;

    // Takes the largest radius and the farthest centre outside its leaf over
    // every bouncing object the container holds; files waiting objects first.
    void Measure(SuperContainer& container);
    // Widens the bounds for one object that moved or changed since.
    void Include(const SpaceObject& object);
    void MarkStale() { stale = true; }
    bool IsStale() const { return stale; }

    // Half-size of the search around an object of the given radius that has
    // moved `pushed` (on X or Z) since its search began; never above
    // kWidestHalfSize.
    float HalfSize(float radius, float pushed, float centreX, float centreZ) const;

private:
    float largestRadius = 0.0f;
    float farthestOutside = 0.0f;  // on X or Z, beyond the leaf box
    bool stale = true;
};
