#include "game/render/ParticleBillboards.h"

#include "engine/base/QelGraphicsFactoryBase.h"

namespace {

// The quad's corners in -1..1, the texture's top left at (-1, 1).
constexpr float kQuadCorners[ParticleBillboards::kQuadVertices][2] = {{1, 1},   {-1, 1}, {-1, -1},
                                                                      {-1, -1}, {1, -1}, {1, 1}};

}  // namespace

void ParticleBillboards::Setup(const std::string& shaderName, const std::string& vertexListName,
                               const std::string& instanceListName, int32_t capacity)
{
    if (!gGraphicsFactory)
        return;
    shader = gGraphicsFactory->GetShader(shaderName);
    vertices = gGraphicsFactory->GetVertList(vertexListName, capacity * kQuadVertices, false);
    instances = gGraphicsFactory->GetInstanceList(instanceListName, capacity);
    if (!vertices)
        return;
    for (int i = 0; i < kQuadVertices; ++i) {
        const float x = kQuadCorners[i][0];
        const float y = kQuadCorners[i][1];
        vertices->SetPosition(i, x, y, 0.0f);
        vertices->SetTexCoord(i, 0, (x + 1.0f) * 0.5f, (1.0f - y) * 0.5f);
    }
}

void ParticleBillboards::SetInstance(int32_t slot, const QelInstanceRecord& record)
{
    if (instances)
        instances->SetInstance(slot, record);
}

void ParticleBillboards::Draw(const glm::mat4& view, int32_t count, const std::string& textureName, bool additive,
                              float velocityStretch)
{
    if (!shader || !vertices || !instances || count <= 0)
        return;
    Qel2dBitmap* texture = gGraphicsFactory->LoadTexture(textureName);
    if (!texture)
        return;
    shader->bitmap2DList = {texture};
    shader->vertList = {vertices};
    shader->indexList.clear();
    shader->instanceList = {instances};
    shader->SetParameter("additive", additive ? 1.0f : 0.0f, 0.0f, 0.0f, 0.0f);
    shader->SetParameter("velocityStretch", velocityStretch, 0.0f, 0.0f, 0.0f);
    shader->Draw3D(glm::mat4(1.0f), view, nullptr, kQuadVertices, count);
}
