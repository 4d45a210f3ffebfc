#pragma once
// A named 2D image of the graphics service, drawn as batched sprites, lines
// and quads. Positions are pixels of the current render target, colours
// (red, green, blue, alpha) 0..1, and the order key decides which batches the
// flush draws first (lowest first).

#include <string>

class QelDrawProcess;

struct QelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class Qel2dBitmap {
public:
    virtual ~Qel2dBitmap() = default;

    // Pixel access on the CPU copy; coordinates outside the bitmap are ignored
    // (GetPixel then leaves the outputs untouched).
    virtual void SetPixel(int x, int y, float alpha, float red, float green, float blue) = 0;
    virtual void GetPixel(int x, int y, float& alpha, float& red, float& green, float& blue) = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    // The shader serves the next draw only; smooth (linear sampling) stays.
    virtual void SetDrawProcess(QelDrawProcess* process, bool smooth, bool spare) = 0;
    virtual void SetAsRenderTarget(bool on, bool clear, const float colour[4]) = 0;
    virtual void DrawRotated(float x, float y, float angle, float scale, int orderKey, const float colour[4],
                             bool additive) = 0;
    virtual void DrawLine(float x1, float y1, float x2, float y2, int orderKey, const float colour[4],
                          bool additive) = 0;
    virtual void DrawQuad(const float colour[4], int orderKey, bool additive) = 0;
    virtual void SetDestRect(float left, float top, float right, float bottom) = 0;
    virtual void SetDestRectInt(const QelRect& rect) = 0;
    virtual void SetDestQuad(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) = 0;
    virtual void SetSourceRect(float left, float top, float right, float bottom) = 0;
    virtual void SetSourceRectInt(const QelRect& rect) = 0;
    virtual void SetSourceQuadPixels(float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                                     float y3) = 0;
    virtual void SetSourceQuad(float u0, float v0, float u1, float v1, float u2, float v2, float u3, float v3) = 0;
    virtual bool RejectName(std::string name) = 0;
    // Writes name + ".png"; false when the file cannot be written.
    virtual bool SavePNG(std::string name) = 0;
};
