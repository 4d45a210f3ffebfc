#include "tools/halvex-server/HarnessHullSilhouettes.h"

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelPixelImage.h"
#include "game/world/ShipData.h"

#include <algorithm>

namespace {

// A pixel at or above this alpha (of 255) is hull.
constexpr uint8_t kOpaqueAlpha = 128;
constexpr int32_t kLargeSilhouettePixels = 1024;

// The alpha plane, and the box around its opaque pixels in the small
// silhouette's pixels; nothing when no pixel is opaque.
std::optional<HullSilhouette> SilhouetteOf(const QelPixelImage& image)
{
    HullSilhouette hull;
    hull.width = image.Width();
    hull.height = image.Height();
    hull.alpha.resize(static_cast<size_t>(hull.width) * static_cast<size_t>(hull.height));
    int32_t left = hull.width, top = hull.height, right = -1, bottom = -1;
    for (int32_t y = 0; y < hull.height; ++y) {
        for (int32_t x = 0; x < hull.width; ++x) {
            const size_t pixel = static_cast<size_t>(y) * static_cast<size_t>(hull.width) + static_cast<size_t>(x);
            const uint8_t alpha = image.Data()[pixel * 4 + 3];
            hull.alpha[pixel] = alpha;
            if (alpha >= kOpaqueAlpha) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return std::nullopt;
    const int32_t scale = std::max(1, hull.width / HullSilhouette::kBoxImageSize);
    hull.left = left / scale;
    hull.top = top / scale;
    hull.right = right / scale + 1;
    hull.bottom = bottom / scale + 1;
    return hull;
}

}  // namespace

std::optional<HullSilhouette> HarnessHullSilhouettes::FindHullSilhouette(const std::string& shipKey)
{
    const ShipDataRecord* record = ShipData::Instance().Find(shipKey);
    if (!record)
        return std::nullopt;
    const std::optional<std::string> name = qel::CheckDataName(
        "graphics/ships/" + record->artFileRoot + std::to_string(kLargeSilhouettePixels) + ".png");
    QelPixelImage image;
    std::string error;
    if (!name || !image.LoadImageFile((qel::DataFolder() / *name).string(), error))
        return std::nullopt;
    return SilhouetteOf(image);
}
