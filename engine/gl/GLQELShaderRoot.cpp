#include "engine/gl/GLQELShaderRoot.h"

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <iterator>
#include <fstream>
#include <sstream>

#include "engine/base/QelDataFolder.h"
#include "engine/gl/GLQELIndexList.h"
#include "engine/gl/GLQELInstanceList.h"
#include "engine/gl/GLQELVertList.h"
#include "engine/gl/GLQel2DBitmap.h"
#include "engine/base/QelMessageBox.h"
#include "engine/gl/GLQelGraphicsClass.h"
#include "helper/QelAssert.h"

namespace {

const char* const kCompileErrorFile = "shader-error.txt";
const char* const kCompileErrorText = "Error compiling shader.  Check shader-error.txt for message.";
const char* const kMissingShaderCaption = "Missing Shader File";

constexpr GLsizei k3DVertexStride = 100;
constexpr GLsizei kInstanceStride = 52;
constexpr GLsizei k2DVertexStride = 40;

struct Attribute {
    GLuint location;
    GLint components;
    size_t offset;
};

// The standard layout: POSITION, NORMAL, BINORMAL, TANGENT, TEXA..TEXD, COLOR.
constexpr Attribute kVertexAttributes[] = {{0, 4, 0},  {1, 3, 16}, {2, 3, 28}, {3, 3, 40}, {4, 2, 52},
                                           {5, 2, 60}, {6, 2, 68}, {7, 2, 76}, {8, 4, 84}};
// IPOSITION, ICOLOR, IVELOCITY, IAGE, ICELLINDEX, one step per instance.
constexpr Attribute kInstanceAttributes[] = {{9, 4, 0}, {10, 4, 16}, {11, 3, 32}, {12, 1, 44}, {13, 1, 48}};
// POSITION, TEXCOORD, COLOR.
constexpr Attribute k2DAttributes[] = {{0, 4, 0}, {1, 2, 16}, {2, 4, 24}};

void SetAttributes(const Attribute* attributes, size_t count, GLsizei stride, GLuint divisor)
{
    for (size_t i = 0; i < count; ++i) {
        const Attribute& a = attributes[i];
        glEnableVertexAttribArray(a.location);
        glVertexAttribPointer(a.location, a.components, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(a.offset));
        glVertexAttribDivisor(a.location, divisor);
    }
}

bool ReadShaderFile(const std::string& file, std::string& source)
{
    std::ifstream in(qel::ResolveGamePath(file), std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    source = text.str();
    return true;
}

// Replaces every line #include "name" with the text of that file, found
// beside the file that names it, as the shader compiler's standard include
// handler does; shaders share their common parts this way. False, with the
// name of the file that cannot be read, for a missing file or includes
// nested deeper than any shader needs (a file that includes itself).
bool ExpandIncludes(const std::string& file, std::string& source, std::string& missing, int depth = 0)
{
    constexpr int kMaxIncludeDepth = 8;
    const std::string folder = file.substr(0, file.find_last_of('/') + 1);
    std::istringstream lines(source);
    std::string expanded, line;
    while (std::getline(lines, line)) {
        const size_t open = line.find('"');
        const size_t close = line.rfind('"');
        if (line.rfind("#include", 0) != 0 || open == std::string::npos || close <= open) {
            expanded += line + "\n";
            continue;
        }
        const std::string included = folder + line.substr(open + 1, close - open - 1);
        std::string text;
        if (depth >= kMaxIncludeDepth || !ReadShaderFile(included, text) ||
            !ExpandIncludes(included, text, missing, depth + 1)) {
            if (missing.empty())
                missing = included;
            return false;
        }
        expanded += text + "\n";
    }
    source = expanded;
    return true;
}

// The info log of a shader or a program, through that object's two queries.
std::string InfoLog(GLuint object, void (*query)(GLuint, GLenum, GLint*),
                    void (*read)(GLuint, GLsizei, GLsizei*, GLchar*))
{
    GLint length = 0;
    query(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(std::max(length, 1)), '\0');
    read(object, length, nullptr, log.data());
    log.resize(std::char_traits<char>::length(log.c_str()));
    return log;
}

void DeleteShader(GLuint& shader)
{
    if (shader != 0)
        glDeleteShader(shader);
    shader = 0;
}

}  // namespace

GLQELShaderRoot::~GLQELShaderRoot()
{
    GLQELShaderRoot::Release();
}

void GLQELShaderRoot::Draw3D(const glm::mat4&, const glm::mat4&, void*, int, int)
{
    ApplyStates(false, false, true, true);
    RestoreStates(false, false, true, true);
}

void GLQELShaderRoot::SetParameter(std::string, float, float, float, float)
{
    QEL_ASSERT(false, "false");
}

// The defines, when given, go right after the first line (the #version).
GLuint GLQELShaderRoot::CompileStage(SDL_Window* window, GLenum stage, const std::string& file,
                                     const std::string& defines)
{
    std::string source, missing;
    if (!ReadShaderFile(file, source) || !ExpandIncludes(file, source, missing)) {
        ShowQelMessageBox(kMissingShaderCaption, missing.empty() ? file : missing, QelMessageBoxKind::Error, window);
        return 0;
    }
    if (!defines.empty()) {
        const size_t lineEnd = source.find('\n');
        source.insert(lineEnd == std::string::npos ? source.size() : lineEnd + 1, defines);
    }
    GLuint shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_FALSE) {
        ReportCompileError(InfoLog(shader, glGetShaderiv, glGetShaderInfoLog), window, file);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint GLQELShaderRoot::LinkProgram(SDL_Window* window, const std::string& defines)
{
    return LinkFiles(window, vertexFile_, pixelFile_, defines);
}

GLuint GLQELShaderRoot::LinkFiles(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile,
                                  const std::string& defines)
{
    GLuint vertexShader = CompileStage(window, GL_VERTEX_SHADER, vertexFile, defines);
    GLuint pixelShader = vertexShader == 0 ? 0 : CompileStage(window, GL_FRAGMENT_SHADER, pixelFile, defines);
    if (pixelShader == 0) {
        DeleteShader(vertexShader);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, pixelShader);
    if (geometryShader_ != 0)
        glAttachShader(program, geometryShader_);
    glLinkProgram(program);
    DeleteShader(vertexShader);  // the program keeps what it linked
    DeleteShader(pixelShader);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_FALSE) {
        ReportCompileError(InfoLog(program, glGetProgramiv, glGetProgramInfoLog), window, vertexFile);
        glDeleteProgram(program);
        return 0;
    }
    BindBlocks(program);
    return program;
}

bool GLQELShaderRoot::CompileShaders(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile)
{
    window_ = window;
    vertexFile_ = vertexFile;
    pixelFile_ = pixelFile;
    program_ = LinkProgram(window, "");
    return program_ != 0;
}

// Made the first time a draw asks for it: most shaders never do.
GLuint GLQELShaderRoot::CoverageProgram()
{
    if (!coverageTried_) {
        coverageTried_ = true;
        coverageProgram_ = LinkProgram(window_, "#define QEL_ALPHA_TO_COVERAGE\n");
    }
    return coverageProgram_ != 0 ? coverageProgram_ : program_;
}

bool GLQELShaderRoot::CompileGeometryShader(SDL_Window* window, const std::string& geometryFile)
{
    geometryShader_ = CompileStage(window, GL_GEOMETRY_SHADER, geometryFile, "");
    hasGeometryShader_ = geometryShader_ != 0;
    return hasGeometryShader_;
}

// The uniform blocks at their binding points, and every texture sampler the
// engine's GLSL names on its unit.
void GLQELShaderRoot::BindBlocks(GLuint program)
{
    static const std::pair<const char*, GLint> kSamplerUnits[] = {
        {"shaderTexture", 0}, {"emissiveTexture", 1}, {"specularTexture", 2}, {"normalTexture", 3},
        {"depthTexture", 1}, {"volumeTexture", 1}, {"densityTexture", 2}};
    const GLuint constants = glGetUniformBlockIndex(program, "Constants");
    if (constants != GL_INVALID_INDEX)
        glUniformBlockBinding(program, constants, GLQelRenderStates::kConstantsBinding);
    const GLuint target = glGetUniformBlockIndex(program, "QelTarget");
    if (target != GL_INVALID_INDEX)
        glUniformBlockBinding(program, target, GLQelRenderStates::kTargetBinding);
    glUseProgram(program);
    for (const auto& [sampler, unit] : kSamplerUnits) {
        const GLint location = glGetUniformLocation(program, sampler);
        if (location >= 0)
            glUniform1i(location, unit);
    }
    glUseProgram(0);
}

// Attribute pointers are set again at each bind (Bind3DStreams, Bind2DStream),
// since the buffers change from draw to draw; the layout is the vertex array.
bool GLQELShaderRoot::CreateInputLayout()
{
    if (vertexArray_ == 0)
        glGenVertexArrays(1, &vertexArray_);
    return vertexArray_ != 0;
}

bool GLQELShaderRoot::Initialise(SDL_Window* window, const std::string& vertexFile, const std::string& pixelFile)
{
    if (!CompileShaders(window, vertexFile, pixelFile) || !CreateInputLayout())
        return false;
    sampler_ = CreateSampler(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT, FLT_MAX);
    return sampler_ != 0;
}

bool GLQELShaderRoot::Setup(SDL_Window* window)
{
    return Initialise(window, "flat", "flat");
}

// The buffer holds many blocks: see WriteConstants.
void GLQELShaderRoot::CreateConstantBuffer(int bytes)
{
    GLint alignment = 0;
    glGetIntegerv(GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT, &alignment);
    alignment = std::max(alignment, 1);
    constantBytes_ = bytes;
    constantStride_ = (bytes + alignment - 1) / alignment * alignment;
    if (constantBuffer_ == 0)
        glGenBuffers(1, &constantBuffer_);
    glBindBuffer(GL_UNIFORM_BUFFER, constantBuffer_);
    glBufferData(GL_UNIFORM_BUFFER, kConstantStreamBytes, nullptr, GL_STREAM_DRAW);
    nextConstants_ = 0;
}

GLuint GLQELShaderRoot::CreateSampler(GLenum minFilter, GLenum magFilter, GLenum wrap, float maxLod)
{
    GLuint sampler = 0;
    glGenSamplers(1, &sampler);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R, static_cast<GLint>(wrap));
    glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, 0.0f);
    glSamplerParameterf(sampler, GL_TEXTURE_MAX_LOD, maxLod);
    return sampler;
}

// Only when a context exists: a shader made without one holds no GL objects.
void GLQELShaderRoot::Release()
{
    if (!GLQelGraphicsClass::ContextReady())
        return;
    if (sampler_ != 0)
        glDeleteSamplers(1, &sampler_);
    if (constantBuffer_ != 0)
        glDeleteBuffers(1, &constantBuffer_);
    if (vertexArray_ != 0)
        glDeleteVertexArrays(1, &vertexArray_);
    if (program_ != 0)
        glDeleteProgram(program_);
    if (coverageProgram_ != 0)
        glDeleteProgram(coverageProgram_);
    DeleteShader(geometryShader_);
    sampler_ = constantBuffer_ = vertexArray_ = program_ = coverageProgram_ = 0;
    coverageTried_ = false;
    hasGeometryShader_ = false;
}

void GLQELShaderRoot::ReportCompileError(const std::string& text, SDL_Window* window, const std::string& shaderFile)
{
    std::ofstream(kCompileErrorFile, std::ios::binary | std::ios::trunc) << text;
    ShowQelMessageBox(shaderFile, kCompileErrorText, QelMessageBoxKind::Error, window);
}

void GLQELShaderRoot::Set2DBatch(const Qel2DBuffer* buffer, GLuint vertexBuffer, GLQel2DBitmap* target,
                                 GLint firstVertex, int primitiveCount)
{
    batch_ = buffer;
    batchVertexBuffer_ = vertexBuffer;
    target_ = target;
    batchFirstVertex_ = firstVertex;
    batchPrimitives_ = primitiveCount;
}

GLint GLQELShaderRoot::ConstantBlockSize() const
{
    if (program_ == 0)
        return -1;
    const GLuint block = glGetUniformBlockIndex(program_, "Constants");
    if (block == GL_INVALID_INDEX)
        return -1;
    GLint size = 0;
    glGetActiveUniformBlockiv(program_, block, GL_UNIFORM_BLOCK_DATA_SIZE, &size);
    return size;
}

GLQELShaderRoot::MatrixBlock GLQELShaderRoot::Matrices(const glm::mat4& world, const glm::mat4& view)
{
    return {glm::transpose(world), glm::transpose(view), GLQelGraphicsClass::Instance().GetProjectionMatrix()};
}

// The unit is chosen first: sending pending pixels binds the texture on the
// active unit, which must not be another unit already bound for this draw.
void GLQELShaderRoot::BindTexture(GLuint unit, GLQel2DBitmap* bitmap)
{
    glActiveTexture(GL_TEXTURE0 + unit);
    bitmap->UnmapPixels();
    glBindTexture(GL_TEXTURE_2D, bitmap->Texture());
    glBindSampler(unit, sampler_);
}

void GLQELShaderRoot::DrawFirstIndexList(int count)
{
    GLQELIndexList* indices = FirstIndices();
    indices->UploadChanges();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices->Buffer());
    glDrawElements(GL_TRIANGLES, count > 0 ? count * 3 : indices->GetCount(), GL_UNSIGNED_INT, nullptr);
}

void GLQELShaderRoot::RequireMeshLists() const
{
    QEL_ASSERT(bitmap2DList.size() > 0, "bitmap2DList.size() > 0");
    QEL_ASSERT(vertList.size() > 0, "vertList.size() > 0");
    QEL_ASSERT(indexList.size() > 0, "indexList.size() > 0");
}

void GLQELShaderRoot::DrawMesh(const DrawStates& states, const void* block, size_t bytes, size_t firstTexture,
                               GLuint textures, int count)
{
    ApplyStates(states.additive, states.alphaBlend, states.keepDepth, states.keepDepth2);
    WriteConstants(block, bytes);
    BindConstants();
    for (GLuint unit = 0; unit < textures; ++unit) {
        const size_t slot = firstTexture + unit;
        BindTexture(unit, Texture(slot < bitmap2DList.size() ? slot : 0));
    }
    Bind3DStreams(FirstVertices(), nullptr);
    if (states.cullBack) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    }
    DrawFirstIndexList(count);
    glDisable(GL_CULL_FACE);
    RestoreStates(states.additive, states.alphaBlend, states.keepDepth, states.keepDepth2);
    for (GLuint unit = textures; unit-- > 0;) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

GLQel2DBitmap* GLQELShaderRoot::Texture(size_t slot) const
{
    return static_cast<GLQel2DBitmap*>(bitmap2DList[slot]);
}

GLQELVertList* GLQELShaderRoot::FirstVertices() const
{
    return static_cast<GLQELVertList*>(vertList.front());
}

GLQELIndexList* GLQELShaderRoot::FirstIndices() const
{
    return static_cast<GLQELIndexList*>(indexList.front());
}

GLQELInstanceList* GLQELShaderRoot::FirstInstances() const
{
    return static_cast<GLQELInstanceList*>(instanceList.front());
}

// A state applied first keeps its predecessor; later ones in the list win.
void GLQELShaderRoot::ApplyStates(bool additive, bool alphaBlend, bool keepDepth, bool keepDepth2)
{
    GLQelRenderStates& states = GLQelGraphicsClass::Instance().States();
    if (additive) {
        savedAdditive_ = states.Blend();
        states.SetBlend(GLQelBlendState::Additive());
    }
    if (alphaBlend) {
        savedAlpha_ = states.Blend();
        states.SetBlend(GLQelBlendState::Alpha());
    }
    if (!keepDepth) {
        savedDepthRead_ = states.DepthStencil();
        states.SetDepthStencil(GLQelDepthStencilState::DepthRead());
    }
    if (!keepDepth2) {
        savedDepthOff_ = states.DepthStencil();
        states.SetDepthStencil(GLQelDepthStencilState::DepthOff());
    }
    glUseProgram(states.Blend().alphaToCoverage ? CoverageProgram() : program_);
    glBindVertexArray(vertexArray_);
    glBindSampler(0, sampler_);
}

void GLQELShaderRoot::RestoreStates(bool additive, bool alphaBlend, bool keepDepth, bool keepDepth2)
{
    GLQelRenderStates& states = GLQelGraphicsClass::Instance().States();
    if (!keepDepth2)
        states.SetDepthStencil(savedDepthOff_);
    if (!keepDepth)
        states.SetDepthStencil(savedDepthRead_);
    if (alphaBlend)
        states.SetBlend(savedAlpha_);
    if (additive)
        states.SetBlend(savedAdditive_);
    glBindVertexArray(0);
    glUseProgram(0);
}

// Each draw's block goes after the last one in the shader's buffer, written
// without waiting: no draw queued so far reads that part. When the buffer is
// full it is given new storage and writing starts again at its front. A
// block rewritten in place would make the driver finish every queued draw
// that reads it first, once a draw.
void GLQELShaderRoot::WriteConstants(const void* data, size_t bytes)
{
    glBindBuffer(GL_UNIFORM_BUFFER, constantBuffer_);
    if (nextConstants_ + constantStride_ > kConstantStreamBytes) {
        glBufferData(GL_UNIFORM_BUFFER, kConstantStreamBytes, nullptr, GL_STREAM_DRAW);
        nextConstants_ = 0;
    }
    void* block = glMapBufferRange(GL_UNIFORM_BUFFER, nextConstants_, constantBytes_,
                                   GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (block != nullptr) {
        std::memset(block, 0, static_cast<size_t>(constantBytes_));
        std::memcpy(block, data, std::min(bytes, static_cast<size_t>(constantBytes_)));
        glUnmapBuffer(GL_UNIFORM_BUFFER);
    }
    currentConstants_ = nextConstants_;
    nextConstants_ += constantStride_;
}

void GLQELShaderRoot::BindConstants()
{
    glBindBufferRange(GL_UNIFORM_BUFFER, GLQelRenderStates::kConstantsBinding, constantBuffer_, currentConstants_,
                      constantBytes_);
}

void GLQELShaderRoot::Bind3DStreams(GLQELVertList* vertices, GLQELInstanceList* instances)
{
    vertices->Upload();
    glBindBuffer(GL_ARRAY_BUFFER, vertices->Buffer());
    SetAttributes(kVertexAttributes, std::size(kVertexAttributes), k3DVertexStride, 0);
    if (instances != nullptr) {
        instances->UploadChanges();
        glBindBuffer(GL_ARRAY_BUFFER, instances->Buffer());
        SetAttributes(kInstanceAttributes, std::size(kInstanceAttributes), kInstanceStride, 1);
    } else {
        for (const Attribute& a : kInstanceAttributes)
            glDisableVertexAttribArray(a.location);
    }
}

void GLQELShaderRoot::Bind2DStream(GLuint vertexBuffer)
{
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    SetAttributes(k2DAttributes, std::size(k2DAttributes), k2DVertexStride, 0);
}
