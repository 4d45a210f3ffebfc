#include "game/render/manager/QelVolumeManager.h"

#include "engine/base/QelGraphicsFactoryBase.h"
#include "helper/CRand.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// No ambient light inside a nebula; a warm sun far along -x.
constexpr glm::vec4 kAmbient{0.0f, 0.0f, 0.0f, 1.0f};
constexpr glm::vec4 kLightDirection{-1.0f, 0.0f, 0.0f, 0.0f};
constexpr glm::vec4 kLightColour{1.0f, 0.8f, 0.5f, 1.0f};

// A value between the range's ends from the next random number.
float Between(float min, float max)
{
    return min + (max - min) * static_cast<float>(crand()) / static_cast<float>(CRAND_MAX);
}

// The channels are drawn blue first, red last.
void DrawColour(float (&rgb)[3], const NebulaVolumeRanges::Colours& range)
{
    for (int channel = 2; channel >= 0; --channel)
        rgb[channel] = Between(range.min[channel], range.max[channel]);
}

float DrawValue(const NebulaVolumeRanges::Values& range)
{
    return Between(range.min, range.max);
}

void SetFloat(QelDrawProcess& shader, const char* name, float value)
{
    shader.SetParameter(name, value, 0.0f, 0.0f, 0.0f);
}

void SetVector(QelDrawProcess& shader, const char* name, const glm::vec4& value)
{
    shader.SetParameter(name, value.x, value.y, value.z, value.w);
}

// The least and greatest slope (across over depth) of the lines from the eye
// touching a circle about (across, depth); the circle lies wholly ahead.
glm::vec2 TouchingSlopes(float across, float depth, float radius)
{
    const float tangent = std::sqrt(across * across + depth * depth - radius * radius);
    const float squares = depth * depth - radius * radius;
    return glm::vec2(across * depth - radius * tangent, across * depth + radius * tangent) / squares;
}

}  // namespace

void QelVolumeManager::Setup(int32_t octaves, const NebulaVolumeRanges& valueRanges)
{
    additive = true;
    sampleCount = kSampleCount;
    octaveCount = octaves;
    ranges = valueRanges;
    shader = gGraphicsFactory ? gGraphicsFactory->GetShader(kShaderName) : nullptr;
    BuildLists();
    Clear();
}

void QelVolumeManager::BuildLists()
{
    cube = MakeUnitCube(kVertexListName, kIndexListName);
}

NebulaVolumeParams QelVolumeManager::RandomizeParameters(int32_t seed) const
{
    csrand(static_cast<uint32_t>(seed));
    NebulaVolumeParams p;
    DrawColour(p.absorption, ranges.absorption);
    DrawColour(p.emission, ranges.emissive);
    DrawColour(p.scattering, ranges.mieScattering);
    p.anisotropy = DrawValue(ranges.anisotropy);
    p.radius = DrawValue(ranges.radius);
    p.density = DrawValue(ranges.density);
    p.baseFrequency = DrawValue(ranges.baseFrequency);
    p.baseAmplitude = DrawValue(ranges.baseAmplitude);
    p.detailFrequency = DrawValue(ranges.detailFrequency);
    p.detailAmplitude = DrawValue(ranges.detailAmplitude);
    p.detailLacunarity = DrawValue(ranges.detailLacunarity);
    p.domainWarp = DrawValue(ranges.domainWarp);
    p.swirl = DrawValue(ranges.swirl);
    p.sampleCount = static_cast<uint32_t>(sampleCount);
    p.octaveCount = static_cast<uint32_t>(octaveCount);
    p.randomSeed = seed;
    return p;
}

void QelVolumeManager::AddVolume(const glm::vec3& position, const NebulaVolumeParams& parameters)
{
    positions.push_back(position);
    params.push_back(parameters);
    worlds.push_back(glm::scale(glm::translate(glm::mat4(1.0f), position), glm::vec3(kBoxScale * parameters.radius)));
    ++count;
}

void QelVolumeManager::Draw(const glm::mat4& view, const glm::vec4& cameraPos, const glm::vec4& cameraDir,
                            Qel2dBitmap* texture, int32_t downsampleRatio)
{
    if (count > 0 && shader && cube.Ready() && texture) {
        SortFarToNear(-glm::vec3(cameraPos));
        for (const Distance& volume : order) {
            const size_t i = static_cast<size_t>(volume.index);
            SetConstants(params[i], cameraPos, cameraDir, downsampleRatio);
            shader->bitmap2DList = {texture};
            shader->vertList = {cube.vertices};
            shader->indexList = {cube.indices};
            shader->instanceList.clear();
            shader->Draw3D(worlds[i], view, nullptr, 0, 0);
        }
    }
    Clear();
}

// The ball a box holds is all its cloud can fill: its span is found from
// the lines through the eye that touch it, each way across the view.
IntRect QelVolumeManager::ScreenBounds(const glm::mat4& view, const glm::mat4& projection, int32_t width,
                                       int32_t height) const
{
    const IntRect whole{0, 0, width, height};
    // In device coordinates, y up; each edge starts past its opposite.
    float left = 1.0f, top = -1.0f, right = -1.0f, bottom = 1.0f;
    for (size_t i = 0; i < positions.size(); ++i) {
        const glm::vec3 centre(view * glm::vec4(positions[i], 1.0f));
        const float reach = kBoxScale * params[i].radius;
        if (centre.z + reach < 0.0f)
            continue;  // wholly behind the eye
        if (!(centre.z - reach > kNearestDepth))
            return whole;
        const glm::vec2 across = TouchingSlopes(centre.x, centre.z, reach) * projection[0][0];
        const glm::vec2 down = TouchingSlopes(centre.y, centre.z, reach) * projection[1][1];
        left = std::min(left, across.x);
        right = std::max(right, across.y);
        bottom = std::min(bottom, down.x);
        top = std::max(top, down.y);
    }
    if (!(left < right && bottom < top))
        return {};
    const auto column = [&](float x) { return (std::clamp(x, -1.0f, 1.0f) + 1.0f) / 2.0f * static_cast<float>(width); };
    const auto row = [&](float y) { return (1.0f - std::clamp(y, -1.0f, 1.0f)) / 2.0f * static_cast<float>(height); };
    return {static_cast<int32_t>(std::floor(column(left))), static_cast<int32_t>(std::floor(row(top))),
            static_cast<int32_t>(std::ceil(column(right))), static_cast<int32_t>(std::ceil(row(bottom)))};
}

void QelVolumeManager::Clear()
{
    positions.clear();
    worlds.clear();
    params.clear();
    count = 0;
}

// Additive light needs no order. Blended volumes go farthest first, those at
// the same distance in queue order.
void QelVolumeManager::SortFarToNear(const glm::vec3& camera)
{
    order.clear();
    for (int32_t i = 0; i < count; ++i) {
        const glm::vec3 apart = positions[static_cast<size_t>(i)] - camera;
        order.push_back({apart.x * apart.x + apart.y * apart.y + apart.z * apart.z, i});
    }
    if (!additive)
        std::stable_sort(order.begin(), order.end(),
                         [](const Distance& a, const Distance& b) { return a.squared > b.squared; });
}

void QelVolumeManager::SetConstants(const NebulaVolumeParams& v, const glm::vec4& cameraPos,
                                    const glm::vec4& cameraDir, int32_t downsampleRatio)
{
    QelDrawProcess& s = *shader;
    SetVector(s, "ambientColor", kAmbient);
    SetVector(s, "lightDir", kLightDirection);
    SetVector(s, "lightColorIntensity", kLightColour);
    s.SetParameter("absorptionColor", v.absorption[0], v.absorption[1], v.absorption[2], 0.0f);
    s.SetParameter("emissiveColor", v.emission[0], v.emission[1], v.emission[2], 0.0f);
    s.SetParameter("mieScattering", v.scattering[0], v.scattering[1], v.scattering[2], 0.0f);
    const std::pair<const char*, float> values[] = {
        {"anisotropy", v.anisotropy},
        {"radius", v.radius},
        {"density", v.density},
        {"baseFrequency", v.baseFrequency},
        {"baseAmplitude", v.baseAmplitude},
        {"detailFrequency", v.detailFrequency},
        {"detailAmplitude", v.detailAmplitude},
        {"detailLacunarity", v.detailLacunarity},
        {"domainWarp", v.domainWarp},
        {"swirl", v.swirl},
        {"numSamples", static_cast<float>(v.sampleCount)},
        {"numOctaves", static_cast<float>(v.octaveCount)},
        {"randomSeed", static_cast<float>(v.randomSeed)},
        {"downsampleRatio", static_cast<float>(downsampleRatio)},
        {"additive", additive ? 1.0f : 0.0f},
    };
    for (const auto& [name, value] : values)
        SetFloat(s, name, value);
    SetVector(s, "camPos", cameraPos);
    SetVector(s, "camDir", cameraDir);
}
