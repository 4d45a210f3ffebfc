#pragma once
// What every shader class shares: the GLSL program compiled from a vertex and
// a pixel ("fragment") file at set-up, the vertex input layout, the
// "Constants" uniform block (std140, the byte layout each class specifies),
// the sampler, the blend and depth-stencil states a draw may switch to, and
// the resource lists callers fill before a draw.
//
// GLSL files name their blocks "Constants" (binding 0) and "QelTarget"
// (binding 1, the render target's orientation, see GLQelRenderStates), take
// their vertex inputs at fixed locations (the layouts below), sample texture
// unit 0 through "shaderTexture" (the other samplers are in BindBlocks), and
// may include other files ("#include"). While the alpha blend state is in
// force a second program is drawn with, compiled from the same files with
// QEL_ALPHA_TO_COVERAGE defined: there the shader discards what is below
// half alpha. Only that program pays for the discard, which stops the
// graphics testing depth before it shades.

#include <SDL2/SDL_video.h>
#include <glad/gl.h>

#include <string>
#include <vector>

#include "engine/base/QelDrawProcess.h"
#include "engine/gl/GLQelRenderStates.h"

class GLQel2DBitmap;
class GLQELVertList;
class GLQELIndexList;
class GLQELInstanceList;
class Qel2DBuffer;

class GLQELShaderRoot : public QelDrawProcess {
public:
    GLQELShaderRoot() = default;
    ~GLQELShaderRoot() override;
    GLQELShaderRoot(const GLQELShaderRoot&) = delete;
    GLQELShaderRoot& operator=(const GLQELShaderRoot&) = delete;

    void Draw2D() override {}
    // The root binds and unbinds its states and draws nothing.
    void Draw3D(const glm::mat4& world, const glm::mat4& view, void* unused, int count, int instanceCount) override;
    // The root lists no parameter: every name is a program error.
    void SetParameter(std::string name, float x, float y, float z, float w) override;

    virtual bool CompileShaders(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile);
    virtual bool CompileGeometryShader(SDL_Window* window, const std::string& geometryFile);
    // The standard 3D layout: 100-byte vertices in stream 0, 52-byte
    // instances in stream 1.
    virtual bool CreateInputLayout();
    virtual bool Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile);
    // Names the class's files and runs Initialise.
    virtual bool Setup(SDL_Window* window);
    virtual void CreateConstantBuffer(int bytes);
    virtual void Release();
    // Writes the compiler's text to "shader-error.txt" and tells the user.
    virtual void ReportCompileError(const std::string& text, SDL_Window* window, const std::string& shaderFile);

    // Hands the 2D flush's batch and the current target to a 2D class: the
    // batch's key, and its primitives at firstVertex of the vertex buffer.
    void Set2DBatch(const Qel2DBuffer* buffer, GLuint vertexBuffer, GLQel2DBitmap* target, GLint firstVertex,
                    int primitiveCount);
    bool IsReady() const { return program_ != 0; }
    // The linked size of the "Constants" block; -1 when the program has none.
    GLint ConstantBlockSize() const;

    std::string name;

protected:
    // The three matrices every 3D constant block begins with: world and view
    // transposed, the service's projection as stored (bytes 0 to 191).
    struct MatrixBlock {
        glm::mat4 world;
        glm::mat4 view;
        glm::mat4 projection;
    };
    static MatrixBlock Matrices(const glm::mat4& world, const glm::mat4& view);
    // A switch parameter is on when x is not 0 (a NaN counts as on).
    static bool IsOn(float x) { return !(x == 0.0f); }

    // The states a draw switches to, as ApplyStates takes them.
    struct DrawStates {
        bool additive = false;
        bool alphaBlend = false;
        bool keepDepth = true;   // false: depth tested, not written
        bool keepDepth2 = true;  // false: depth neither tested nor written
        bool cullBack = false;   // back faces left out (planets)
    };
    // Asserts what a textured indexed draw needs: a texture, a vertex list
    // and an index list.
    void RequireMeshLists() const;
    // The indexed draw most classes make: the states applied, the constant
    // block written and bound, textures firstTexture.. on units 0 to
    // textures - 1 (the first again where the list runs short), the first
    // vertex list, count triangles of the first index list (0: all of it),
    // then everything put back.
    void DrawMesh(const DrawStates& states, const void* block, size_t bytes, size_t firstTexture, GLuint textures,
                  int count);

    // The resource lists as this service's own classes: everything in them
    // was made by the GL graphics service.
    GLQel2DBitmap* Texture(size_t slot) const;
    GLQELVertList* FirstVertices() const;
    GLQELIndexList* FirstIndices() const;
    GLQELInstanceList* FirstInstances() const;

    void ApplyStates(bool additive, bool alphaBlend, bool keepDepth, bool keepDepth2);
    void RestoreStates(bool additive, bool alphaBlend, bool keepDepth, bool keepDepth2);
    void WriteConstants(const void* data, size_t bytes);
    void BindConstants();
    // The bitmap (its pending pixels sent) on a texture unit, sampled through
    // the root's sampler.
    void BindTexture(GLuint unit, GLQel2DBitmap* bitmap);
    // Binds the first index list (its changes sent) and draws count
    // triangles of it, or all of it when count is 0.
    void DrawFirstIndexList(int count);
    // Binds the first vertex list (and instance list when given) to the
    // standard layout after each uploads pending changes.
    void Bind3DStreams(GLQELVertList* vertices, GLQELInstanceList* instances);
    // Binds a 2D batch's vertices to the 40-byte 2D layout.
    void Bind2DStream(GLuint vertexBuffer);
    GLuint CreateSampler(GLenum minFilter, GLenum magFilter, GLenum wrap, float maxLod);
    // Two files compiled with the defines (and the class's geometry stage,
    // when it has one) and linked; 0 (reported) when they do not.
    GLuint LinkFiles(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile,
                     const std::string& defines);

    GLuint program_ = 0;
    GLuint vertexArray_ = 0;
    // Room for many draws' constant blocks, one after another.
    static constexpr GLintptr kConstantStreamBytes = 256 * 1024;
    GLuint constantBuffer_ = 0;
    GLuint sampler_ = 0;
    int constantBytes_ = 0;
    GLintptr constantStride_ = 0;  // a block's size rounded up to the offset alignment
    GLintptr currentConstants_ = 0;  // where the last block written starts
    GLintptr nextConstants_ = 0;
    bool hasGeometryShader_ = false;

    const Qel2DBuffer* batch_ = nullptr;
    GLuint batchVertexBuffer_ = 0;
    GLint batchFirstVertex_ = 0;
    int batchPrimitives_ = 0;
    GLQel2DBitmap* target_ = nullptr;

private:
    GLuint CompileStage(SDL_Window* window, GLenum stage, const std::string& file, const std::string& defines);
    // The class's own two files, as LinkFiles links them.
    GLuint LinkProgram(SDL_Window* window, const std::string& defines);
    GLuint CoverageProgram();
    static void BindBlocks(GLuint program);

    SDL_Window* window_ = nullptr;
    std::string vertexFile_, pixelFile_;
    GLuint geometryShader_ = 0;
    GLuint coverageProgram_ = 0;
    bool coverageTried_ = false;
    GLQelBlendState savedAdditive_, savedAlpha_;
    GLQelDepthStencilState savedDepthRead_, savedDepthOff_;
};
