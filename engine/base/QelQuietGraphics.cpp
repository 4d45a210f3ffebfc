#include "engine/base/QelQuietGraphics.h"

#include <cstdio>

#include "engine/base/QelBitmapFiles.h"
#include "engine/base/QelDataFolder.h"
#include "helper/QelAssert.h"

namespace {

// The stand-in texture: a small opaque white square.
const char* const kFallbackTexture = "smallWhite";
constexpr int kFallbackSide = 8;

// Finds or makes the entry of a name in one of the service's maps.
template <typename Resource, typename Make>
Resource* FindOrMake(std::map<std::string, std::unique_ptr<Resource>>& map, const std::string& name, Make make)
{
    std::unique_ptr<Resource>& stored = map[name];
    if (!stored)
        stored = make();
    return stored.get();
}

template <typename Resource>
Resource* FindIn(std::map<std::string, std::unique_ptr<Resource>>& map, const std::string& name)
{
    const auto found = map.find(name);
    return found == map.end() ? nullptr : found->second.get();
}

}  // namespace

void QelCpuBitmap::SetPixel(int x, int y, float alpha, float red, float green, float blue)
{
    pixels_.SetPixel(x, y, alpha, red, green, blue);
}

void QelCpuBitmap::GetPixel(int x, int y, float& alpha, float& red, float& green, float& blue)
{
    pixels_.GetPixel(x, y, alpha, red, green, blue);
}

bool QelCpuBitmap::SavePNG(std::string name)
{
    return pixels_.SavePNG(qel::ResolveGamePath(name + ".png"));
}

QelQuietGraphics::QelQuietGraphics()
{
    Qel2dBitmap* white = GetRenderTarget(kFallbackTexture, kFallbackSide, kFallbackSide, false);
    for (int y = 0; y < kFallbackSide; ++y)
        for (int x = 0; x < kFallbackSide; ++x)
            white->SetPixel(x, y, 1.0f, 1.0f, 1.0f, 1.0f);
}

Qel2dBitmap* QelQuietGraphics::GetRenderTarget(std::string name, int width, int height, bool)
{
    return FindOrMake(bitmaps_, name, [&] {
        auto bitmap = std::make_unique<QelCpuBitmap>();
        QEL_ASSERT(width > 0 && height > 0 && width <= QelPixelImage::kMaxSide && height <= QelPixelImage::kMaxSide,
                   "result");
        bitmap->Pixels().Resize(width, height);
        return bitmap;
    });
}

Qel2dBitmap* QelQuietGraphics::Adopt2DImage(std::string name, QelPixelImage image)
{
    auto bitmap = std::make_unique<QelCpuBitmap>();
    bitmap->Pixels() = std::move(image);
    return (bitmaps_[name] = std::move(bitmap)).get();
}

Qel2dBitmap* QelQuietGraphics::Load2DBitmap(std::string name)
{
    if (Qel2dBitmap* stored = Find2DBitmap(name))
        return stored;
    const std::optional<std::string> path = FindBitmapFile(name, false);
    if (!path)
        return nullptr;
    auto bitmap = std::make_unique<QelCpuBitmap>();
    const std::string resolved = qel::ResolveGamePath(*path);
    std::string error;
    const bool loaded = IsRawBitmapPath(*path) ? bitmap->Pixels().LoadRawFile(resolved, error)
                                               : bitmap->Pixels().LoadImageFile(resolved, error);
    if (!loaded) {
        std::fprintf(stderr, "Bitmap %s: %s; it is left out.\n", name.c_str(), error.c_str());
        return nullptr;
    }
    return (bitmaps_[name] = std::move(bitmap)).get();
}

Qel2dBitmap* QelQuietGraphics::Find2DBitmap(std::string name)
{
    return FindIn(bitmaps_, name);
}

QelDrawProcess* QelQuietGraphics::GetShader(std::string name)
{
    return FindOrMake(shaders_, name, [] { return std::make_unique<QuietProcess>(); });
}

QelDrawProcess* QelQuietGraphics::FindShader(std::string name)
{
    return FindIn(shaders_, name);
}

QelVertexList* QelQuietGraphics::GetVertList(std::string name, int count, bool mustExist)
{
    if (QelVertexList* stored = FindVertList(name))
        return stored;
    QEL_ASSERT(!mustExist, "0");
    return FindOrMake(vertLists_, name, [&] { return std::make_unique<QelCpuVertList>(name, count); });
}

QelVertexList* QelQuietGraphics::FindVertList(std::string name)
{
    return FindIn(vertLists_, name);
}

QelIndexList* QelQuietGraphics::GetIndexList(std::string name, int count)
{
    return FindOrMake(indexLists_, name, [&] { return std::make_unique<QelCpuIndexList>(name, count); });
}

QelIndexList* QelQuietGraphics::FindIndexList(std::string name)
{
    return FindIn(indexLists_, name);
}

QelInstanceList* QelQuietGraphics::GetInstanceList(std::string name, int count)
{
    return FindOrMake(instanceLists_, name, [&] { return std::make_unique<QelCpuInstanceList>(name, count); });
}

QelInstanceList* QelQuietGraphics::FindInstanceList(std::string name)
{
    return FindIn(instanceLists_, name);
}

void QelQuietGraphics::ShowErrorMessage(std::string text)
{
    std::fprintf(stderr, "Error: %s\n", text.c_str());
}
