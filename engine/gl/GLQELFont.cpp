#include "engine/gl/GLQELFont.h"

#include <algorithm>

#include "engine/gl/GLQel2DBitmap.h"
#include "engine/gl/GLQel2DBufferPool.h"
#include "engine/gl/GLQelGraphicsClass.h"

GLQELFont::GLQELFont(GLQelGraphicsClass& graphics, std::string key) : graphics_(graphics), name_(std::move(key)) {}

void GLQELFont::SetTextRect(int left, int top, int right, int bottom)
{
    box_ = {left, top, right, bottom};
}

void GLQELFont::SetTextRectFrom(const QelRect& rect)
{
    box_ = rect;
}

void GLQELFont::DrawTextLeft(std::string text, const float colour[4], int orderKey)
{
    DrawTextBox(text, colour, QelTextAlign::Left, orderKey);
}

void GLQELFont::DrawTextRight(std::string text, const float colour[4], int orderKey)
{
    DrawTextBox(text, colour, QelTextAlign::Right, orderKey);
}

void GLQELFont::DrawTextCentered(std::string text, const float colour[4], int orderKey)
{
    DrawTextBox(text, colour, QelTextAlign::Centre, orderKey);
}

int GLQELFont::LayoutText(std::string text, int width)
{
    return face_.LayoutText(text, width, lines_);
}

// A missing or broken file falls back to the default font (QelFontFace).
void GLQELFont::LoadFont(const std::string& name, int size, bool fromDefaults)
{
    face_.LoadGameFont(name, size, fromDefaults, name_);
    atlas_ = static_cast<GLQel2DBitmap*>(graphics_.GetRenderTarget(name_ + "_glyphmap", QelFontFace::kAtlasSide,
                                                                   face_.AtlasHeight(), false));
    FillAtlas();
}

// White everywhere, the glyph coverage as alpha.
void GLQELFont::FillAtlas()
{
    const std::vector<uint8_t>& coverage = face_.Atlas();
    if (coverage.empty())
        return;
    QelPixelImage& pixels = atlas_->Pixels();
    uint8_t* out = pixels.Data();
    for (size_t i = 0; i < coverage.size(); ++i) {
        const float alpha = coverage[i] / 256.0f;
        out[i * 4 + 0] = out[i * 4 + 1] = out[i * 4 + 2] = 255;
        out[i * 4 + 3] = static_cast<uint8_t>(alpha * 255.0f);
    }
    atlas_->PixelsChanged();
    atlas_->UnmapPixels();
}

void GLQELFont::DrawTextBox(const std::string& text, const float colour[4], QelTextAlign align, int orderKey)
{
    if (LayoutText(text, box_.right - box_.left) == 0) {
        singleLine_ = false;
        return;
    }
    const size_t count = singleLine_ ? 1 : lines_.size();
    singleLine_ = false;
    int y = face_.FirstLineTop(box_.top, box_.bottom, static_cast<int>(count), align);
    for (size_t i = 0; i < count; ++i) {
        DrawTextLine(lines_[i], box_.left, y, box_.right, box_.bottom, colour, align, orderKey);
        y += face_.LineStep();
    }
}

// A blank's glyph has no area and a glyph wholly off the target covers no
// pixel of it: neither needs triangles (a crowded radar writes thousands of
// glyphs a frame, some of them above its edge).
bool GLQELFont::Inks(const QelGlyphQuad& q) const
{
    return q.left < q.right && q.top < q.bottom && q.right > 0.0f && q.bottom > 0.0f &&
           q.left < static_cast<float>(graphics_.DeviceWidth()) && q.top < static_cast<float>(graphics_.DeviceHeight());
}

void GLQELFont::DrawTextLine(const std::string& text, int left, int top, int right, int, const float colour[4],
                             QelTextAlign align, int orderKey)
{
    float clamped[4];
    for (int i = 0; i < 4; ++i)
        clamped[i] = std::clamp(colour[i], 0.0f, 1.0f);
    const Qel2DBatchKey key{graphics_.FindShader("2DNormal"), atlas_, orderKey, false, false, false};
    for (const QelGlyphQuad& q : face_.LineQuads(text, left, top, right, align)) {
        if (!Inks(q))
            continue;
        const Qel2DVertex a = graphics_.MakeVertex(q.left, q.top, q.u0, q.v0, clamped);
        const Qel2DVertex b = graphics_.MakeVertex(q.right, q.top, q.u1, q.v0, clamped);
        const Qel2DVertex c = graphics_.MakeVertex(q.left, q.bottom, q.u0, q.v1, clamped);
        const Qel2DVertex d = graphics_.MakeVertex(q.right, q.bottom, q.u1, q.v1, clamped);
        graphics_.Pool().Get2DBuffer(key)->AddTriangle(a, b, d);
        graphics_.Pool().Get2DBuffer(key)->AddTriangle(d, c, a);
    }
}
