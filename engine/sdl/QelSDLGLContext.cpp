#include "engine/sdl/QelSDLGLContext.h"

#include <glad/gl.h>

namespace {

constexpr int kGLMajor = 3;
constexpr int kGLMinor = 3;
constexpr int kDepthBits = 24;
constexpr int kStencilBits = 8;

}  // namespace

void QelSDLGLContext::RequestAttributes()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kGLMajor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, kGLMinor);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, kDepthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, kStencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

QelSDLGLContext::~QelSDLGLContext()
{
    Destroy();
}

bool QelSDLGLContext::Create(SDL_Window* window)
{
    if (window == nullptr)
        return false;
    context_ = SDL_GL_CreateContext(window);
    if (context_ == nullptr)
        return false;
    window_ = window;
    if (gladLoadGL(reinterpret_cast<GLADloadfunc>(SDL_GL_GetProcAddress)) == 0) {
        Destroy();
        return false;
    }
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    width_ = width;
    height_ = height;
    glViewport(0, 0, width, height);
    return true;
}

void QelSDLGLContext::Destroy()
{
    if (context_ != nullptr)
        SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    window_ = nullptr;
}

void QelSDLGLContext::Clear()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Changing the swap interval can be costly on some drivers, so it is set only
// when the wish changes.
void QelSDLGLContext::Present(bool verticalSync)
{
    const int interval = verticalSync ? 1 : 0;
    if (interval != syncInterval_) {
        SDL_GL_SetSwapInterval(interval);
        syncInterval_ = interval;
    }
    SDL_GL_SwapWindow(window_);
}
