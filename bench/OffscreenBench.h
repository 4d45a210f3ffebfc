#pragma once
// The drawing benchmarks' window, GL context and graphics service, on SDL's
// offscreen driver with llvmpipe given two rasterizer threads (the
// environment may say otherwise).

#include <SDL2/SDL.h>

#include <cstdlib>

#include "engine/gl/GLQelGraphicsClass.h"
#include "engine/sdl/QelSDLGLContext.h"

class OffscreenBench {
public:
    OffscreenBench(int width, int height)
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("LP_NUM_THREADS", "2", 0);
        SDL_Init(SDL_INIT_VIDEO);
        QelSDLGLContext::RequestAttributes();
        window_ = SDL_CreateWindow("bench", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ready_ = window_ != nullptr && context_.Create(window_) && graphics_.Initialize(width, height, window_);
    }
    ~OffscreenBench()
    {
        graphics_.Shutdown();
        context_.Destroy();
        if (window_)
            SDL_DestroyWindow(window_);
        SDL_Quit();
    }
    OffscreenBench(const OffscreenBench&) = delete;
    OffscreenBench& operator=(const OffscreenBench&) = delete;

    bool Ready() const { return ready_; }
    GLQelGraphicsClass& Graphics() { return graphics_; }
    QelSDLGLContext& Context() { return context_; }

private:
    SDL_Window* window_ = nullptr;
    QelSDLGLContext context_;
    GLQelGraphicsClass graphics_;
    bool ready_ = false;
};
