#include "engine/gl/GLQELShader3DPointRing.h"

#include "helper/QelAssert.h"

namespace {

struct Block {
    glm::mat4 world, view, projection;
    glm::vec4 color, centerPoint, minMax;
};
static_assert(sizeof(Block) == GLQELShader3DPointRing::kConstantBytes, "the PointRing block is 240 bytes");

}  // namespace

bool GLQELShader3DPointRing::Setup(SDL_Window* window)
{
    if (!Initialise(window, "data/graphics/shader-point-ring.vs", "data/graphics/shader-point-ring.ps"))
        return false;
    CreateConstantBuffer(kConstantBytes);
    return true;
}

void GLQELShader3DPointRing::SetParameter(std::string name, float x, float y, float z, float w)
{
    if (name == "depth")
        depth = IsOn(x);
    else if (name == "ATOC")
        ATOC = IsOn(x);
    else if (name == "additive")
        additive = IsOn(x);
    else if (name == "color")
        color = {x, y, z, w};
    else if (name == "centerPoint")
        centerPoint = {x, y, z, w};
    else if (name == "minMax")
        minMax = {x, y, z, w};
    else
        QEL_ASSERT(false, "false");
}

void GLQELShader3DPointRing::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int count, int)
{
    RequireMeshLists();
    if (!IsReady())
        return;
    const MatrixBlock m = Matrices(world, view);
    const Block block{m.world, m.view, m.projection, color, centerPoint, minMax};
    DrawMesh({additive, ATOC, depth, true}, &block, sizeof(block), 0, 1, count);
}
