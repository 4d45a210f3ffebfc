#include "engine/gl/GLQELShader3DFlat.h"

#include <glm/mat4x4.hpp>

#include "engine/gl/GLQELIndexList.h"
#include "engine/gl/GLQELVertList.h"
#include "engine/gl/GLQel2DBitmap.h"
#include "engine/gl/GLQelGraphicsClass.h"
#include "helper/QelAssert.h"

namespace {

// The block exactly as the GLSL reads it (std140).
struct FlatConstants {
    glm::mat4 world;  // transposed
    glm::mat4 view;   // transposed
    glm::mat4 projection;
    glm::vec4 color;
};
static_assert(sizeof(FlatConstants) == GLQELShader3DFlat::kConstantBytes, "the Flat block is 208 bytes");

// A NaN counts as set, as the comparison "not equal to 0" has it.
bool Switch(float x)
{
    return !(x == 0.0f);
}

}  // namespace

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
        write = Switch(x);
    else if (name == "read")
        read = Switch(x);
    else if (name == "ATOC")
        ATOC = Switch(x);
    else if (name == "additive")
        additive = Switch(x);
    else if (name == "color")
        color = {x, y, z, w};
    else if (name == "drawglowonly")
        drawglowonly = Switch(x);
    else
        QEL_ASSERT(false, "false");
}

void GLQELShader3DFlat::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int count, int)
{
    QEL_ASSERT(bitmap2DList.size() > 0, "bitmap2DList.size() > 0");
    QEL_ASSERT(vertList.size() > 0, "vertList.size() > 0");
    QEL_ASSERT(indexList.size() > 0, "indexList.size() > 0");
    if (!IsReady())
        return;
    ApplyStates(additive, ATOC, write, read);
    const FlatConstants block{glm::transpose(world), glm::transpose(view),
                              GLQelGraphicsClass::Instance().GetProjectionMatrix(), color};
    WriteConstants(&block, sizeof(block));

    GLQel2DBitmap* texture = Texture(drawglowonly ? 1 : 0);
    texture->UnmapPixels();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture->Texture());
    Bind3DStreams(FirstVertices(), nullptr);
    GLQELIndexList* indices = FirstIndices();
    indices->UploadChanges();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices->Buffer());
    BindConstants();
    const int indexCount = count > 0 ? count * 3 : indices->GetCount();
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
    RestoreStates(additive, ATOC, write, read);
    glBindTexture(GL_TEXTURE_2D, 0);
}
