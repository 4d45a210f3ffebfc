#include "engine/base/QelFaceTriangulation.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <array>

namespace {

// The face's normal by Newell's method: follows the winding, and is sound for
// faces that are not quite flat.
glm::vec3 FaceNormal(const std::vector<glm::vec3>& corners)
{
    glm::vec3 normal(0.0f);
    for (size_t i = 0; i < corners.size(); ++i) {
        const glm::vec3& a = corners[i];
        const glm::vec3& b = corners[(i + 1) % corners.size()];
        normal.x += (a.y - b.y) * (a.z + b.z);
        normal.y += (a.z - b.z) * (a.x + b.x);
        normal.z += (a.x - b.x) * (a.y + b.y);
    }
    return normal;
}

// Whether p lies in the triangle a, b, c (its edges included), measured in
// the triangle's plane.
bool InsideTriangle(const glm::vec3& p, const glm::vec3& a, const glm::vec3& b, const glm::vec3& c,
                    const glm::vec3& normal)
{
    const float ab = glm::dot(glm::cross(b - a, p - a), normal);
    const float bc = glm::dot(glm::cross(c - b, p - b), normal);
    const float ca = glm::dot(glm::cross(a - c, p - c), normal);
    return ab >= 0.0f && bc >= 0.0f && ca >= 0.0f;
}

// The corner between prev and next is an ear when it turns the face's way
// and no other corner of the face lies in the triangle it cuts off.
bool IsEar(const std::vector<glm::vec3>& corners, uint32_t prev, uint32_t mid, uint32_t next,
           const glm::vec3& normal)
{
    const glm::vec3& a = corners[prev];
    const glm::vec3& b = corners[mid];
    const glm::vec3& c = corners[next];
    if (glm::dot(glm::cross(b - a, c - b), normal) <= 0.0f)
        return false;
    for (const glm::vec3& p : corners)
        if (p != a && p != b && p != c && InsideTriangle(p, a, b, c, normal))
            return false;
    return true;
}

void Emit(std::vector<uint32_t>& triangles, uint32_t a, uint32_t b, uint32_t c)
{
    std::array<uint32_t, 3> corners{a, b, c};
    std::sort(corners.begin(), corners.end());
    triangles.insert(triangles.end(), corners.begin(), corners.end());
}

}  // namespace

std::vector<uint32_t> TriangulateFace(const std::vector<glm::vec3>& corners)
{
    std::vector<uint32_t> triangles;
    if (corners.size() < 3)
        return triangles;
    const glm::vec3 normal = FaceNormal(corners);
    std::vector<uint32_t> polygon(corners.size());
    for (uint32_t i = 0; i < polygon.size(); ++i)
        polygon[i] = i;
    size_t start = 0;
    while (polygon.size() > 3) {
        const size_t m = polygon.size();
        size_t clip = start % m;  // where no ear is left, clip here anyway
        for (size_t attempt = 0; attempt < m; ++attempt) {
            const size_t at = (start + attempt) % m;
            if (IsEar(corners, polygon[(at + m - 1) % m], polygon[at], polygon[(at + 1) % m], normal)) {
                clip = at;
                break;
            }
        }
        Emit(triangles, polygon[(clip + m - 1) % m], polygon[clip], polygon[(clip + 1) % m]);
        polygon.erase(polygon.begin() + static_cast<std::ptrdiff_t>(clip));
        start = clip;
    }
    Emit(triangles, polygon[0], polygon[1], polygon[2]);
    return triangles;
}
