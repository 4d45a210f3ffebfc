#include "game/ui/VisibleCenter.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "helper/QelAssert.h"

namespace {

// Crossings within this many pixels (in x and in y) of the point appended
// just before them are the same crossing found from the other direction.
constexpr float kSamePoint = 1.0f;

bool InsideView(const glm::vec2& point, float width, float height)
{
    return point.x >= 0 && point.x <= width && point.y >= 0 && point.y <= height;
}

void AppendCrossing(std::vector<glm::vec2>& points, const glm::vec2& crossing)
{
    if (!points.empty() && std::fabs(crossing.x - points.back().x) <= kSamePoint &&
        std::fabs(crossing.y - points.back().y) <= kSamePoint)
        return;
    points.push_back(crossing);
}

// Whether the corner lies outside an edge D→F: on the positive side of the
// edge's normal (F.y − D.y, D.x − F.x). Only the sign matters, so nothing is
// normalised, and a zero-length edge puts nothing outside.
bool OutsideEdge(const glm::vec2& corner, const glm::vec2& d, const glm::vec2& f)
{
    const double nx = double(f.y) - d.y, ny = double(d.x) - f.x;
    const double vx = double(corner.x) - f.x, vy = double(corner.y) - f.y;
    return nx * vx + ny * vy > 0;
}

}  // namespace

bool SegmentIntersect2D(glm::vec2& out, const glm::vec2& p1, const glm::vec2& p2, const glm::vec2& p3,
                        const glm::vec2& p4)
{
    const double den = (double(p4.y) - p3.y) * (double(p2.x) - p1.x) - (double(p4.x) - p3.x) * (double(p2.y) - p1.y);
    if (den == 0)
        return false;  // parallel or collinear
    const double ua = ((double(p4.x) - p3.x) * (double(p1.y) - p3.y) - (double(p4.y) - p3.y) * (double(p1.x) - p3.x)) / den;
    if (!(ua >= 0 && ua <= 1))
        return false;
    const double ub = ((double(p2.x) - p1.x) * (double(p1.y) - p3.y) - (double(p2.y) - p1.y) * (double(p1.x) - p3.x)) / den;
    if (!(ub >= 0 && ub <= 1))
        return false;
    out = glm::vec2(static_cast<float>((1 - ua) * p1.x + ua * p2.x), static_cast<float>((1 - ua) * p1.y + ua * p2.y));
    return true;
}

bool VisibleCenter(int32_t width, int32_t height, const std::vector<glm::vec2>& outline, glm::vec2& out)
{
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const std::array<glm::vec2, 4> corners{glm::vec2(0, 0), glm::vec2(w, 0), glm::vec2(w, h), glm::vec2(0, h)};

    std::vector<glm::vec2> points;
    for (const glm::vec2& point : outline) {
        if (InsideView(point, w, h))
            points.push_back(point);
    }
    // Each outline edge, from last→first on, against the view's edges top,
    // right, bottom and left, taken both ways round.
    for (size_t i = 0, previous = outline.size() - 1; i < outline.size(); previous = i++) {
        for (size_t edge = 0; edge < corners.size(); ++edge) {
            const glm::vec2& start = corners[edge];
            const glm::vec2& end = corners[(edge + 1) % corners.size()];
            glm::vec2 crossing;
            if (SegmentIntersect2D(crossing, outline[i], outline[previous], start, end))
                AppendCrossing(points, crossing);
            if (SegmentIntersect2D(crossing, outline[previous], outline[i], start, end))
                AppendCrossing(points, crossing);
        }
    }
    if (!points.empty()) {
        glm::vec2 sum(0.0f);
        for (const glm::vec2& point : points)
            sum += point;
        out = sum / static_cast<float>(points.size());
        return true;
    }

    // Nothing of the outline shows: it covers the view only if every corner
    // lies inside every edge. An outline shrunk to one point covers nothing.
    if (!outline.empty() && std::all_of(outline.begin(), outline.end(),
                                        [&](const glm::vec2& point) { return point == outline.front(); }))
        return false;
    for (const glm::vec2& corner : corners) {
        for (size_t i = 0, previous = outline.size() - 1; i < outline.size(); previous = i++) {
            if (OutsideEdge(corner, outline[previous], outline[i]))
                return false;
        }
    }
    out = glm::vec2(static_cast<float>(width / 2), static_cast<float>(height / 2));
    return true;
}

void VisibleCenterTest()
{
    struct Check {
        std::vector<glm::vec2> outline;
        glm::vec2 centre;
    };
    const Check checks[] = {
        {{{500, 500}, {600, 500}, {600, 600}, {500, 600}}, {550, 550}},
        {{{-500, 500}, {500, 500}, {500, 600}, {-500, 600}}, {250, 550}},
        {{{1, 1}, {50000, 1}, {50000, 600}, {1, 600}}, {500.5f, 300.5f}},
        {{{-50000, 100}, {50000, 100}, {50000, 700}, {-50000, 700}}, {500, 400}},
    };
    for (const Check& check : checks) {
        glm::vec2 centre(0.0f);
        QEL_ASSERT(VisibleCenter(1000, 1000, check.outline, centre), "VisibleCenter found nothing visible");
        QEL_ASSERT(std::fabs(centre.x - check.centre.x) < 0.01f && std::fabs(centre.y - check.centre.y) < 0.01f,
                   "VisibleCenter placed the centre wrongly");
    }
}
