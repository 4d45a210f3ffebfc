#include "engine/gl/GLQELShaderRedwood.h"

#include <cmath>

#include "helper/QelAssert.h"

namespace {

struct Block {
    glm::mat4 world, view, projection;
    GLQELShaderRedwood::Lighting lighting;
};
static_assert(sizeof(Block) == GLQELShaderRedwood::kConstantBytes, "the Redwood block is 800 bytes");

// The lights that are on, packed to the front in slot order and the rest
// zeroed: the shader stops at the first light that is off, so a frame with
// few lights costs little.
GLQELShaderRedwood::Lighting Packed(const GLQELShaderRedwood::Lighting& lighting)
{
    GLQELShaderRedwood::Lighting packed = lighting;
    int next = 0;
    for (int i = 0; i < GLQELShaderRedwood::kSpotLights; ++i)
        if (lighting.spotPos[i].w > 0.0f) {
            packed.spotColor[next] = lighting.spotColor[i];
            packed.spotPos[next] = lighting.spotPos[i];
            ++next;
        }
    for (; next < GLQELShaderRedwood::kSpotLights; ++next)
        packed.spotColor[next] = packed.spotPos[next] = glm::vec4(0.0f);
    return packed;
}

}  // namespace

bool GLQELShaderRedwood::Setup(SDL_Window* window)
{
    return Initialise(window, "data/graphics/shader-redwood.vs", "data/graphics/shader-redwood.ps");
}

bool GLQELShaderRedwood::Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile)
{
    if (!GLQELShaderRoot::Initialise(window, vertexFile, pixelFile))
        return false;
    CreateConstantBuffer(kConstantBytes);
    return true;
}

int GLQELShaderRedwood::SpotIndex(float x)
{
    const float index = std::trunc(x + 0.01f);
    return index >= 0.0f && index < kSpotLights ? static_cast<int>(index) : -1;
}

// A spot parameter naming no light (a NaN or a number outside 0..15) is the
// caller's error: the assertion names it.
void GLQELShaderRedwood::SetParameter(std::string name, float x, float y, float z, float w)
{
    const bool spot = name == "spotColor" || name == "spotPos" || name == "spotRadius";
    const int light = spot ? SpotIndex(x) : 0;
    QEL_ASSERT(light >= 0, "lightIndex < 16");
    if (name == "depth")
        depth = IsOn(x);
    else if (name == "ATOC")
        ATOC = IsOn(x);
    else if (name == "lightDir")
        lighting.lightDir = {x, y, z, w};
    else if (name == "lightColorIntensity")
        lighting.lightColorIntensity = {x, y, z, w};
    else if (name == "ambientColor")
        lighting.ambientColor = {x, y, z, w};
    else if (name == "cameraDir")
        lighting.cameraDir = {x, y, z, w};
    else if (name == "cameraPos")
        lighting.cameraPos = {x, y, z, w};
    else if (name == "glowMult")
        lighting.glowMult.x = x;
    else if (name == "spotColor")
        lighting.spotColor[light] = {y, z, w, 1.0f};
    else if (name == "spotPos")
        lighting.spotPos[light] = {y, z, w, lighting.spotPos[light].w};
    else if (name == "spotRadius")
        lighting.spotPos[light].w = y;
    else
        QEL_ASSERT(false, "false");
}

// Textures past the fourth are not read; fewer than four repeat the first,
// so a mesh with only a diffuse texture still draws.
void GLQELShaderRedwood::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int count, int)
{
    RequireMeshLists();
    if (!IsReady())
        return;
    const MatrixBlock m = Matrices(world, view);
    const Block block{m.world, m.view, m.projection, Packed(lighting)};
    DrawMesh({false, ATOC, depth, true}, &block, sizeof(block), 0, kTextures, count);
}
