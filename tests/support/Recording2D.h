#pragma once
// A graphics service for headless tests of what is drawn in 2D: it hands out
// bitmaps of the names a test gives it, and every bitmap records the quads
// drawn with it (source and destination rectangles, colour, layer) in one
// list, in drawing order.

#include "tests/support/QuietGraphics.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qeltest {

struct DrawnQuad {
    std::string bitmap;
    float source[4];  // left, top, right, bottom, in the bitmap's pixels
    float dest[4];    // left, top, right, bottom, in screen pixels
    float colour[4];
    int layer;
    bool additive;
};

class RecordingBitmap : public Qel2dBitmap {
public:
    RecordingBitmap(std::string name, int width, int height, std::vector<DrawnQuad>& quads)
        : name_(std::move(name)), width_(width), height_(height), quads_(quads)
    {
    }

    void SetPixel(int, int, float, float, float, float) override {}
    void GetPixel(int, int, float&, float&, float&, float&) override {}
    int GetWidth() override { return width_; }
    int GetHeight() override { return height_; }
    void SetDrawProcess(QelDrawProcess*, bool smooth, bool) override { smooth_ = smooth; }
    void SetAsRenderTarget(bool, bool, const float[4]) override {}
    void DrawRotated(float, float, float, float, int, const float[4], bool) override {}
    void DrawLine(float, float, float, float, int, const float[4], bool) override {}
    void DrawQuad(const float colour[4], int orderKey, bool additive) override
    {
        DrawnQuad quad{name_, {}, {}, {}, orderKey, additive};
        std::copy(source_, source_ + 4, quad.source);
        std::copy(dest_, dest_ + 4, quad.dest);
        std::copy(colour, colour + 4, quad.colour);
        quads_.push_back(quad);
    }
    void SetDestRect(float left, float top, float right, float bottom) override
    {
        dest_[0] = left, dest_[1] = top, dest_[2] = right, dest_[3] = bottom;
    }
    void SetDestRectInt(const QelRect& r) override { SetDestRect(r.left, r.top, r.right, r.bottom); }
    void SetDestQuad(float, float, float, float, float, float, float, float) override {}
    void SetSourceRect(float left, float top, float right, float bottom) override
    {
        source_[0] = left, source_[1] = top, source_[2] = right, source_[3] = bottom;
    }
    void SetSourceRectInt(const QelRect& r) override { SetSourceRect(r.left, r.top, r.right, r.bottom); }
    void SetSourceQuadPixels(float, float, float, float, float, float, float, float) override {}
    void SetSourceQuad(float, float, float, float, float, float, float, float) override {}
    bool RejectName(std::string) override { return false; }
    bool SavePNG(std::string) override { return false; }

    bool Smooth() const { return smooth_; }

private:
    std::string name_;
    int width_;
    int height_;
    std::vector<DrawnQuad>& quads_;
    float source_[4] = {};
    float dest_[4] = {};
    bool smooth_ = false;
};

class Recording2D : public QuietGraphics {
public:
    RecordingBitmap* AddBitmap(const std::string& name, int width, int height)
    {
        auto& bitmap = bitmaps[name];
        bitmap = std::make_unique<RecordingBitmap>(name, width, height, quads);
        return bitmap.get();
    }

    Qel2dBitmap* Load2DBitmap(std::string name) override { return Find2DBitmap(name); }
    Qel2dBitmap* Find2DBitmap(std::string name) override
    {
        const auto found = bitmaps.find(name);
        return found == bitmaps.end() ? nullptr : found->second.get();
    }

    std::map<std::string, std::unique_ptr<RecordingBitmap>> bitmaps;
    std::vector<DrawnQuad> quads;
};

}  // namespace qeltest
