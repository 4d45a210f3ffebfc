#include "engine/gl/GLQELShader3DNebula.h"

#include "helper/QelAssert.h"

bool GLQELShader3DNebula::Setup(SDL_Window* window)
{
    return Initialise(window, "data/graphics/shader-nebula.vs", "data/graphics/shader-nebula.ps");
}

void GLQELShader3DNebula::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int count, int)
{
    QEL_ASSERT(bitmap2DList.size() < 1, "bitmap2DList.size() < 1");
    QEL_ASSERT(vertList.size() > 0, "vertList.size() > 0");
    QEL_ASSERT(indexList.size() > 0, "indexList.size() > 0");
    if (!IsReady())
        return;
    const Block block{Matrices(world, view), color};
    DrawMesh({additive, ATOC, write, read}, &block, sizeof(block), 0, 0, count);
}
