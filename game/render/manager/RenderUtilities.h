#pragma once
// Small operations of the screens that many of them share: the ship a main
// screen shows, rectangle tests for labels on the 2D views, fitting one
// rectangle to another's shape, and the rotation that turns one direction
// into another.

#include "game/ui/IntRect.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <string>

class SpaceObject;

// The ship this machine is aboard, as a main screen shows it: on the server
// always, on a console only when the console's name holds "main" or
// "cockpit"; null without a world, a ship, or when the ship is gone.
SpaceObject* GetMainScreenShip(const std::string& consoleName);

// The space object of an id the world may or may not still hold; null for
// any other kind of id, or without a world.
SpaceObject* FindSpaceObject(uint64_t id);

// The smallest rectangle holding both (edges as given, not reordered).
IntRect RectUnion(const IntRect& a, const IntRect& b);
// Whether the two share a point; touching edges count.
bool RectsOverlap(const IntRect& a, const IntRect& b);

// Shrinks the rectangle about its centre, in one direction only, to the
// shape (width to height) of the reference. A rectangle or reference
// without width or height is left as it is.
void FitRectToAspect(IntRect& rect, const IntRect& reference);

// The rotation about b × a by the angle between a and b, as the view's
// matrices take it. Parallel vectors give the identity, opposite ones a half
// turn about an axis across them; a vector of no length gives the identity.
glm::mat4 RotationBetween(const glm::vec3& a, const glm::vec3& b);
