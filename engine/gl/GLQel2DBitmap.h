#pragma once
// A named 2D image of the graphics service: a GL texture with the CPU copy of
// its pixels (QelPixelImage), and for a render target a framebuffer with its
// own depth texture. The texture is made on first use, so bitmaps load and
// answer pixel reads without a GL context. Draws append clip-space triangles
// and lines to the service's 2D batches.

#include <glad/gl.h>

#include <string>

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelPixelImage.h"

class GLQelGraphicsClass;

class GLQel2DBitmap : public Qel2dBitmap {
public:
    GLQel2DBitmap(GLQelGraphicsClass& graphics, std::string name);
    ~GLQel2DBitmap() override;

    void SetPixel(int x, int y, float alpha, float red, float green, float blue) override;
    void GetPixel(int x, int y, float& alpha, float& red, float& green, float& blue) override;
    int GetWidth() override { return pixels_.Width(); }
    int GetHeight() override { return pixels_.Height(); }
    void SetDrawProcess(QelDrawProcess* process, bool smooth, bool spare) override;
    void SetAsRenderTarget(bool on, bool clear, const float colour[4]) override;
    void DrawRotated(float x, float y, float angle, float scale, int orderKey, const float colour[4],
                     bool additive) override;
    void DrawLine(float x1, float y1, float x2, float y2, int orderKey, const float colour[4],
                  bool additive) override;
    void DrawQuad(const float colour[4], int orderKey, bool additive) override;
    void SetDestRect(float left, float top, float right, float bottom) override;
    void SetDestRectInt(const QelRect& rect) override;
    void SetDestQuad(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) override;
    void SetSourceRect(float left, float top, float right, float bottom) override;
    void SetSourceRectInt(const QelRect& rect) override;
    void SetSourceQuadPixels(float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                             float y3) override;
    void SetSourceQuad(float u0, float v0, float u1, float v1, float u2, float v2, float u3, float v3) override;
    bool RejectName(std::string name) override;
    bool SavePNG(std::string name) override;

    // Decodes an image file; false (logged) when it is missing or does not decode.
    bool LoadFromFile(const std::string& path);
    // Pixels decoded elsewhere, drawn as an image from a file is.
    void AdoptImage(QelPixelImage image);
    // A blank bitmap; with renderTarget it can be drawn into.
    bool CreateRenderTarget(int width, int height, bool renderTarget);
    // Sends CPU edits to the texture (made here on first use).
    void UnmapPixels();
    // Copies what was rendered into the CPU copy, so pixel reads and SavePNG see it.
    void ReadBackPixels();
    // The engine's raw pixel file; false (logged) when it is missing or damaged.
    bool LoadFromRawBitmapFile(const std::string& path);

    const std::string& Name() const { return name_; }
    bool IsRenderTarget() const { return renderTarget_; }
    bool Smooth() const { return smooth_; }
    GLuint Texture() const { return texture_; }
    GLuint Framebuffer() const { return framebuffer_; }
    // A render target's depth, readable as a texture; 0 for other bitmaps.
    GLuint DepthTexture() const { return depthTexture_; }
    // Direct access for bulk fills; PixelsChanged then sends them at the next upload.
    QelPixelImage& Pixels() { return pixels_; }
    void PixelsChanged() { MarkChanged(); }

private:
    struct Corner {
        float x, y;
    };
    // Texture coordinates of the part of the image a plain draw can mark.
    struct InkArea {
        float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f;
        bool empty = false;
    };

    void MarkChanged();
    const InkArea& Ink();

    void EnsureTexture();
    // Images larger than the driver takes shrink to fit, the CPU copy too.
    void FitTextureLimit();
    void RefreshMipChain();
    void CreateFramebuffer();
    void ReleaseGL();
    QelDrawProcess* TakeDrawProcess();
    GLQel2DBitmap* DrawTexture();

    GLQelGraphicsClass& graphics_;
    std::string name_;
    QelPixelImage pixels_;
    bool renderTarget_ = false;
    bool mipmapped_ = false;  // an image from a file: sampled with a mip chain in 3D
    bool changed_ = false;  // the CPU copy holds edits the texture lacks
    InkArea ink_;
    bool inkStale_ = true;  // the CPU copy changed since ink_ was worked out
    GLuint texture_ = 0;
    GLuint framebuffer_ = 0;
    GLuint depthTexture_ = 0;
    QelDrawProcess* drawProcess_ = nullptr;  // the next draw only
    bool smooth_ = false;
    bool spare_ = false;
    Corner dest_[4] = {};                                     // pixels: top left, top right, bottom left, bottom right
    Corner source_[4] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};     // texture coordinates, same order
};
