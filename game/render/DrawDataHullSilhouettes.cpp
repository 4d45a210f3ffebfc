#include "game/render/DrawDataHullSilhouettes.h"

#include <cmath>

#include "engine/base/QelGraphicsFactoryBase.h"

DrawDataHullSilhouettes::DrawDataHullSilhouettes(DrawDataLookup lookup) : lookup_(std::move(lookup)) {}

DrawDataHullSilhouettes::DrawDataHullSilhouettes(QelGraphicsFactoryBase& graphics)
    : lookup_([this, &graphics](const std::string& shipKey) -> const ObjectTypeDrawData& {
          std::unique_ptr<ObjectTypeDrawData>& drawData = kept_[shipKey];
          if (!drawData)
              drawData = std::make_unique<ObjectTypeDrawData>(shipKey, graphics);
          return *drawData;
      })
{
}

std::optional<HullSilhouette> DrawDataHullSilhouettes::FindHullSilhouette(const std::string& shipKey)
{
    return Describe(lookup_(shipKey));
}

std::optional<HullSilhouette> DrawDataHullSilhouettes::Describe(const ObjectTypeDrawData& drawData)
{
    Qel2dBitmap* large = drawData.largeSilhouette;
    if (large == nullptr || large->GetWidth() <= 0 || large->GetHeight() <= 0)
        return std::nullopt;
    HullSilhouette hull;
    hull.width = large->GetWidth();
    hull.height = large->GetHeight();
    hull.alpha.resize(static_cast<size_t>(hull.width) * static_cast<size_t>(hull.height));
    for (int32_t y = 0; y < hull.height; ++y)
        for (int32_t x = 0; x < hull.width; ++x) {
            float alpha = 0.0f, red, green, blue;
            large->GetPixel(x, y, alpha, red, green, blue);
            hull.alpha[static_cast<size_t>(y) * static_cast<size_t>(hull.width) + static_cast<size_t>(x)] =
                static_cast<uint8_t>(std::lround(alpha * 255.0f));
        }
    hull.left = drawData.silhouetteLeft;
    hull.top = drawData.silhouetteTop;
    hull.right = drawData.silhouetteRight;
    hull.bottom = drawData.silhouetteBottom;
    return hull;
}
