#include "engine/gl/GLQELShaderInstancedPostTransform.h"

#include <algorithm>

#include "engine/gl/GLQELInstanceList.h"
#include "engine/gl/GLQELVertList.h"
#include "helper/QelAssert.h"

namespace {

struct Block {
    glm::mat4 world, view, projection;
    float velocityStretch, unused[3];
};
static_assert(sizeof(Block) == GLQELShaderInstancedPostTransform::kConstantBytes, "the block is 208 bytes");

}  // namespace

bool GLQELShaderInstancedPostTransform::Setup(SDL_Window* window)
{
    return Initialise(window, "data/graphics/shader-instancedposttransform.vs",
                      "data/graphics/shader-instancedposttransform.ps");
}

bool GLQELShaderInstancedPostTransform::Initialise(SDL_Window* window, const std::string& vertexFile,
                                                    const std::string& pixelFile)
{
    if (!GLQELShaderRoot::Initialise(window, vertexFile, pixelFile))
        return false;
    CreateConstantBuffer(kConstantBytes);
    return true;
}

void GLQELShaderInstancedPostTransform::SetParameter(std::string name, float x, float, float, float)
{
    if (name == "additive")
        additive = IsOn(x);
    else if (name == "velocityStretch")
        velocityStretch = x;
    else
        QEL_ASSERT(false, "false");
}

// Counts past the lists' lengths draw what the lists hold.
void GLQELShaderInstancedPostTransform::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int count,
                                               int instanceCount)
{
    QEL_ASSERT(bitmap2DList.size() > 0, "bitmap2DList.size() > 0");
    QEL_ASSERT(vertList.size() > 0, "vertList.size() > 0");
    QEL_ASSERT(instanceList.size() > 0, "instanceList.size() > 0");
    QEL_ASSERT(indexList.size() <= 0, "indexList.size() <= 0");
    GLQELVertList* vertices = FirstVertices();
    GLQELInstanceList* instances = FirstInstances();
    const int drawnVertices = std::min(count, vertices->GetCount());
    const int drawnInstances = std::min(instanceCount, instances->GetCount());
    if (!IsReady() || drawnVertices <= 0 || drawnInstances <= 0)
        return;
    ApplyStates(additive, false, false, true);
    const MatrixBlock m = Matrices(world, view);
    const Block block{m.world, m.view, m.projection, velocityStretch, {0, 0, 0}};
    WriteConstants(&block, sizeof(block));
    BindTexture(0, Texture(0));
    Bind3DStreams(vertices, instances);
    BindConstants();
    glDrawArraysInstanced(GL_TRIANGLES, 0, drawnVertices, drawnInstances);
    RestoreStates(additive, false, false, true);
    glBindTexture(GL_TEXTURE_2D, 0);
}
