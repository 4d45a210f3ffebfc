#include "engine/gl/GLQELSkyBox.h"

#include "helper/QelAssert.h"

namespace {

// Elements 12, 13 and 14: the translation.
glm::mat4 WithoutTranslation(glm::mat4 matrix)
{
    matrix[3][0] = matrix[3][1] = matrix[3][2] = 0.0f;
    return matrix;
}

}  // namespace

bool GLQELSkyBox::Setup(SDL_Window* window)
{
    if (!Initialise(window, "data/graphics/shader-skybox.vs", "data/graphics/shader-skybox.ps"))
        return false;
    CreateConstantBuffer(kConstantBytes);
    return true;
}

void GLQELSkyBox::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int count, int)
{
    RequireMeshLists();
    if (!IsReady())
        return;
    const MatrixBlock block = Matrices(WithoutTranslation(world), WithoutTranslation(view));
    DrawMesh({false, false, false, true}, &block, sizeof(block), 0, 1, count);
}
