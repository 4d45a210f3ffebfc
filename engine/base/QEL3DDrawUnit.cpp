#include "engine/base/QEL3DDrawUnit.h"

#include <glm/geometric.hpp>

#include "engine/base/QelGraphicsFactoryBase.h"

namespace {

// Below this the ray runs along the triangle's plane, and a hit this close is
// the surface the ray starts on.
constexpr double kParallelLimit = 0.00001;
constexpr float kNearestHit = 0.00001f;

glm::vec3 Position(const QelVertex& vertex)
{
    return {vertex.position[0], vertex.position[1], vertex.position[2]};
}

void AddTo(float vector[3], const glm::vec3& amount)
{
    vector[0] += amount.x, vector[1] += amount.y, vector[2] += amount.z;
}

}  // namespace

bool RayTriangleIntersect(const glm::vec3& origin, const glm::vec3& direction, const glm::vec3& c0,
                          const glm::vec3& c1, const glm::vec3& c2, float& distance, glm::vec3& hitPoint,
                          glm::vec3& normal)
{
    const glm::vec3 e1 = c1 - c0;
    const glm::vec3 e2 = c2 - c0;
    const glm::vec3 p = glm::cross(direction, e2);
    const float det = glm::dot(e1, p);
    if (static_cast<double>(det) > -kParallelLimit && static_cast<double>(det) < kParallelLimit)
        return false;
    const glm::vec3 s = origin - c0;
    const float u = glm::dot(s, p) / det;
    if (u < 0.0f || u > 1.0f)
        return false;
    const glm::vec3 q = glm::cross(s, e1);
    const float v = glm::dot(direction, q) / det;
    if (v < 0.0f || u + v > 1.0f)
        return false;
    const float t = glm::dot(e2, q) / det;
    distance = t;
    if (!(t > kNearestHit))
        return false;
    hitPoint = origin + direction * t;
    normal = glm::cross(e1, e2);
    return true;
}

QelVertexList* QEL3DDrawUnit::Vertices() const
{
    if (graphics == nullptr || vertListNames.empty())
        return nullptr;
    return graphics->FindVertList(vertListNames.front());
}

QelIndexList* QEL3DDrawUnit::IndexList(size_t which) const
{
    if (graphics == nullptr || which >= indexListNames.size())
        return nullptr;
    return graphics->FindIndexList(indexListNames[which]);
}

void QEL3DDrawUnit::Draw(const glm::mat4& world, const glm::mat4& view, void* extra, const char* shaderOverride) const
{
    if (graphics == nullptr)
        return;
    QelDrawProcess* shader = graphics->FindShader(shaderOverride ? shaderOverride : shaderName);
    QelVertexList* vertices = Vertices();
    QelIndexList* indices = IndexList(0);
    if (shader == nullptr || vertices == nullptr || indices == nullptr)
        return;
    shader->bitmap2DList.clear();
    shader->indexList.clear();
    shader->vertList.clear();
    for (const std::string& name : textureNames)
        if (Qel2dBitmap* texture = graphics->LoadTexture(name))
            shader->bitmap2DList.push_back(texture);
    for (const std::string& name : vertListNames)
        if (QelVertexList* list = graphics->FindVertList(name))
            shader->vertList.push_back(list);
    for (const std::string& name : indexListNames)
        if (QelIndexList* list = graphics->FindIndexList(name))
            shader->indexList.push_back(list);
    shader->Draw3D(world, view, extra, 0, 0);
}

void QEL3DDrawUnit::ComputeTangents() const
{
    QelVertexList* list = Vertices();
    if (list == nullptr)
        return;
    ForEachTriangle([&](uint32_t i0, uint32_t i1, uint32_t i2) {
        const QelVertex* v = list->Vertices();
        const glm::vec3 e1 = Position(v[i1]) - Position(v[i0]);
        const glm::vec3 e2 = Position(v[i2]) - Position(v[i0]);
        const float dU1 = v[i1].texCoord[0][0] - v[i0].texCoord[0][0];
        const float dV1 = v[i1].texCoord[0][1] - v[i0].texCoord[0][1];
        const float dU2 = v[i2].texCoord[0][0] - v[i0].texCoord[0][0];
        const float dV2 = v[i2].texCoord[0][1] - v[i0].texCoord[0][1];
        const float area = dU1 * dV2 - dU2 * dV1;
        if (area == 0.0f)
            return;
        const float r = 1.0f / area;
        const glm::vec3 binormal = (e2 * dU1 - e1 * dU2) * r;
        const glm::vec3 tangent = (e1 * dV2 - e2 * dV1) * r;
        for (uint32_t corner : {i0, i1, i2}) {
            QelVertexRecord record = list->GetVertex(static_cast<int>(corner));
            AddTo(record.binormal, binormal);
            AddTo(record.tangent, tangent);
            list->SetVertex(static_cast<int>(corner), record);
        }
    });
}

bool QEL3DDrawUnit::RayCast(const glm::vec3& origin, const glm::vec3& direction, float& distance,
                            glm::vec3& hitPoint, glm::vec3& normal) const
{
    QelVertexList* list = Vertices();
    if (list == nullptr)
        return false;
    const QelVertex* v = list->Vertices();
    float best = kRayCastReach;
    glm::vec3 bestPoint(0.0f), bestNormal(0.0f);
    ForEachTriangle([&](uint32_t i0, uint32_t i1, uint32_t i2) {
        float t = 0.0f;
        glm::vec3 point, faceNormal;
        if (RayTriangleIntersect(origin, direction, Position(v[i0]), Position(v[i1]), Position(v[i2]), t, point,
                                 faceNormal) &&
            t < best) {
            best = t;
            bestPoint = point;
            bestNormal = faceNormal;
        }
    });
    if (best >= kRayCastReach)
        return false;
    distance = best;
    hitPoint = bestPoint;
    normal = bestNormal;
    return true;
}
