#include "engine/gl/GLQELShaderNebulaVolume.h"

#include <glm/geometric.hpp>

#include <cmath>
#include <limits>

#include "engine/gl/GLQel2DBitmap.h"
#include "engine/gl/GLQelGraphicsClass.h"
#include "helper/QelAssert.h"

namespace {

struct Block {
    glm::mat4 world, view, projection;
    glm::vec4 unused[4];
    glm::vec4 camPos, camDir, lightDir, lightColorIntensity, ambientColor, emissiveColor, absorptionColor;
    float mieScattering[3], anisotropy;
    float radius, density, baseFrequency, baseAmplitude;
    float detailFrequency, detailAmplitude, detailLacunarity, domainWarp;
    float swirl, stepScale;
    int32_t numSamples, numOctaves, randomSeed, downsampleRatio, cameraInside;
    int32_t sceneDepth;  // 1 when unit 1 holds the scene's depth
};
static_assert(sizeof(Block) == GLQELShaderNebulaVolume::kConstantBytes, "the NebulaVolume block is 448 bytes");

// An integer parameter from its float, truncated toward zero; what does not
// fit an integer counts as 0.
int32_t WholeNumber(float x)
{
    constexpr float kLimit = static_cast<float>(std::numeric_limits<int32_t>::max());
    return std::isfinite(x) && std::abs(x) < kLimit ? static_cast<int32_t>(x) : 0;
}

glm::vec3 Translation(const glm::mat4& world)
{
    return glm::vec3(world[3]);
}

}  // namespace

bool GLQELShaderNebulaVolume::Setup(SDL_Window* window)
{
    if (!Initialise(window, "data/graphics/shader-nebulavolume.vs", "data/graphics/shader-emissivenebula.ps"))
        return false;
    CreateConstantBuffer(kConstantBytes);
    bakeProgram_ = LinkFiles(window, "data/graphics/shader-nebulabake.vs", "data/graphics/shader-nebulabake.ps", "");
    densityGrids_.Setup(bakeProgram_, vertexArray_);
    return bakeProgram_ != 0;
}

void GLQELShaderNebulaVolume::Release()
{
    densityGrids_.Release();
    if (bakeProgram_ != 0 && GLQelGraphicsClass::ContextReady())
        glDeleteProgram(bakeProgram_);
    bakeProgram_ = 0;
    GLQELShaderRoot::Release();
}

GLQELNebulaDensityCache::Key GLQELShaderNebulaVolume::CloudKey() const
{
    return {randomSeed,      numOctaves,       baseFrequency, baseAmplitude, detailFrequency,
            detailAmplitude, detailLacunarity, domainWarp,    swirl};
}

void GLQELShaderNebulaVolume::SetParameter(std::string name, float x, float y, float z, float w)
{
    const std::pair<const char*, glm::vec4*> vectors[] = {
        {"lightColorIntensity", &lightColorIntensity}, {"ambientColor", &ambientColor},
        {"absorptionColor", &absorptionColor},          {"camPos", &camPos},
        {"camDir", &camDir},                            {"emissiveColor", &emissiveColor}};
    const std::pair<const char*, float*> floats[] = {
        {"radius", &radius}, {"density", &density}, {"baseFrequency", &baseFrequency},
        {"baseAmplitude", &baseAmplitude}, {"detailFrequency", &detailFrequency},
        {"detailAmplitude", &detailAmplitude}, {"detailLacunarity", &detailLacunarity},
        {"domainWarp", &domainWarp}, {"swirl", &swirl}, {"anisotropy", &anisotropy}};
    const std::pair<const char*, int32_t*> integers[] = {
        {"numSamples", &numSamples}, {"numOctaves", &numOctaves}, {"randomSeed", &randomSeed},
        {"downsampleRatio", &downsampleRatio}};
    for (const auto& [key, value] : vectors)
        if (name == key) {
            *value = {x, y, z, w};
            return;
        }
    for (const auto& [key, value] : floats)
        if (name == key) {
            *value = x;
            return;
        }
    for (const auto& [key, value] : integers)
        if (name == key) {
            *value = WholeNumber(x);
            return;
        }
    if (name == "additive")
        additive = IsOn(x);
    else if (name == "lightDir")
        lightDir = {x, y, z, 0.0f};
    else if (name == "mieScattering")
        mieScattering = {x, y, z, 0.0f};
    else if (name == "position")
        position = {x, y, z, 0.0f};
    else
        QEL_ASSERT(false, "false");
}

bool GLQELShaderNebulaVolume::CameraInside(const glm::mat4& world) const
{
    const glm::dvec3 offset = -glm::dvec3(camPos) - glm::dvec3(Translation(world));
    const double reach = static_cast<double>(radius) * 0.75 * 0.75 * static_cast<double>(radius);
    return reach > glm::dot(offset, offset);
}

bool GLQELShaderNebulaVolume::InView(const glm::mat4& world) const
{
    if (CameraInside(world))
        return true;
    const glm::vec3 toCentre = Translation(world) + glm::vec3(camPos);
    const float length = glm::length(toCentre);
    if (!(length > 0.0f))
        return true;
    return glm::dot(-glm::vec3(camDir), toCentre / length) < 0.0f;
}

// Marching needs the scene's depth as a texture, which cannot be read while
// it is attached, so the target draws without a depth buffer meanwhile. Both
// sides of the box are drawn (the camera may be inside it); the pixel shader
// keeps one fragment a pixel, where the ray enters the box, or leaves it when
// the camera is inside.
void GLQELShaderNebulaVolume::Draw3D(const glm::mat4& world, const glm::mat4& view, void*, int, int)
{
    QEL_ASSERT(bitmap2DList.size() > 0, "bitmap2DList.size() > 0");
    QEL_ASSERT(vertList.size() > 0, "vertList.size() > 0");
    QEL_ASSERT(indexList.size() > 0, "indexList.size() > 0");
    if (!IsReady() || !InView(world))
        return;
    ApplyStates(additive, false, false, true);
    const MatrixBlock m = Matrices(world, view);
    const float stepScale = numSamples > 0 ? 2.0f / static_cast<float>(numSamples) : 0.0f;
    const Block block{m.world, m.view, m.projection, {}, camPos, camDir, lightDir, lightColorIntensity,
                      ambientColor, emissiveColor, absorptionColor, {mieScattering.x, mieScattering.y, mieScattering.z},
                      anisotropy, radius, density, baseFrequency, baseAmplitude, detailFrequency, detailAmplitude,
                      detailLacunarity, domainWarp, swirl, stepScale, numSamples, numOctaves, randomSeed,
                      downsampleRatio, CameraInside(world) ? 1 : 0, Texture(0)->DepthTexture() != 0 ? 1 : 0};
    WriteConstants(&block, sizeof(block));
    BindConstants();
    const GLuint grid = densityGrids_.Grid(CloudKey());
    if (grid == 0) {
        RestoreStates(additive, false, false, true);
        return;
    }
    GLQel2DBitmap* scene = Texture(0);
    BindTexture(0, scene);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, scene->DepthTexture());
    glBindSampler(1, 0);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_3D, grid);
    glBindSampler(2, 0);
    Bind3DStreams(FirstVertices(), nullptr);

    GLint target = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &target);
    GLint attachedDepth = 0;
    if (target != 0)
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                              &attachedDepth);
    if (attachedDepth != 0)
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, 0, 0);
    glDisable(GL_DEPTH_TEST);
    DrawFirstIndexList(0);
    if (attachedDepth != 0)
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, static_cast<GLuint>(attachedDepth), 0);
    RestoreStates(additive, false, false, true);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_3D, 0);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
}
