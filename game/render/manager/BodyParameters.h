#pragma once
// What the planet and nebula renderers draw a planet or a nebula volume
// from. Missions keep the values in the object's data set; each object
// carries a change stamp, and the render manager keeps one record per object
// that it refreshes only when the stamp moves, so a frame does not read a
// dozen keys for every body.

#include <cstdint>
#include <string_view>

class SpaceObject;

// One planet as the gas-giant renderer takes it.
struct PlanetParams {
    uint64_t stamp = 0;  // "planet_last_changed" when last read
    float radius = 0.0f;
    float baseColor[3] = {0, 0, 0};
    float emissiveColor[3] = {0, 0, 0};
    float upperCloudColor[3] = {0, 0, 0};
    float fresnel = 0.0f;
    float fresnelBias = 0.0f;
    float bandScale = 0.0f;
    float windSpeed1 = 0.0f;
    float windSpeed2 = 0.0f;
    float upperCloudStrength = 0.0f;
    float upperCloudExponent = 0.0f;
};
static_assert(sizeof(PlanetParams) == 80, "the gas-giant renderer takes an 80-byte record");

// One nebula volume as the volume renderer takes it: 24 words, the first
// two the stamp, which the volume draw does not use.
struct NebulaVolumeParams {
    uint64_t stamp = 0;  // "nebula_last_changed" when last read; 0 = never read
    float absorption[3] = {0, 0, 0};
    float emission[3] = {0, 0, 0};
    float scattering[3] = {0, 0, 0};  // Mie scattering
    float anisotropy = 0.0f;
    float radius = 0.0f;  // twice the object's "display_size"
    float density = 0.0f;
    float baseFrequency = 0.0f;
    float baseAmplitude = 0.0f;
    float detailFrequency = 0.0f;
    float detailAmplitude = 0.0f;
    float detailLacunarity = 0.0f;
    float domainWarp = 0.0f;
    float swirl = 0.0f;
    uint32_t sampleCount = 0;
    uint32_t octaveCount = 0;
    int32_t randomSeed = 0;
};
static_assert(sizeof(NebulaVolumeParams) == 24 * 4, "the volume renderer takes a 24-word record");

// Stores the object's float under the key in the destination unless it reads
// 0 (a key never set reads 0): missions set only what they change. A value
// that is not a number is stored.
void ReadNonZeroFloat(const SpaceObject& object, std::string_view key, float& destination);
