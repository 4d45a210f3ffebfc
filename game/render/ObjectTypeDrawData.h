#pragma once
// What the views draw of one ship type (a key of the ship definitions): its
// mesh with the lit-ship shader "Redwood", its size, the 256- and 1024-pixel
// top-down silhouettes with the opaque box of the smaller one, and, when the
// type has shields, the hull shell the shields are drawn on.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/base/QEL3DObject.h"
#include "game/render/PointSandwich.h"

class Qel2dBitmap;
class QelGraphicsFactoryBase;
struct ShipDataRecord;

class ObjectTypeDrawData {
public:
    // Sides of the two silhouettes, in pixels.
    static constexpr int kSilhouettePixels = 256;
    static constexpr int kLargeSilhouettePixels = 1024;

    // An empty record, filled later by a mesh that arrives over the network.
    ObjectTypeDrawData() = default;
    // The whole record of the ship key (any case): the mesh "ships/<art file
    // root>" of its definition, or the "unknown" definition's mesh (with one
    // log line) when that does not load; the silhouettes, read or rendered and
    // saved; the shell when the definition lists shields.
    ObjectTypeDrawData(std::string shipKey, QelGraphicsFactoryBase& graphics);
    // The same through the process's graphics service.
    explicit ObjectTypeDrawData(std::string shipKey);
    virtual ~ObjectTypeDrawData() = default;

    // Back to the empty record, with an empty 3D object to be filled over the
    // network; the record stays where it is, so views that hold it keep it.
    void ResetForTransfer();

    // The size, silhouettes and shell made again from the mesh as it stands,
    // once its lists have arrived over the network; nothing is saved.
    void RebuildFromMesh(const std::string& shipKey, QelGraphicsFactoryBase& graphics);

    // The opaque box of the 256-pixel silhouette: from a start box of
    // 108..148 each edge moves out over the opaque runs it meets until it lies
    // on a clear column or row, or on the image's border.
    void FindSilhouetteBounds();

    std::unique_ptr<QEL3DObject> mesh;
    Qel2dBitmap* silhouette = nullptr;       // 256 pixels; held by the graphics service
    Qel2dBitmap* largeSilhouette = nullptr;  // 1024 pixels; held by the graphics service
    int32_t silhouetteLeft = 0, silhouetteTop = 0, silhouetteRight = 0, silhouetteBottom = 0;  // pixels
    std::unique_ptr<PointSandwich> pointSandwich;  // none without shields
    float size = 0.0f;  // the larger horizontal extent (x or z) of the mesh

private:
    void MakeViews(const std::string& artRoot, const ShipDataRecord* record, const std::string& shellName, bool save,
                   QelGraphicsFactoryBase& graphics);
};
