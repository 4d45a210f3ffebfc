#pragma once
// The render states the engine switches between, as values: OpenGL has no
// state objects, so the graphics service keeps the blend and depth-stencil
// state in force and the shaders save and restore them around a draw.
//
// The target's orientation also lives here, in one place for the whole
// engine: OpenGL stores a framebuffer bottom row first, the engine's images
// top row first. While a bitmap is the render target every vertex shader
// mirrors y (and the front-face winding flips with it), so rendered bitmaps
// hold their rows top first like loaded ones: they draw, read back and save
// the right way up without any other code knowing.

#include <glad/gl.h>

struct GLQelBlendState {
    bool enabled = true;
    GLenum sourceColour = GL_SRC_ALPHA, destinationColour = GL_ONE_MINUS_SRC_ALPHA;
    GLenum sourceAlpha = GL_SRC_ALPHA, destinationAlpha = GL_DST_ALPHA;
    // No multisampling here: a shader emulates coverage by discarding
    // fragments below half alpha while this is set.
    bool alphaToCoverage = false;

    static GLQelBlendState Device() { return {}; }
    static GLQelBlendState Additive() { return {true, GL_ONE, GL_ONE, GL_ONE, GL_ONE, false}; }
    static GLQelBlendState Alpha() { return {true, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA, GL_DST_ALPHA, true}; }
};

struct GLQelDepthStencilState {
    bool depthTest = true;
    bool depthWrite = true;
    GLenum depthFunction = GL_LESS;
    // Stencil: increment on depth failure for front faces, decrement for back
    // faces, always passing, masks 0xFF, reference 1.
    bool stencil = true;

    static GLQelDepthStencilState Device() { return {}; }
    static GLQelDepthStencilState DepthRead() { return {true, false, GL_LESS, true}; }
    static GLQelDepthStencilState DepthOff() { return {true, false, GL_ALWAYS, true}; }
};

class GLQelRenderStates {
public:
    // Uniform block binding points shared by every program.
    static constexpr GLuint kConstantsBinding = 0;
    static constexpr GLuint kTargetBinding = 1;

    // Sets the device's defaults on the current context.
    void Reset();
    void Release();

    const GLQelBlendState& Blend() const { return blend_; }
    const GLQelDepthStencilState& DepthStencil() const { return depthStencil_; }
    void SetBlend(const GLQelBlendState& state);
    void SetDepthStencil(const GLQelDepthStencilState& state);

    // True while a bitmap is the render target (y mirrored, see above).
    void SetTargetIsBitmap(bool bitmap);
    bool TargetIsBitmap() const { return targetIsBitmap_; }

private:
    void UploadTarget();

    GLQelBlendState blend_;
    GLQelDepthStencilState depthStencil_;
    bool targetIsBitmap_ = false;
    GLuint targetBlock_ = 0;
};
