#pragma once
// The harness has no render side to draw hull silhouettes, so ship interiors
// are laid over the silhouette images the data folder holds: the file the
// render side keeps for a hull's large silhouette,
// graphics/ships/<art file root>1024.png. The opaque box is measured on that
// image itself. A hull without the file has no interior.

#include "game/world/HullSilhouetteSource.h"

class HarnessHullSilhouettes : public HullSilhouetteSource {
public:
    std::optional<HullSilhouette> FindHullSilhouette(const std::string& shipKey) override;
};
