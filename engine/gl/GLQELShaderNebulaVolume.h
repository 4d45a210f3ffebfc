#pragma once
// "NebulaVolume": a nebula marched as a volume through a box around it. The
// pixel shader walks each view ray through the cloud (its density grid,
// baked once from the noise constants below), stops at the scene's depth,
// and adds the light the cloud scatters and emits. It is given the colour
// and the depth of the render target in its first bitmap (units 0 and 1);
// the target drawn into has no depth attached while it draws. A volume
// behind the camera is skipped.

#include <glm/vec4.hpp>

#include "engine/gl/GLQELNebulaDensityCache.h"
#include "engine/gl/GLQELShaderRoot.h"

class GLQELShaderNebulaVolume : public GLQELShaderRoot {
public:
    // world, view, projection (192 bytes), 64 bytes unused, then the cloud.
    static constexpr int kConstantBytes = 448;

    // Draws the whole first index list.
    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    void SetParameter(std::string name, float x, float y, float z, float w) override;
    bool Setup(SDL_Window* window) override;
    void Release() override;

    bool additive = true;
    glm::vec4 lightDir{0.0f};  // toward the light; w unused
    glm::vec4 lightColorIntensity{0.0f}, ambientColor{0.0f}, absorptionColor{0.0f};
    glm::vec4 camPos{0.0f};  // the camera's eye as the camera keeps it: minus its world position
    glm::vec4 camDir{0.0f};
    glm::vec4 emissiveColor{0.0f};
    glm::vec4 position{0.0f};  // kept for the caller; the centre drawn is the world matrix's
    glm::vec4 mieScattering{0.0f};
    float radius = 0, density = 0, baseFrequency = 0, baseAmplitude = 0, detailFrequency = 0, swirl = 0;
    float anisotropy = 0, detailAmplitude = 0, detailLacunarity = 0, domainWarp = 0;
    int32_t numSamples = 0, numOctaves = 0, randomSeed = 0, downsampleRatio = 0;

    // Whether the camera stands inside three quarters of the radius of a
    // volume centred at the world matrix's translation.
    bool CameraInside(const glm::mat4& world) const;
    // Whether the volume is drawn: always from inside, else only when its
    // centre lies ahead of the camera.
    bool InView(const glm::mat4& world) const;
    // The density grids kept for the clouds drawn lately.
    const GLQELNebulaDensityCache& DensityGrids() const { return densityGrids_; }

private:
    GLQELNebulaDensityCache::Key CloudKey() const;

    GLuint bakeProgram_ = 0;
    GLQELNebulaDensityCache densityGrids_;
};
