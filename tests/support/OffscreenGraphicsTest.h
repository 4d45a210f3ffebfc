#pragma once
// A test fixture with a real window, its GL context and the graphics service
// on SDL's offscreen driver, and the screen or a render target read back for
// pixel checks. A fixture derives from it with the window size it wants.

#include <SDL2/SDL.h>
#include <glad/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/QelPixelImage.h"
#include "engine/gl/GLQel2DBitmap.h"
#include "engine/gl/GLQelGraphicsClass.h"
#include "engine/sdl/QelSDLGLContext.h"

namespace qeltest {

// Red, green, blue: the screen of the offscreen driver keeps no alpha.
using Rgb = std::array<int, 3>;
// Red, green, blue, alpha of a render target, 0..1.
using Rgba = std::array<float, 4>;

class OffscreenGraphicsTest : public ::testing::Test {
protected:
    OffscreenGraphicsTest(int width, int height) : screenWidth(width), screenHeight(height) {}

    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        QelSDLGLContext::RequestAttributes();
        window = SDL_CreateWindow("draw", 0, 0, screenWidth, screenHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        ASSERT_TRUE(context.Create(window));
        graphics.ResizeSwapChain(screenWidth, screenHeight);
        ASSERT_TRUE(graphics.Initialize(screenWidth, screenHeight, window));
        context.Clear();
    }

    void TearDown() override
    {
        graphics.Shutdown();
        context.Destroy();
        if (window)
            SDL_DestroyWindow(window);
        SDL_Quit();
    }

    // The screen's pixels, top row first.
    void ReadScreen()
    {
        screen.resize(static_cast<size_t>(screenWidth) * screenHeight * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, screenWidth, screenHeight, GL_RGBA, GL_UNSIGNED_BYTE, screen.data());
    }

    Rgb At(int x, int y) const
    {
        const uint8_t* p = &screen[(static_cast<size_t>(screenHeight - 1 - y) * screenWidth + x) * 4];
        return {p[0], p[1], p[2]};
    }

    // The screen as last read, as a PNG for a person to look at.
    bool SaveScreen(const std::string& path) const
    {
        QelPixelImage image;
        image.Resize(screenWidth, screenHeight);
        for (int y = 0; y < screenHeight; ++y)
            for (int x = 0; x < screenWidth; ++x) {
                const Rgb c = At(x, y);
                image.SetPixel(x, y, 1.0f, c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f);
            }
        return image.SavePNG(path);
    }

    // A render target of that size made current, cleared to the colour and
    // its depth to 1.
    GLQel2DBitmap* BeginTarget(const std::string& name, int width, int height, const float colour[4])
    {
        auto* target = static_cast<GLQel2DBitmap*>(graphics.GetRenderTarget(name, width, height, true));
        target->SetAsRenderTarget(true, true, colour);
        graphics.Flush2DAndClearDepth(target);
        return target;
    }

    // Back to the screen, what the target holds read into its CPU copy.
    void EndTarget(GLQel2DBitmap* target)
    {
        const float black[4] = {0, 0, 0, 1};
        target->SetAsRenderTarget(false, false, black);
        target->ReadBackPixels();
    }

    static Rgba TargetAt(Qel2dBitmap* target, int x, int y)
    {
        Rgba p{};
        target->GetPixel(x, y, p[3], p[0], p[1], p[2]);
        return p;
    }

    // The target as a PNG in the tests' working folder, for a person to look at.
    static void KeepTarget(Qel2dBitmap* target, const std::string& name) { ASSERT_TRUE(target->SavePNG(name)); }

    const int screenWidth;
    const int screenHeight;
    SDL_Window* window = nullptr;
    QelSDLGLContext context;
    GLQelGraphicsClass graphics;
    std::vector<uint8_t> screen;
};

}  // namespace qeltest
