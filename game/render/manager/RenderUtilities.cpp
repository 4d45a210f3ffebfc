#include "game/render/manager/RenderUtilities.h"

#include "game/net/NetworkIds.h"
#include "game/world/Simulation.h"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Angles below this count as no turn, above the other as a half turn, when
// the axis of the rotation cannot be found.
constexpr float kNoTurnAngle = 0.1f;
constexpr float kHalfTurnAngle = 3.1f;

bool HoldsNaN(const glm::mat4& matrix)
{
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            if (std::isnan(matrix[column][row]))
                return true;
    return false;
}

// An axis across the vector, for a half turn that takes it to its opposite.
// The first guess is across for vectors along x or z but not in general (it
// lies along y for y itself), so only its part square to the vector is
// kept; where none is left, one of the coordinate axes serves.
glm::vec3 AxisAcross(const glm::vec3& a)
{
    const glm::vec3 guess(a.x * a.y - a.z * a.z, a.x * a.z - a.y * a.y, a.y * a.z - a.x * a.x);
    const glm::vec3 across = guess - a * (glm::dot(guess, a) / glm::dot(a, a));
    if (glm::length(across) > 1e-6f * glm::length(a))
        return across;
    const glm::vec3 other = std::fabs(a.x) < std::fabs(a.y) ? glm::vec3(1, 0, 0) : glm::vec3(0, 1, 0);
    return glm::cross(a, other);
}

}  // namespace

SpaceObject* FindSpaceObject(uint64_t id)
{
    return theSimulation && IsSpaceObjectId(id) ? theSimulation->GetSpaceObject(id) : nullptr;
}

SpaceObject* GetMainScreenShip(const std::string& consoleName)
{
    SpaceObject* ship = FindSpaceObject(theSimulation ? theSimulation->subjectID : 0);
    if (!ship || theSimulation->serverFlag)
        return ship;
    const bool mainScreen = consoleName.find("main") != std::string::npos ||
                            consoleName.find("cockpit") != std::string::npos;
    return mainScreen ? ship : nullptr;
}

IntRect RectUnion(const IntRect& a, const IntRect& b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool RectsOverlap(const IntRect& a, const IntRect& b)
{
    if (b.right < a.left || a.right < b.left || b.bottom < a.top)
        return false;
    return a.bottom >= b.top;
}

void FitRectToAspect(IntRect& rect, const IntRect& reference)
{
    if (rect.Width() == 0 || rect.Height() == 0 || reference.Width() == 0 || reference.Height() == 0)
        return;
    const float wanted = static_cast<float>(reference.Width()) / static_cast<float>(reference.Height());
    const float shape = static_cast<float>(rect.Width()) / static_cast<float>(rect.Height());
    if (wanted > shape) {
        const int32_t shrink =
            static_cast<int32_t>(std::trunc((shape / wanted - 1.0f) * static_cast<float>(rect.top - rect.bottom))) / 2;
        rect.top += shrink;
        rect.bottom -= shrink;
    } else {
        const int32_t shrink =
            static_cast<int32_t>(std::trunc((wanted / shape - 1.0f) * static_cast<float>(rect.left - rect.right))) / 2;
        rect.left += shrink;
        rect.right -= shrink;
    }
}

glm::mat4 RotationBetween(const glm::vec3& a, const glm::vec3& b)
{
    const float lengths = glm::length(a) * glm::length(b);
    if (!(lengths > 0.0f))
        return glm::mat4(1.0f);
    const float angle = std::acos(std::clamp(glm::dot(a, b) / lengths, -1.0f, 1.0f));
    const glm::mat4 rotation = glm::rotate(glm::mat4(1.0f), angle, glm::cross(b, a));
    if (!HoldsNaN(rotation))
        return rotation;
    if (angle < kNoTurnAngle)
        return glm::mat4(1.0f);
    if (angle > kHalfTurnAngle)
        return glm::rotate(glm::mat4(1.0f), angle, AxisAcross(a));
    return rotation;
}
