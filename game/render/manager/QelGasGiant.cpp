#include "game/render/manager/QelGasGiant.h"

#include "engine/base/QelGraphicsFactoryBase.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <utility>

namespace {

// One white sun far along -x lights every planet, over a grey ambient.
constexpr glm::vec4 kAmbient{0.4f, 0.4f, 0.4f, 1.0f};
constexpr glm::vec4 kLightDirection{-1.0f, 0.0f, 0.0f, 0.0f};
constexpr glm::vec4 kLightColour{1.0f, 1.0f, 1.0f, 1.0f};
// The upper clouds are laid over the bands at this opacity.
constexpr float kUpperCloudAlpha = 0.8f;
// Shape of every planet: round, and the one great storm's look.
constexpr float kTimeScale = 1.0f;
constexpr float kOblateness = 1.0f;
constexpr float kStormSpeed = 0.1f;
constexpr float kStormSize = 0.34f;
constexpr float kStormDepth = 0.98f;
constexpr float kCycloneStability = -0.31f;

void SetVector(QelDrawProcess& shader, const char* name, const glm::vec4& value)
{
    shader.SetParameter(name, value.x, value.y, value.z, value.w);
}

void SetColour(QelDrawProcess& shader, const char* name, const float (&rgb)[3], float alpha)
{
    shader.SetParameter(name, rgb[0], rgb[1], rgb[2], alpha);
}

void SetFloat(QelDrawProcess& shader, const char* name, float value)
{
    shader.SetParameter(name, value, 0.0f, 0.0f, 0.0f);
}

}  // namespace

QelGasGiant::QelGasGiant() : cube(MakeUnitCube(kVertexListName, kIndexListName))
{
    if (gGraphicsFactory)
        shader = gGraphicsFactory->GetShader(kShaderName);
}

void QelGasGiant::AddInstance(const glm::vec3& position, const PlanetParams& planet)
{
    worlds.push_back(glm::scale(glm::translate(glm::mat4(1.0f), position), glm::vec3(planet.radius)));
    positions.push_back(position);
    params.push_back(planet);
    ++count;
}

void QelGasGiant::Draw(const glm::mat4& view, const glm::vec4& cameraPos, const glm::vec4& cameraDir)
{
    SortFarToNear(glm::vec3(cameraPos));
    if (shader && cube.Ready())
        for (const int32_t i : order) {
            const size_t planet = static_cast<size_t>(i);
            SetConstants(params[planet], cameraPos, cameraDir);
            shader->bitmap2DList.clear();
            shader->vertList = {cube.vertices};
            shader->indexList = {cube.indices};
            shader->instanceList.clear();
            shader->Draw3D(worlds[planet], view, nullptr, 0, 0);
        }
    worlds.clear();
    positions.clear();
    params.clear();
    count = 0;
}

// Planets at the same distance keep the order they were queued in.
void QelGasGiant::SortFarToNear(const glm::vec3& camera)
{
    distances.clear();
    for (int32_t i = 0; i < count; ++i) {
        const glm::vec3 apart = positions[static_cast<size_t>(i)] - camera;
        distances.push_back({apart.x * apart.x + apart.y * apart.y + apart.z * apart.z, i});
    }
    std::stable_sort(distances.begin(), distances.end(),
                     [](const Distance& a, const Distance& b) { return a.squared > b.squared; });
    order.clear();
    for (const Distance& d : distances)
        order.push_back(d.instance);
}

// The shader takes the camera as the camera keeps it: negated.
void QelGasGiant::SetConstants(const PlanetParams& planet, const glm::vec4& cameraPos, const glm::vec4& cameraDir)
{
    QelDrawProcess& s = *shader;
    SetVector(s, "camPos", glm::vec4(-cameraPos.x, -cameraPos.y, -cameraPos.z, cameraPos.w));
    SetVector(s, "camDir", cameraDir);
    SetVector(s, "ambientColor", kAmbient);
    SetVector(s, "lightDir", kLightDirection);
    SetVector(s, "lightColorIntensity", kLightColour);
    SetColour(s, "baseColor", planet.baseColor, 1.0f);
    SetColour(s, "emissiveColor", planet.emissiveColor, 1.0f);
    SetColour(s, "upperCloudColor", planet.upperCloudColor, kUpperCloudAlpha);
    const std::pair<const char*, float> values[] = {
        {"fresnelPower", planet.fresnel},
        {"fresnelBias", planet.fresnelBias},
        {"timeScale", kTimeScale},
        {"radius", planet.radius},
        {"oblateness", kOblateness},
        {"bandScale", planet.bandScale},
        {"upperCloudStrength", planet.upperCloudStrength},
        {"upperCloudExponent", planet.upperCloudExponent},
        {"windSpeed1", planet.windSpeed1},
        {"windSpeed2", planet.windSpeed2},
        {"time", timeValue},
        {"stormSpeed", kStormSpeed},
        {"stormSize", kStormSize},
        {"stormDepth", kStormDepth},
        {"cycloneStability", kCycloneStability},
    };
    for (const auto& [name, value] : values)
        SetFloat(s, name, value);
}
