#pragma once
// "GasGiant": a planet drawn on a box around it. The pixel shader finds
// where each view ray meets the (oblate) sphere of the planet's radius about
// the world matrix's centre and shades it: cloud bands, a storm, the lit
// and the dark side, an atmosphere at the rim. No textures; depth is tested,
// not written; back faces of the box are culled while it draws.

#include "engine/gl/GLQELPlanetParameters.h"
#include "engine/gl/GLQELShaderRoot.h"

class GLQELShaderGasGiant : public GLQELShaderRoot {
public:
    // world, view, projection (192 bytes), then the planet's constants.
    static constexpr int kConstantBytes = 384;

    // Draws the whole first index list.
    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    void SetParameter(std::string name, float x, float y, float z, float w) override;
    bool Setup(SDL_Window* window) override;
    bool Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile) override;

    GLQELPlanetParameters parameters;

protected:
    void DrawPlanet(const glm::mat4& world, const glm::mat4& view, const DrawStates& states, GLuint textures,
                    int count);
};
