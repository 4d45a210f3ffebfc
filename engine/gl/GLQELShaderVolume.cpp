#include "engine/gl/GLQELShaderVolume.h"

#include "helper/QelAssert.h"

bool GLQELShaderVolume::Setup(SDL_Window* window)
{
    return Initialise(window, "data/graphics/shader-testvolume.vs", "data/graphics/shader-testvolume.ps");
}

void GLQELShaderVolume::SetParameter(std::string name, float x, float y, float z, float w)
{
    if (name == "additive")
        additive = IsOn(x);
    else
        GLQELShaderGasGiant::SetParameter(std::move(name), x, y, z, w);
}

void GLQELShaderVolume::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int count, int)
{
    RequireMeshLists();
    if (!IsReady())
        return;
    DrawPlanet(world, view, {additive, false, false, true}, 1, count);
}
