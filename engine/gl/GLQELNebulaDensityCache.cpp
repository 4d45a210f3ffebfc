#include "engine/gl/GLQELNebulaDensityCache.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/gl/GLQelGraphicsClass.h"

namespace {

// Each layer is a pass of its own. A software renderer queues passes for its
// threads and, once it has had 64 queued at a time, makes every later pass
// wait for the one before it for as long as the context lives: the bake lets
// its passes finish in batches well under that.
constexpr GLint kLayersPerBatch = 32;

// What baking changes of the context, put back as it was when it ends.
class SavedContextState {
public:
    SavedContextState()
    {
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer_);
        glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray_);
        glGetIntegerv(GL_VIEWPORT, viewport_);
        for (size_t i = 0; i < kSwitches.size(); ++i)
            enabled_[i] = glIsEnabled(kSwitches[i]);
    }
    ~SavedContextState()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(framebuffer_));
        glUseProgram(static_cast<GLuint>(program_));
        glBindVertexArray(static_cast<GLuint>(vertexArray_));
        glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
        for (size_t i = 0; i < kSwitches.size(); ++i)
            (enabled_[i] ? glEnable : glDisable)(kSwitches[i]);
    }
    SavedContextState(const SavedContextState&) = delete;
    SavedContextState& operator=(const SavedContextState&) = delete;

    // The tests a bake's plain overwrite of each texel turns off.
    static constexpr std::array<GLenum, 4> kSwitches{GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST, GL_CULL_FACE};

private:
    GLint framebuffer_ = 0, program_ = 0, vertexArray_ = 0;
    GLint viewport_[4] = {};
    std::array<GLboolean, kSwitches.size()> enabled_{};
};

// An empty grid of half floats, filtered between texels and held at its
// edges.
GLuint NewGridTexture(GLsizei side)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_3D, texture);
    glTexImage3D(GL_TEXTURE_3D, 0, GL_R16F, side, side, side, 0, GL_RED, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    for (const GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R})
        glTexParameteri(GL_TEXTURE_3D, wrap, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_3D, 0);
    return texture;
}

}  // namespace

bool GLQELNebulaDensityCache::Key::operator==(const Key& other) const
{
    static_assert(sizeof(Key) == 9 * 4, "a key has no padding");
    return std::memcmp(this, &other, sizeof(Key)) == 0;
}

GLQELNebulaDensityCache::~GLQELNebulaDensityCache()
{
    Release();
}

void GLQELNebulaDensityCache::Setup(GLuint bakeProgram, GLuint vertexArray)
{
    Release();
    bakeProgram_ = bakeProgram;
    vertexArray_ = vertexArray;
    if (bakeProgram_ == 0)
        return;
    layerLocation_ = glGetUniformLocation(bakeProgram_, "bakeLayer");
    sideLocation_ = glGetUniformLocation(bakeProgram_, "bakeSide");
    glGenFramebuffers(1, &framebuffer_);
}

GLuint GLQELNebulaDensityCache::Grid(const Key& key)
{
    ++uses_;
    for (Kept& kept : grids_)
        if (kept.key == key) {
            kept.lastUse = uses_;
            return kept.texture;
        }
    if (bakeProgram_ == 0 || framebuffer_ == 0)
        return 0;
    Kept& slot = grids_.size() < kMaxGrids ? grids_.emplace_back() : Oldest();
    if (slot.texture == 0)
        slot.texture = NewGridTexture(kGridSide);
    slot.key = key;
    slot.lastUse = uses_;
    ++bakes_;
    if (!Bake(slot.texture)) {
        glDeleteTextures(1, &slot.texture);
        grids_.erase(grids_.begin() + (&slot - grids_.data()));
        return 0;
    }
    return slot.texture;
}

GLQELNebulaDensityCache::Kept& GLQELNebulaDensityCache::Oldest()
{
    return *std::min_element(
        grids_.begin(), grids_.end(), [](const Kept& a, const Kept& b) { return a.lastUse < b.lastUse; });
}

// Each layer of the grid is a square target the bake program fills with one
// triangle over it.
bool GLQELNebulaDensityCache::Bake(GLuint texture)
{
    const SavedContextState saved;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    for (const GLenum test : SavedContextState::kSwitches)
        glDisable(test);
    glViewport(0, 0, kGridSide, kGridSide);
    glUseProgram(bakeProgram_);
    glUniform1f(sideLocation_, static_cast<float>(kGridSide));
    glBindVertexArray(vertexArray_);
    bool complete = true;
    for (GLint layer = 0; layer < kGridSide; ++layer) {
        glFramebufferTextureLayer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, texture, 0, layer);
        complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        if (!complete)
            break;
        glUniform1f(layerLocation_, static_cast<float>(layer));
        glDrawArrays(GL_TRIANGLES, 0, 3);
        if ((layer + 1) % kLayersPerBatch == 0)
            glFinish();
    }
    glFramebufferTextureLayer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, 0, 0, 0);
    return complete;
}

// Only when a context exists: without one the GL objects are gone already.
void GLQELNebulaDensityCache::Release()
{
    if (GLQelGraphicsClass::ContextReady()) {
        for (Kept& kept : grids_)
            glDeleteTextures(1, &kept.texture);
        if (framebuffer_ != 0)
            glDeleteFramebuffers(1, &framebuffer_);
    }
    grids_.clear();
    framebuffer_ = 0;
    bakeProgram_ = 0;
    vertexArray_ = 0;
}
