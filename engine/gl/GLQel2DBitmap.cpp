#include "engine/gl/GLQel2DBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/base/QelDataFolder.h"
#include "engine/gl/GLQel2DBufferPool.h"
#include "engine/gl/GLQelGraphicsClass.h"
#include "helper/QelAssert.h"

GLQel2DBitmap::GLQel2DBitmap(GLQelGraphicsClass& graphics, std::string name)
    : graphics_(graphics), name_(std::move(name))
{
}

GLQel2DBitmap::~GLQel2DBitmap()
{
    ReleaseGL();
}

void GLQel2DBitmap::ReleaseGL()
{
    if (!GLQelGraphicsClass::ContextReady())
        return;
    if (framebuffer_ != 0)
        glDeleteFramebuffers(1, &framebuffer_);
    if (depthTexture_ != 0)
        glDeleteTextures(1, &depthTexture_);
    if (texture_ != 0)
        glDeleteTextures(1, &texture_);
    framebuffer_ = depthTexture_ = texture_ = 0;
}

void GLQel2DBitmap::SetPixel(int x, int y, float alpha, float red, float green, float blue)
{
    if (!pixels_.Contains(x, y))
        return;
    pixels_.SetPixel(x, y, alpha, red, green, blue);
    MarkChanged();
}

void GLQel2DBitmap::MarkChanged()
{
    changed_ = true;
    inkStale_ = true;
}

void GLQel2DBitmap::GetPixel(int x, int y, float& alpha, float& red, float& green, float& blue)
{
    pixels_.GetPixel(x, y, alpha, red, green, blue);
}

void GLQel2DBitmap::SetDrawProcess(QelDrawProcess* process, bool smooth, bool spare)
{
    drawProcess_ = process;
    smooth_ = smooth;
    spare_ = spare;
}

// Rows are sent top first; sampling at v = 0 reads the top row, as the
// engine's texture coordinates expect. Images from files get a full mip
// chain, so meshes far away sample them smoothly; targets and bitmaps drawn
// into pixel by pixel keep one level.
void GLQel2DBitmap::EnsureTexture()
{
    if (texture_ != 0 || !GLQelGraphicsClass::ContextReady())
        return;
    FitTextureLimit();
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    // The chain's real last level, not an open "all there are": told the
    // levels it will get, llvmpipe makes the texture's storage once rather
    // than again for the levels below the first (a third of a 1024 x 1024
    // image's upload).
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, mipmapped_ ? pixels_.LastMipLevel() : 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pixels_.Width(), pixels_.Height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels_.Data());
    RefreshMipChain();
    changed_ = false;
    if (renderTarget_)
        CreateFramebuffer();
}

void GLQel2DBitmap::FitTextureLimit()
{
    GLint limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    int width = pixels_.Width(), height = pixels_.Height();
    QelPixelImage::FitWithin(limit, width, height);
    if (width == pixels_.Width() && height == pixels_.Height())
        return;
    std::fprintf(stderr, "Bitmap %s: %d x %d is more than the graphics takes; it is drawn at %d x %d.\n",
                 name_.c_str(), pixels_.Width(), pixels_.Height(), width, height);
    pixels_.ScaleTo(width, height);
    inkStale_ = true;
}

// The chain is halved on the CPU: on a software rasterizer the driver's own
// generation costs a shader compile and draws, a third of a second for a
// 1024 x 1024 image, where halving costs a few milliseconds; a GPU takes the
// levels as they come. The texture is bound, rows unpacked a byte aligned.
void GLQel2DBitmap::RefreshMipChain()
{
    if (!mipmapped_)
        return;
    const QelPixelImage* above = &pixels_;
    QelPixelImage level;
    for (int index = 1; above->Width() > 1 || above->Height() > 1; ++index) {
        level = above->MipLevelBelow();
        glTexImage2D(GL_TEXTURE_2D, index, GL_RGBA8, level.Width(), level.Height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     level.Data());
        above = &level;
    }
}

void GLQel2DBitmap::CreateFramebuffer()
{
    glGenTextures(1, &depthTexture_);
    glBindTexture(GL_TEXTURE_2D, depthTexture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT32F, pixels_.Width(), pixels_.Height(), 0,
                 GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depthTexture_, 0);
    QEL_ASSERT(glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE, "result");
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void GLQel2DBitmap::UnmapPixels()
{
    if (!GLQelGraphicsClass::ContextReady())
        return;
    if (texture_ == 0) {
        EnsureTexture();
        return;
    }
    if (!changed_)
        return;
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, pixels_.Width(), pixels_.Height(), GL_RGBA, GL_UNSIGNED_BYTE,
                    pixels_.Data());
    RefreshMipChain();
    changed_ = false;
}

void GLQel2DBitmap::ReadBackPixels()
{
    if (texture_ == 0 || !GLQelGraphicsClass::ContextReady())
        return;
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels_.Data());
    changed_ = false;
}

bool GLQel2DBitmap::LoadFromFile(const std::string& path)
{
    std::string error;
    if (!pixels_.LoadImageFile(path, error)) {
        std::fprintf(stderr, "Bitmap %s: %s; it is left out.\n", name_.c_str(), error.c_str());
        return false;
    }
    mipmapped_ = true;
    MarkChanged();
    return true;
}

void GLQel2DBitmap::AdoptImage(QelPixelImage image)
{
    ReleaseGL();
    pixels_ = std::move(image);
    renderTarget_ = false;
    mipmapped_ = true;
    MarkChanged();
}

bool GLQel2DBitmap::LoadFromRawBitmapFile(const std::string& path)
{
    std::string error;
    if (!pixels_.LoadRawFile(path, error)) {
        std::fprintf(stderr, "Bitmap %s: %s; it is left out.\n", name_.c_str(), error.c_str());
        return false;
    }
    renderTarget_ = false;
    mipmapped_ = true;
    MarkChanged();
    return true;
}

bool GLQel2DBitmap::CreateRenderTarget(int width, int height, bool renderTarget)
{
    if (width <= 0 || height <= 0 || width > QelPixelImage::kMaxSide || height > QelPixelImage::kMaxSide)
        return false;
    ReleaseGL();
    pixels_.Resize(width, height);
    renderTarget_ = renderTarget;
    mipmapped_ = false;
    MarkChanged();
    EnsureTexture();
    return true;
}

void GLQel2DBitmap::SetAsRenderTarget(bool on, bool clear, const float colour[4])
{
    GLQel2DBufferPool& pool = graphics_.Pool();
    if (on) {
        QEL_ASSERT(renderTarget_, "renderTarget");
        EnsureTexture();
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        pool.SetCurrentTarget(this);
        graphics_.States().SetTargetIsBitmap(true);
        glViewport(0, 0, pixels_.Width(), pixels_.Height());
        if (clear) {
            glClearColor(colour[0], colour[1], colour[2], colour[3]);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        graphics_.SetDeviceSize(pixels_.Width(), pixels_.Height());
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    pool.SetCurrentTarget(nullptr);
    graphics_.States().SetTargetIsBitmap(false);
    glViewport(0, 0, graphics_.GetWidth(), graphics_.GetHeight());
    graphics_.SetDeviceSize(graphics_.GetWidth(), graphics_.GetHeight());
}

QelDrawProcess* GLQel2DBitmap::TakeDrawProcess()
{
    QelDrawProcess* process = drawProcess_ ? drawProcess_ : graphics_.FindShader("2DNormal");
    drawProcess_ = nullptr;
    return process;
}

GLQel2DBitmap* GLQel2DBitmap::DrawTexture()
{
    QEL_ASSERT(!name_.empty(), "!bitmapName.empty()");
    auto* bitmap = static_cast<GLQel2DBitmap*>(graphics_.Find2DBitmap(name_));
    QEL_ASSERT(bitmap != nullptr, "bitm");
    return bitmap;
}

// The image turned by angle about (x, y). A plain draw (the 2D shader,
// blended by alpha) covers only the image's inked part: on a software
// rasteriser every pixel of the quad costs the same whether it shows or not,
// and ship icons and shield marks are mostly clear (a crowded radar's shield
// marks alone covered four windows' worth of pixels a frame). Additive draws
// add colour even where alpha is nil, and another shader may read the image
// otherwise: those cover it all.
void GLQel2DBitmap::DrawRotated(float x, float y, float angle, float scale, int orderKey, const float colour[4],
                                bool additive)
{
    const bool plain = drawProcess_ == nullptr && !additive;
    GLQel2DBitmap* texture = DrawTexture();
    const Qel2DBatchKey key{TakeDrawProcess(), texture, orderKey, false, smooth_, additive};
    const InkArea area = plain ? texture->Ink() : InkArea{};
    if (area.empty)
        return;
    const float width = static_cast<float>(pixels_.Width() / 2 * 2) * scale;
    const float height = static_cast<float>(pixels_.Height() / 2 * 2) * scale;
    const float c = std::cos(angle), s = std::sin(angle);
    // The point of the image at (u, v), turned about its middle.
    const auto at = [&](float u, float v) {
        const float dx = (u - 0.5f) * width, dy = (v - 0.5f) * height;
        return graphics_.MakeVertex(x + dx * c + dy * s, y + dy * c - dx * s, u, v, colour);
    };
    const Qel2DVertex c0 = at(area.u0, area.v1);
    const Qel2DVertex c1 = at(area.u1, area.v1);
    const Qel2DVertex c2 = at(area.u1, area.v0);
    const Qel2DVertex c3 = at(area.u0, area.v0);
    graphics_.Pool().Get2DBuffer(key)->AddTriangle(c0, c1, c2);
    graphics_.Pool().Get2DBuffer(key)->AddTriangle(c2, c3, c0);
}

// The inked pixels and one more all round, which smooth sampling reaches
// into; worked out from the CPU copy when first drawn after a change. A
// render target's pixels live on the GL side: all of it counts.
const GLQel2DBitmap::InkArea& GLQel2DBitmap::Ink()
{
    if (!inkStale_)
        return ink_;
    inkStale_ = false;
    ink_ = InkArea{};
    const int w = pixels_.Width(), h = pixels_.Height();
    if (renderTarget_ || w <= 0 || h <= 0)
        return ink_;
    const QelPixelImage::Box box = pixels_.InkBox();
    if (box.Empty()) {
        ink_.empty = true;
        return ink_;
    }
    ink_.u0 = static_cast<float>(std::max(box.left - 1, 0)) / static_cast<float>(w);
    ink_.v0 = static_cast<float>(std::max(box.top - 1, 0)) / static_cast<float>(h);
    ink_.u1 = static_cast<float>(std::min(box.right + 1, w)) / static_cast<float>(w);
    ink_.v1 = static_cast<float>(std::min(box.bottom + 1, h)) / static_cast<float>(h);
    return ink_;
}

void GLQel2DBitmap::DrawLine(float x1, float y1, float x2, float y2, int orderKey, const float colour[4],
                             bool additive)
{
    const Qel2DVertex a = graphics_.MakeVertex(x1, y1, 0, 0, colour);
    const Qel2DVertex b = graphics_.MakeVertex(x2, y2, 1, 0, colour);
    const Qel2DBatchKey key{TakeDrawProcess(), DrawTexture(), orderKey, true, smooth_, additive};
    graphics_.Pool().Get2DBuffer(key)->AddLine(a, b);
}

void GLQel2DBitmap::DrawQuad(const float colour[4], int orderKey, bool additive)
{
    const Qel2DVertex a = graphics_.MakeVertex(dest_[0].x, dest_[0].y, source_[0].x, source_[0].y, colour);
    const Qel2DVertex b = graphics_.MakeVertex(dest_[2].x, dest_[2].y, source_[2].x, source_[2].y, colour);
    const Qel2DVertex c = graphics_.MakeVertex(dest_[3].x, dest_[3].y, source_[3].x, source_[3].y, colour);
    const Qel2DVertex d = graphics_.MakeVertex(dest_[1].x, dest_[1].y, source_[1].x, source_[1].y, colour);
    const Qel2DBatchKey key{TakeDrawProcess(), DrawTexture(), orderKey, false, smooth_, additive};
    graphics_.Pool().Get2DBuffer(key)->AddTriangle(a, b, c);
    graphics_.Pool().Get2DBuffer(key)->AddTriangle(c, d, a);
}

void GLQel2DBitmap::SetDestRect(float left, float top, float right, float bottom)
{
    SetDestQuad(left, top, right, top, left, bottom, right, bottom);
}

void GLQel2DBitmap::SetDestRectInt(const QelRect& rect)
{
    SetDestRect(static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                static_cast<float>(rect.bottom));
}

void GLQel2DBitmap::SetDestQuad(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3)
{
    dest_[0] = {x0, y0};
    dest_[1] = {x1, y1};
    dest_[2] = {x2, y2};
    dest_[3] = {x3, y3};
}

void GLQel2DBitmap::SetSourceRect(float left, float top, float right, float bottom)
{
    SetSourceQuadPixels(left, top, right, top, left, bottom, right, bottom);
}

void GLQel2DBitmap::SetSourceRectInt(const QelRect& rect)
{
    SetSourceRect(static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                  static_cast<float>(rect.bottom));
}

void GLQel2DBitmap::SetSourceQuadPixels(float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                                        float y3)
{
    const float w = static_cast<float>(pixels_.Width());
    const float h = static_cast<float>(pixels_.Height());
    SetSourceQuad(x0 / w, y0 / h, x1 / w, y1 / h, x2 / w, y2 / h, x3 / w, y3 / h);
}

void GLQel2DBitmap::SetSourceQuad(float u0, float v0, float u1, float v1, float u2, float v2, float u3, float v3)
{
    source_[0] = {u0, v0};
    source_[1] = {u1, v1};
    source_[2] = {u2, v2};
    source_[3] = {u3, v3};
}

bool GLQel2DBitmap::RejectName(std::string)
{
    return false;
}

// A render target is saved as last read back. "data/..." names a file of
// the data folder.
bool GLQel2DBitmap::SavePNG(std::string name)
{
    return pixels_.SavePNG(qel::ResolveGamePath(name + ".png"));
}
