#pragma once
// A real window and GL context on the offscreen driver with the graphics
// service on it, for tests that draw and read the pixels back. Open it in a
// test's SetUp (inside ASSERT_NO_FATAL_FAILURE) and close it in TearDown.

#include "engine/gl/GLQelGraphicsClass.h"
#include "engine/sdl/QelSDLGLContext.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qeltest {

class OffscreenWindow {
public:
    void Open(const char* title, int width, int height)
    {
        width_ = width;
        height_ = height;
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        QelSDLGLContext::RequestAttributes();
        window = SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        ASSERT_TRUE(context.Create(window));
        graphics.ResizeSwapChain(width, height);
        ASSERT_TRUE(graphics.Initialize(width, height, window));
        context.Clear();
    }

    void Close()
    {
        graphics.Shutdown();
        context.Destroy();
        if (window)
            SDL_DestroyWindow(window);
        window = nullptr;
        SDL_Quit();
    }

    // The window's pixels as GL reads them: RGBA, the bottom row first.
    std::vector<uint8_t> ReadPixels() const
    {
        std::vector<uint8_t> pixels(static_cast<size_t>(width_) * height_ * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    SDL_Window* window = nullptr;
    QelSDLGLContext context;
    GLQelGraphicsClass graphics;

private:
    int width_ = 0;
    int height_ = 0;
};

}  // namespace qeltest
