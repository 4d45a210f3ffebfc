#include "engine/gl/GLQELShader3DFlat.h"

#include <glm/mat4x4.hpp>

#include "helper/QelAssert.h"

bool GLQELShader3DFlat::Setup(SDL_Window* window)
{
    return Initialise(window, "data/graphics/shader-flat.vs", "data/graphics/shader-flat.ps");
}

bool GLQELShader3DFlat::Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile)
{
    if (!GLQELShaderRoot::Initialise(window, vertexFile, pixelFile))
        return false;
    CreateConstantBuffer(kConstantBytes);
    return true;
}

void GLQELShader3DFlat::SetParameter(std::string name, float x, float y, float z, float w)
{
    if (name == "write" || name == "depth")
        write = IsOn(x);
    else if (name == "read")
        read = IsOn(x);
    else if (name == "ATOC")
        ATOC = IsOn(x);
    else if (name == "additive")
        additive = IsOn(x);
    else if (name == "color")
        color = {x, y, z, w};
    else if (name == "drawglowonly")
        drawglowonly = IsOn(x);
    else
        QEL_ASSERT(false, "false");
}

void GLQELShader3DFlat::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int count, int)
{
    RequireMeshLists();
    if (!IsReady())
        return;
    const Block block{Matrices(world, view), color};
    // The glow texture is the second one; a list of one has none to draw.
    const size_t texture = drawglowonly && bitmap2DList.size() > 1 ? 1 : 0;
    DrawMesh({additive, ATOC, write, read}, &block, sizeof(block), texture, 1, count);
}
