#include "engine/gl/GLQELShaderGasGiant.h"

#include "helper/QelAssert.h"

namespace {

struct Block {
    glm::mat4 world, view, projection;
    GLQELPlanetParameters planet;
};
static_assert(sizeof(Block) == GLQELShaderGasGiant::kConstantBytes, "the planet block is 384 bytes");

}  // namespace

bool GLQELShaderGasGiant::Setup(SDL_Window* window)
{
    return Initialise(window, "data/graphics/shader-gasgiant.vs", "data/graphics/shader-gasgiant.ps");
}

bool GLQELShaderGasGiant::Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile)
{
    if (!GLQELShaderRoot::Initialise(window, vertexFile, pixelFile))
        return false;
    CreateConstantBuffer(kConstantBytes);
    return true;
}

void GLQELShaderGasGiant::SetParameter(std::string name, float x, float y, float z, float w)
{
    if (!parameters.Set(name, x, y, z, w))
        QEL_ASSERT(false, "false");
}

void GLQELShaderGasGiant::DrawPlanet(const glm::mat4& world, const glm::mat4& view, const DrawStates& states,
                                     GLuint textures, int count)
{
    const MatrixBlock m = Matrices(world, view);
    const Block block{m.world, m.view, m.projection, parameters};
    DrawMesh(states, &block, sizeof(block), 0, textures, count);
}

void GLQELShaderGasGiant::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int, int)
{
    QEL_ASSERT(bitmap2DList.size() == 0, "bitmap2DList.size() == 0");
    QEL_ASSERT(vertList.size() > 0, "vertList.size() > 0");
    QEL_ASSERT(indexList.size() > 0, "indexList.size() > 0");
    if (!IsReady())
        return;
    DrawPlanet(world, view, {false, false, false, true, true}, 0, 0);
}
