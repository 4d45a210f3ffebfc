#pragma once
// A real window, GL 3.3 context and graphics service on SDL's offscreen
// driver, for the tests that draw: draw into a render target, read its
// pixels back, and save what was drawn as a PNG to look at.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "engine/gl/GLQel2DBitmap.h"
#include "engine/gl/GLQelGraphicsClass.h"
#include "engine/sdl/QelSDLGLContext.h"

namespace qeltest {

class OffscreenGraphics : public ::testing::Test {
protected:
    using Rgba = std::array<float, 4>;
    // The window's back buffer.
    static constexpr int kScreenWidth = 320;
    static constexpr int kScreenHeight = 240;

    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        QelSDLGLContext::RequestAttributes();
        window = SDL_CreateWindow("draw", 0, 0, kScreenWidth, kScreenHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        ASSERT_TRUE(context.Create(window));
        graphics.ResizeSwapChain(kScreenWidth, kScreenHeight);
        ASSERT_TRUE(graphics.Initialize(kScreenWidth, kScreenHeight, window));
    }

    void TearDown() override
    {
        graphics.Shutdown();
        context.Destroy();
        if (window)
            SDL_DestroyWindow(window);
        SDL_Quit();
    }

    // A render target of that size made current, cleared to the colour, its
    // depth to 1.
    GLQel2DBitmap* BeginTarget(const std::string& name, int width, int height, const float colour[4])
    {
        auto* target = static_cast<GLQel2DBitmap*>(graphics.GetRenderTarget(name, width, height, true));
        target->SetAsRenderTarget(true, true, colour);
        graphics.Flush2DAndClearDepth(target);
        return target;
    }

    // Back to the screen, the target's pixels read into its CPU copy.
    void EndTarget(GLQel2DBitmap* target)
    {
        const float black[4] = {0, 0, 0, 1};
        target->SetAsRenderTarget(false, false, black);
        target->ReadBackPixels();
    }

    static Rgba At(Qel2dBitmap* target, int x, int y)
    {
        Rgba p{};
        target->GetPixel(x, y, p[3], p[0], p[1], p[2]);
        return p;
    }

    // The PNG beside the tests' working folder, named for the test.
    static void Keep(Qel2dBitmap* target, const std::string& name) { ASSERT_TRUE(target->SavePNG(name)); }

    SDL_Window* window = nullptr;
    QelSDLGLContext context;
    GLQelGraphicsClass graphics;
};

}  // namespace qeltest
