#include "engine/gl/GLQelGraphicsClass.h"

#include <SDL2/SDL.h>
#include <glm/ext/matrix_clip_space.hpp>
#include <glm/mat4x4.hpp>

#include <malloc.h>

#include <cstdio>

#include "engine/base/QelBitmapFiles.h"
#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelMessageBox.h"
#include "engine/gl/GLQELFont.h"
#include "engine/gl/GLQELIndexList.h"
#include "engine/gl/GLQELInstanceList.h"
#include "engine/gl/GLQELShaderRoot.h"
#include "engine/gl/GLQELVertList.h"
#include "engine/gl/GLQel2DBitmap.h"
#include "helper/QelAssert.h"

namespace {

const char* const kNoContextText = "Could not initialize OpenGL 3.3.";
const char* const kErrorCaption = "Error";

// A peak above this is taken for a leftover of a stall and replaced.
constexpr float kStalePeak = 9876.0f;
constexpr float kSpriteDepth = 0.9f;
// A software rasteriser allocates its vertex stores and tile bins anew for
// each frame, megabytes on a crowded radar, and frees them after; with the
// C library's defaults those are given back to the system at once and every
// page is faulted in again the next frame (a sixth of a 1,000-contact radar
// frame). Blocks up to this size come from the heap and freed memory up to
// it stays there for the next frame.
constexpr int kKeptFrameMemory = 64 << 20;

bool contextReady = false;

}  // namespace

GLQelGraphicsClass::GLQelGraphicsClass(const QelWindowSize& size, QelSystemServices* system)
    : windowWidth_(size.width),
      windowHeight_(size.height),
      deviceWidth_(size.width),
      deviceHeight_(size.height),
      system_(system),
      pool_(std::make_unique<GLQel2DBufferPool>(*this))
{
    shaderRegistry_.RegisterEngineShaders();
    gGraphicsFactory = this;
}

GLQelGraphicsClass::~GLQelGraphicsClass()
{
    Shutdown();
    if (gGraphicsFactory == this)
        gGraphicsFactory = nullptr;
}

GLQelGraphicsClass& GLQelGraphicsClass::Instance()
{
    QEL_ASSERT(gGraphicsFactory != nullptr, "gGraphicsFactory");
    return static_cast<GLQelGraphicsClass&>(*gGraphicsFactory);
}

bool GLQelGraphicsClass::ContextReady()
{
    return contextReady;
}

bool GLQelGraphicsClass::Initialize(int width, int height, SDL_Window* window)
{
    window_ = window;
    if (SDL_GL_GetCurrentContext() == nullptr || GLAD_GL_VERSION_3_3 == 0) {
        ShowQelMessageBox(kErrorCaption, kNoContextText, QelMessageBoxKind::Error, window);
        return false;
    }
    contextReady = true;
    KeepFrameMemory();
    adapterDescription_ = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    SetDeviceSize(width, height);
    glViewport(0, 0, width, height);
    states_.Reset();

    loadingDefaults_ = true;
    GetShader("2DNormal");
    Load2DBitmap("smallWhite");
    loadingDefaults_ = false;
    return true;
}

void GLQelGraphicsClass::KeepFrameMemory()
{
    mallopt(M_MMAP_THRESHOLD, kKeptFrameMemory);
    mallopt(M_TRIM_THRESHOLD, kKeptFrameMemory);
}

// Shaders, bitmaps and lists free their GL objects while the context is still
// current.
void GLQelGraphicsClass::Shutdown()
{
    fonts_.clear();
    shaders_.clear();
    bitmaps_.clear();
    vertLists_.clear();
    indexLists_.clear();
    instanceLists_.clear();
    pool_ = std::make_unique<GLQel2DBufferPool>(*this);
    if (contextReady)
        states_.Release();
    contextReady = false;
}

Qel2dBitmap* GLQelGraphicsClass::GetRenderTarget(std::string name, int width, int height, bool renderTarget)
{
    auto found = bitmaps_.find(name);
    if (found != bitmaps_.end())
        return found->second.get();
    auto bitmap = std::make_unique<GLQel2DBitmap>(*this, name);
    QEL_ASSERT(bitmap->CreateRenderTarget(width, height, renderTarget), "result");
    return (bitmaps_[name] = std::move(bitmap)).get();
}

bool GLQelGraphicsClass::LoadBitmapFile(GLQel2DBitmap& bitmap, const std::string& path)
{
    const std::string resolved = qel::ResolveGamePath(path);
    if (IsRawBitmapPath(path))
        return bitmap.LoadFromRawBitmapFile(resolved);
    return bitmap.LoadFromFile(resolved);
}

// Image names come from scripts and data: a file that exists but does not
// decode is logged and treated like a missing one.
Qel2dBitmap* GLQelGraphicsClass::Load2DBitmap(std::string name)
{
    if (Qel2dBitmap* stored = Find2DBitmap(name))
        return stored;
    const std::optional<std::string> path = FindBitmapFile(name, loadingDefaults_);
    if (!path)
        return nullptr;
    auto bitmap = std::make_unique<GLQel2DBitmap>(*this, name);
    if (!LoadBitmapFile(*bitmap, *path))
        return nullptr;
    return (bitmaps_[name] = std::move(bitmap)).get();
}

Qel2dBitmap* GLQelGraphicsClass::Adopt2DImage(std::string name, QelPixelImage image)
{
    auto bitmap = std::make_unique<GLQel2DBitmap>(*this, name);
    bitmap->AdoptImage(std::move(image));
    return (bitmaps_[name] = std::move(bitmap)).get();
}

Qel2dBitmap* GLQelGraphicsClass::Find2DBitmap(std::string name)
{
    auto found = bitmaps_.find(name);
    return found == bitmaps_.end() ? nullptr : found->second.get();
}

QelDrawProcess* GLQelGraphicsClass::GetShader(std::string name)
{
    if (QelDrawProcess* stored = FindShader(name))
        return stored;
    const QelShaderFactory* factory = shaderRegistry_.Find(name);
    QEL_ASSERT(factory != nullptr && *factory != nullptr, "a shader class registered under the name");
    std::unique_ptr<GLQELShaderRoot> shader((*factory)());
    shader->name = name;
    shader->Setup(window_);
    return (shaders_[name] = std::move(shader)).get();
}

bool GLQelGraphicsClass::KnowsShader(const std::string& name)
{
    const QelShaderFactory* factory = shaderRegistry_.Find(name);
    return factory != nullptr && *factory != nullptr;
}

QelDrawProcess* GLQelGraphicsClass::FindShader(std::string name)
{
    auto found = shaders_.find(name);
    return found == shaders_.end() ? nullptr : found->second.get();
}

// The default font comes from the engine's own folder whoever asks first.
QelBitmapFont* GLQelGraphicsClass::LoadFont(std::string name, int size)
{
    const std::string key = name + std::to_string(size);
    auto found = fonts_.find(key);
    if (found != fonts_.end())
        return found->second.get();
    auto font = std::make_unique<GLQELFont>(*this, key);
    font->LoadFont(name, size, loadingDefaults_ || IsDefaultFont(name, size));
    return (fonts_[key] = std::move(font)).get();
}

// The default font is always there: it is baked when first looked for, not
// while the first screen waits for the fonts it draws with.
QelBitmapFont* GLQelGraphicsClass::FindFont(std::string name, int size)
{
    auto found = fonts_.find(name + std::to_string(size));
    if (found != fonts_.end())
        return found->second.get();
    return IsDefaultFont(name, size) ? LoadFont(name, size) : nullptr;
}

bool GLQelGraphicsClass::IsDefaultFont(const std::string& name, int size)
{
    return name == kDefaultFontName && size == kDefaultFontSize;
}

QelVertexList* GLQelGraphicsClass::GetVertList(std::string name, int count, bool mustExist)
{
    if (QelVertexList* stored = FindVertList(name))
        return stored;
    QEL_ASSERT(!mustExist, "0");
    return (vertLists_[name] = std::make_unique<GLQELVertList>(name, count)).get();
}

QelVertexList* GLQelGraphicsClass::FindVertList(std::string name)
{
    auto found = vertLists_.find(name);
    return found == vertLists_.end() ? nullptr : found->second.get();
}

QelIndexList* GLQelGraphicsClass::GetIndexList(std::string name, int count)
{
    if (QelIndexList* stored = FindIndexList(name))
        return stored;
    return (indexLists_[name] = std::make_unique<GLQELIndexList>(name, count)).get();
}

QelIndexList* GLQelGraphicsClass::FindIndexList(std::string name)
{
    auto found = indexLists_.find(name);
    return found == indexLists_.end() ? nullptr : found->second.get();
}

QelInstanceList* GLQelGraphicsClass::GetInstanceList(std::string name, int count)
{
    if (QelInstanceList* stored = FindInstanceList(name))
        return stored;
    return (instanceLists_[name] = std::make_unique<GLQELInstanceList>(name, count)).get();
}

QelInstanceList* GLQelGraphicsClass::FindInstanceList(std::string name)
{
    auto found = instanceLists_.find(name);
    return found == instanceLists_.end() ? nullptr : found->second.get();
}

// glm's left-handed, depth 0..1 perspective holds in memory exactly the
// row-vector matrix of the left-handed maths; the shaders take its transpose.
void GLQelGraphicsClass::SetPerspective(float fieldOfView, float aspect, float nearPlane, float farPlane)
{
    projection_ = glm::transpose(glm::perspectiveLH_ZO(fieldOfView, aspect, nearPlane, farPlane));
    fieldOfView_ = fieldOfView;
    aspect_ = aspect;
    nearPlane_ = nearPlane;
    farPlane_ = farPlane;
}

void GLQelGraphicsClass::Flush2D()
{
    pool_->Flush2DBuffers();
}

void GLQelGraphicsClass::SubmitDrawing()
{
    if (ContextReady())
        glFlush();
}

// A bitmap holds its rows top first, the screen bottom first: the copy
// mirrors y on its way.
bool GLQelGraphicsClass::CopyToScreen(Qel2dBitmap& source, const QelRect& from, const QelRect& to)
{
    auto& bitmap = static_cast<GLQel2DBitmap&>(source);
    if (!ContextReady() || bitmap.Framebuffer() == 0)
        return false;
    Flush2D();
    const bool stretched = from.right - from.left != to.right - to.left || from.bottom - from.top != to.bottom - to.top;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, bitmap.Framebuffer());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(from.left, from.bottom, from.right, from.top, to.left, windowHeight_ - to.bottom, to.right,
                      windowHeight_ - to.top, GL_COLOR_BUFFER_BIT, stretched ? GL_LINEAR : GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return true;
}

void GLQelGraphicsClass::Flush2DAndClearDepth(Qel2dBitmap* target)
{
    pool_->Flush2DBuffers();
    if (!contextReady)
        return;
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    auto* bitmap = static_cast<GLQel2DBitmap*>(target);
    glBindFramebuffer(GL_FRAMEBUFFER, bitmap ? bitmap->Framebuffer() : 0);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    glClearDepth(1.0);
    glClearStencil(0);
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(bound));
    states_.SetDepthStencil(states_.DepthStencil());
}

// Going full screen twice keeps the first placement, so the way back leads to
// the window as it was and not to one covering the screen. An empty placement
// is never restored: the window keeps the size it comes back with.
void GLQelGraphicsClass::SetFullScreen(bool on)
{
    if (window_ == nullptr)
        return;
    if (on) {
        if (!IsFullScreen()) {
            SDL_GetWindowPosition(window_, &savedPlacement_.x, &savedPlacement_.y);
            SDL_GetWindowSize(window_, &savedPlacement_.width, &savedPlacement_.height);
        }
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowResizable(window_, SDL_TRUE);
    if (!savedPlacement_.Empty()) {
        SDL_SetWindowSize(window_, savedPlacement_.width, savedPlacement_.height);
        SDL_SetWindowPosition(window_, savedPlacement_.x, savedPlacement_.y);
    }
}

void GLQelGraphicsClass::ResetSavedPlacement()
{
    savedPlacement_ = WindowPlacement{};
    placementSaved_ = true;
}

bool GLQelGraphicsClass::IsFullScreen()
{
    return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

void GLQelGraphicsClass::CloseProgram()
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

std::string GLQelGraphicsClass::PopDroppedFile()
{
    std::string path;
    if (system_ != nullptr)
        system_->PopDroppedFile(path);
    return path;
}

void GLQelGraphicsClass::RecordProfileValue(int slot, float value)
{
    if (slot < 0 || slot >= kProfileSlots)
        return;
    if (value > currentPeaks_[slot] || currentPeaks_[slot] > kStalePeak)
        currentPeaks_[slot] = value;
    profileHistory_[profileRow_][slot] = value;
}

// The row index wraps to 1, not 0, as the profile display expects.
void GLQelGraphicsClass::RollProfileCounters()
{
    if (++profileRow_ < kProfileRows)
        return;
    profileRow_ -= kProfileRows - 1;
    for (int slot = 0; slot < kProfileSlots; ++slot) {
        previousPeaks_[slot] = currentPeaks_[slot];
        currentPeaks_[slot] = 0;
    }
}

void GLQelGraphicsClass::ShowErrorMessage(std::string text)
{
    ShowQelMessageBox(kErrorCaption, text, QelMessageBoxKind::Error, window_);
}

void GLQelGraphicsClass::Delete2DBitmap(std::string name)
{
    bitmaps_.erase(name);
}

bool GLQelGraphicsClass::FileExists(const std::string& path)
{
    return QelFileServices::Instance().FileExists(path);
}

void GLQelGraphicsClass::ResizeSwapChain(int width, int height)
{
    windowWidth_ = width;
    windowHeight_ = height;
    SetDeviceSize(width, height);
    if (contextReady && pool_->CurrentTarget() == nullptr)
        glViewport(0, 0, width, height);
}

void GLQelGraphicsClass::SetDeviceSize(int width, int height)
{
    deviceWidth_ = width;
    deviceHeight_ = height;
}

Qel2DVertex GLQelGraphicsClass::MakeVertex(float x, float y, float u, float v, const float colour[4]) const
{
    const float halfWidth = static_cast<float>(deviceWidth_ / 2);
    const float halfHeight = static_cast<float>(deviceHeight_ / 2);
    return Qel2DVertex{{x / halfWidth - 1.0f, 1.0f - y / halfHeight, kSpriteDepth, 1.0f},
                       {u, v},
                       {colour[0], colour[1], colour[2], colour[3]}};
}
