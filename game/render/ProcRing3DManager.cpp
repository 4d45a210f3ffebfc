#include "game/render/ProcRing3DManager.h"

#include "engine/base/QelDrawProcess.h"

#include <glm/geometric.hpp>

void ProcRing3DManager::Setup(const std::string& textureName)
{
    additive = true;
    quads.Setup("ProcRing3DManager", textureName);
}

bool ProcRing3DManager::AddQuad(const std::array<glm::vec3, 4>& corners, const std::array<glm::vec2, 4>& uv,
                                const glm::vec4& colour)
{
    const glm::vec3 normal = glm::cross(corners[1] - corners[0], corners[3] - corners[0]);
    return quads.Add(corners, uv, {colour, colour, colour, colour}, normal);
}

// Depth-tested when blended, not when added.
void ProcRing3DManager::Draw(const glm::mat4& view)
{
    QelDrawProcess* shader = quads.Shader();
    if (quads.Count() < 1 || !shader)
        return;
    shader->SetParameter("color", 1.0f, 1.0f, 1.0f, 1.0f);
    shader->SetParameter("additive", additive ? 1.0f : 0.0f, 0.0f, 0.0f, 0.0f);
    shader->SetParameter("depth", additive ? 0.0f : 1.0f, 0.0f, 0.0f, 0.0f);
    quads.Draw(view);
}
