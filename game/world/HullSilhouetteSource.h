#pragma once
// Where the world finds the top-down picture of a hull that a ship's interior
// grid is laid over. The world never draws: the render side answers from its
// per-type draw data (the silhouettes it rasterises from the mesh on the CPU),
// so the server builds interior grids with or without a display.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A hull silhouette as the grid builder reads it: the alpha of every pixel of
// the large image, and the opaque box found on the small one.
struct HullSilhouette {
    // The box is measured on the 256-pixel silhouette; the grid is sampled
    // from the large one (1024 pixels), so the box is scaled by the ratio of
    // the two (4 for the large silhouette).
    static constexpr int32_t kBoxImageSize = 256;

    int32_t width = 0;           // pixels of the large silhouette
    int32_t height = 0;
    std::vector<uint8_t> alpha;  // width x height, rows from the top; 0 clear .. 255 opaque
    // Opaque box of the 256-pixel silhouette, in its pixels.
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    // The pixel's alpha; a pixel outside the image counts as opaque (255).
    uint8_t AlphaAt(int32_t x, int32_t y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 255;
        return alpha[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
    // Whether the alpha plane holds width x height pixels.
    bool IsWhole() const
    {
        return width > 0 && height > 0 &&
               alpha.size() == static_cast<size_t>(width) * static_cast<size_t>(height);
    }
};

class HullSilhouetteSource {
public:
    virtual ~HullSilhouetteSource() = default;
    // The silhouette of the ship type named by its lower-case ship key: the
    // type's 1024-pixel silhouette and the opaque box of its 256-pixel one.
    // Nothing when the type has none (no mesh); the ship then has no interior.
    virtual std::optional<HullSilhouette> FindHullSilhouette(const std::string& shipKey) = 0;
};
