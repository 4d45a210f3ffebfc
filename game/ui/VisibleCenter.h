#pragma once
// Where to put the label of a shape that may lie partly off screen: the
// centre of the part of its outline that the view shows. The 2D radar places
// the names of area nav points with it.
//
// The view is [0, width] × [0, height] in pixels, y downwards; the outline is
// a closed polygon of screen points (the last joins the first).

#include <glm/vec2.hpp>

#include <cstdint>
#include <vector>

// True, with the crossing point, when segment p1-p2 crosses segment p3-p4
// (ends included); parallel segments never cross. False leaves out untouched.
bool SegmentIntersect2D(glm::vec2& out, const glm::vec2& p1, const glm::vec2& p2, const glm::vec2& p3,
                        const glm::vec2& p4);

// True, with the centre of the visible part of the outline: the average of
// its points inside the view and its crossings of the view's edges. With
// none of those the outline either misses the view (false, out untouched) or,
// taken as convex, covers it (the view's centre).
bool VisibleCenter(int32_t width, int32_t height, const std::vector<glm::vec2>& outline, glm::vec2& out);

// The start-up self-test: four known outlines in a 1000 × 1000 view; a wrong
// centre is an assertion failure.
void VisibleCenterTest();
