#pragma once
// The render side's answer to the world's question for a hull silhouette
// (interior grids are laid over it): a ship type's 1024-pixel silhouette and
// the opaque box of its 256-pixel one, from the type's draw data, which
// rasterises them from the mesh on the CPU when no image of them is stored.
// It works with any graphics service, the game's own or a quiet one on a
// server without a display.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "game/render/ObjectTypeDrawData.h"
#include "game/world/HullSilhouetteSource.h"

class QelGraphicsFactoryBase;

class DrawDataHullSilhouettes : public HullSilhouetteSource {
public:
    // The draw data of a lower-case ship key, kept by whoever holds it.
    using DrawDataLookup = std::function<const ObjectTypeDrawData&(const std::string& shipKey)>;

    // Silhouettes of the draw data the lookup gives: the render manager's own,
    // so a client makes each type's draw data once.
    explicit DrawDataHullSilhouettes(DrawDataLookup lookup);
    // Silhouettes of draw data this object makes through the service and keeps.
    explicit DrawDataHullSilhouettes(QelGraphicsFactoryBase& graphics);

    // Nothing when the type has no large silhouette (no mesh and no image).
    std::optional<HullSilhouette> FindHullSilhouette(const std::string& shipKey) override;

    // The world's form of a type's silhouettes: the large one's alpha plane
    // and the small one's opaque box.
    static std::optional<HullSilhouette> Describe(const ObjectTypeDrawData& drawData);

private:
    std::map<std::string, std::unique_ptr<ObjectTypeDrawData>> kept_;  // by lower-case ship key
    DrawDataLookup lookup_;
};
