// The render manager's planet and nebula records, refreshed from the
// objects' data sets when their change stamps move.

#include "game/render/manager/BodyParameters.h"
#include "game/render/manager/RenderManager.h"

#include "game/world/DataKey.h"
#include "game/world/SpaceObject.h"

#include <utility>

namespace {

constexpr DataKey kPlanetStamp{"planet_last_changed", kPlayDoc};
constexpr DataKey kNebulaStamp{"nebula_last_changed", kPlayDoc};
constexpr DataKey kNebulaSeed{"theRenderManager->random_seed", kPlayDoc};

// A nebula read for the first time takes this stamp, whatever its own: its
// next refresh reads it again when the mission's stamp is higher.
constexpr uint64_t kFirstNebulaStamp = 1;

}  // namespace

void ReadNonZeroFloat(const SpaceObject& object, std::string_view key, float& destination)
{
    const float value = ReadFloat(object.data_set, DataKey{key, kPlayDoc});
    if (value != 0.0f)
        destination = value;
}

// A stamp equal to the one stored reads the planet again: only a record
// newer than the object's is current.
PlanetParams& RenderManager::UpdatePlanetParameters(const SpaceObject& planet)
{
    PlanetParams& record = planetParams[planet.uniqueID];
    const uint64_t stamp = ReadUInt64(planet.data_set, kPlanetStamp);
    if (record.stamp > stamp)
        return record;
    record.stamp = stamp;
    const std::pair<const char*, float*> fields[] = {
        {"planet_radius", &record.radius},
        {"planet_baseColorR", &record.baseColor[0]},
        {"planet_baseColorG", &record.baseColor[1]},
        {"planet_baseColorB", &record.baseColor[2]},
        {"planet_emissiveColorR", &record.emissiveColor[0]},
        {"planet_emissiveColorG", &record.emissiveColor[1]},
        {"planet_emissiveColorB", &record.emissiveColor[2]},
        {"planet_upperCloudColorR", &record.upperCloudColor[0]},
        {"planet_upperCloudColorG", &record.upperCloudColor[1]},
        {"planet_upperCloudColorB", &record.upperCloudColor[2]},
        {"planet_fresnel", &record.fresnel},
        {"planet_fresnelBias", &record.fresnelBias},
        {"planet_bandScale", &record.bandScale},
        {"planet_windSpeed1", &record.windSpeed1},
        {"planet_windSpeed2", &record.windSpeed2},
        {"planet_upperCloudStrength", &record.upperCloudStrength},
        {"planet_upperCloudExponent", &record.upperCloudExponent},
    };
    for (const auto& [key, field] : fields)
        ReadNonZeroFloat(planet, key, *field);
    return record;
}

// The radius is twice the display size. A display size of 0 (or never set)
// keeps the radius as it was rather than doubling it again at every refresh.
NebulaVolumeParams& RenderManager::UpdateNebulaParameters(const SpaceObject& nebula)
{
    NebulaVolumeParams& record = nebulaParams[nebula.uniqueID];
    const uint64_t stamp = ReadUInt64(nebula.data_set, kNebulaStamp);
    if (record.stamp != 0 && record.stamp >= stamp)
        return record;
    record.stamp = record.stamp == 0 ? kFirstNebulaStamp : stamp;
    const std::pair<const char*, float*> fields[] = {
        {"absorption_red", &record.absorption[0]},
        {"absorption_green", &record.absorption[1]},
        {"absorption_blue", &record.absorption[2]},
        {"emission_red", &record.emission[0]},
        {"emission_green", &record.emission[1]},
        {"emission_blue", &record.emission[2]},
        {"scattering_red", &record.scattering[0]},
        {"scattering_green", &record.scattering[1]},
        {"scattering_blue", &record.scattering[2]},
        {"anisotropy", &record.anisotropy},
        {"density", &record.density},
        {"base_frequency", &record.baseFrequency},
        {"base_amplitude", &record.baseAmplitude},
        {"detail_frequency", &record.detailFrequency},
        {"detail_amplitude", &record.detailAmplitude},
        {"detail_lacunarity", &record.detailLacunarity},
        {"domain_warp", &record.domainWarp},
        {"swirl", &record.swirl},
    };
    for (const auto& [key, field] : fields)
        ReadNonZeroFloat(nebula, key, *field);
    float displaySize = 0.0f;
    ReadNonZeroFloat(nebula, "display_size", displaySize);
    if (displaySize != 0.0f)
        record.radius = 2.0f * displaySize;
    if (const int64_t seed = ReadInt(nebula.data_set, kNebulaSeed); seed != 0)
        record.randomSeed = static_cast<int32_t>(seed);
    return record;
}
