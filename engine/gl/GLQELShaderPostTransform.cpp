#include "engine/gl/GLQELShaderPostTransform.h"

#include <algorithm>

#include "engine/gl/GLQELVertList.h"
#include "helper/QelAssert.h"

bool GLQELShaderPostTransform::Setup(SDL_Window* window)
{
    if (!Initialise(window, "data/graphics/shader-posttransform.vs", "data/graphics/shader-posttransform.ps"))
        return false;
    CreateConstantBuffer(kConstantBytes);
    return true;
}

void GLQELShaderPostTransform::SetParameter(std::string name, float x, float, float, float)
{
    if (name == "additive")
        additive = IsOn(x);
    else
        QEL_ASSERT(false, "false");
}

// A count past the list's vertices draws the whole triangles it holds.
void GLQELShaderPostTransform::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int count, int)
{
    QEL_ASSERT(bitmap2DList.size() > 0, "bitmap2DList.size() > 0");
    QEL_ASSERT(vertList.size() > 0, "vertList.size() > 0");
    QEL_ASSERT(indexList.size() <= 0, "indexList.size() <= 0");
    if (!IsReady() || count <= 0)
        return;
    ApplyStates(additive, false, false, true);
    const MatrixBlock block = Matrices(world, view);
    WriteConstants(&block, sizeof(block));
    BindTexture(0, Texture(0));
    GLQELVertList* vertices = FirstVertices();
    Bind3DStreams(vertices, nullptr);
    BindConstants();
    glDrawArrays(GL_TRIANGLES, 0, std::min(count, vertices->GetCount() / 3) * 3);
    RestoreStates(additive, false, false, true);
    glBindTexture(GL_TEXTURE_2D, 0);
}
