#include "game/render/Ribbon3DManager.h"

#include "engine/base/QelDrawProcess.h"
#include "game/world/FiniteMath.h"

#include <algorithm>

namespace {

constexpr glm::vec3 kUp{0.0f, 1.0f, 0.0f};

// A point's colour faded by its age: full when new, none at its lifespan.
glm::vec4 Faded(const RibbonPoint& point)
{
    const float left = point.lifespan > 0.0f ? 1.0f - point.age / point.lifespan : 0.0f;
    return point.colour * std::clamp(left, 0.0f, 1.0f);
}

}  // namespace

void Ribbon3DManager::Setup(const std::string& textureName)
{
    additive = true;
    quads.Setup("Ribbon3DManager", textureName);
}

void Ribbon3DManager::Update(RibbonTrail& trail, const glm::vec3& cameraPos)
{
    const int32_t points = std::min(trail.count, RibbonTrail::kCapacity);
    if (points < 2)
        return;
    for (int32_t i = 0; i + 1 < points; ++i) {
        RibbonPoint& from = trail.points[static_cast<size_t>(i)];
        RibbonPoint& to = trail.points[static_cast<size_t>(i + 1)];
        const glm::vec3 middle = (from.position + to.position) * 0.5f;
        const glm::vec3 towardsEye = SafeNormalize(middle - cameraPos);
        const glm::vec3 along = SafeNormalize(middle - to.position);
        from.side = to.side = SafeNormalize(glm::cross(towardsEye, along));
    }
    for (int32_t i = 0; i + 1 < points && quads.Count() < kCapacity; ++i)
        Queue(trail, i);
}

// The segment's quad: its ends' sides are the mean of the sides that meet
// there, so the strip bends without gaps.
void Ribbon3DManager::Queue(const RibbonTrail& trail, int32_t segment)
{
    const RibbonPoint& from = trail.points[static_cast<size_t>(segment)];
    const RibbonPoint& to = trail.points[static_cast<size_t>(segment + 1)];
    const glm::vec3 startSide =
        segment == 0 ? from.side : SafeNormalize(from.side + trail.points[static_cast<size_t>(segment - 1)].side);
    const glm::vec3 endSide = SafeNormalize(from.side + to.side);
    quads.Add({from.position + startSide * from.width, from.position - startSide * from.width,
               to.position - endSide * to.width, to.position + endSide * to.width},
              {glm::vec2(0.0f, 0.0f), glm::vec2(kTextureColumn, 0.0f), glm::vec2(kTextureColumn, 1.0f),
               glm::vec2(0.0f, 1.0f)},
              {Faded(from), Faded(from), Faded(to), Faded(to)}, kUp);
}

void Ribbon3DManager::Draw(const glm::mat4& view)
{
    QelDrawProcess* shader = quads.Shader();
    if (quads.Count() < 1 || !shader)
        return;
    shader->SetParameter("color", 1.0f, 1.0f, 1.0f, 1.0f);
    shader->SetParameter("additive", additive ? 1.0f : 0.0f, 0.0f, 0.0f, 0.0f);
    shader->SetParameter("drawglowonly", 0.0f, 1.0f, 1.0f, 1.0f);
    shader->SetParameter("write", 0.0f, 1.0f, 1.0f, 1.0f);
    shader->SetParameter("read", 1.0f, 1.0f, 1.0f, 1.0f);
    quads.Draw(view);
}
