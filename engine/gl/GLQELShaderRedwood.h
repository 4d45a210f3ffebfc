#pragma once
// "Redwood": the lit-ship shader. A mesh with four textures (diffuse,
// emissive, specular and normal map, units 0 to 3) lit by one directional
// light, an ambient colour and 16 coloured spot lights, its emissive glow
// scaled by "glowMult". The constants reach both shader stages.

#include <glm/vec4.hpp>

#include "engine/gl/GLQELShaderRoot.h"

class GLQELShaderRedwood : public GLQELShaderRoot {
public:
    static constexpr int kSpotLights = 16;
    // world, view, projection (192 bytes), six rows of lighting, 16 spot
    // colours and 16 spot positions: 50 rows of four floats.
    static constexpr int kConstantBytes = 800;
    static constexpr int kTextures = 4;

    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    void SetParameter(std::string name, float x, float y, float z, float w) override;
    bool Setup(SDL_Window* window) override;
    bool Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile) override;

    // The constants in block order after the matrices.
    struct Lighting {
        glm::vec4 glowMult{1.0f};  // x: emissive scale; RedwoodWiggle's wave in y, z, w
        glm::vec4 lightDir{0.0f};  // the direction the light travels
        glm::vec4 lightColorIntensity{0.0f};
        glm::vec4 ambientColor{0.0f};
        glm::vec4 cameraDir{0.0f};  // the world direction the camera looks
        glm::vec4 cameraPos{0.0f};  // the camera's eye as the camera keeps it: minus its world position
        glm::vec4 spotColor[kSpotLights] = {};
        glm::vec4 spotPos[kSpotLights] = {};  // world position; w: radius, 0 for a light that is off
    };

    bool depth = true;  // writes depth when set; else tests without writing
    bool ATOC = false;
    Lighting lighting;

protected:
    // The spot light a "spot..." parameter's x names: trunc(x + 0.01), or
    // -1 for a number that names none of the 16.
    static int SpotIndex(float x);
};
