#include "engine/gl/GLQELShaderPhong.h"

#include "helper/QelAssert.h"

namespace {

struct Block {
    glm::mat4 world, view, projection;
    glm::vec4 ambientColor, lightDir;
};
static_assert(sizeof(Block) == GLQELShaderPhong::kConstantBytes, "the Phong block is 224 bytes");

}  // namespace

bool GLQELShaderPhong::Setup(SDL_Window* window)
{
    if (!Initialise(window, "data/graphics/shader-phong.vs", "data/graphics/shader-phong.ps"))
        return false;
    CreateConstantBuffer(kConstantBytes);
    return true;
}

void GLQELShaderPhong::SetParameter(std::string name, float x, float y, float z, float w)
{
    if (name == "depth")
        depth = IsOn(x);
    else if (name == "ATOC")
        ATOC = IsOn(x);
    else if (name == "ambientColor")
        ambientColor = {x, y, z, w};
    else if (name == "lightDir")
        lightDir = {x, y, z, 0.0f};
    else
        QEL_ASSERT(false, "false");
}

void GLQELShaderPhong::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int count, int)
{
    RequireMeshLists();
    if (!IsReady())
        return;
    const MatrixBlock m = Matrices(world, view);
    const Block block{m.world, m.view, m.projection, ambientColor, lightDir};
    DrawMesh({false, ATOC, depth, true}, &block, sizeof(block), 0, 1, count);
}
