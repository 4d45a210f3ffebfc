#pragma once
// One list of one draw unit of a ship type's mesh being fetched from the
// server in numbered chunks ("signal" 67). The console's outline handler
// makes the records (vertex list, index list, then the unit's textures); the
// render manager sends one request a frame and applies the answers.

#include <cstdint>
#include <string>

class Qel2dBitmap;
class QelIndexList;
class QelVertexList;

struct AssetTransfer {
    std::string shipKey;
    std::string artRoot;        // the outline's; names the lists and the stored mesh
    uint32_t unitIndex = 0;     // draw unit of the ship's 3D object
    uint32_t textureIndex = 0;  // texture of that unit (bitmap transfers)
    uint32_t transferId = 0;    // unique on this console (from nextTransferId)
    // Exactly one target is set; all are held by the graphics service.
    QelVertexList* vertexList = nullptr;
    QelIndexList* indexList = nullptr;
    Qel2dBitmap* bitmap = nullptr;
    int32_t itemCount = 0;  // vertices or indices announced by the outline
    int32_t bitmapWidth = 0, bitmapHeight = 0;  // texture size announced by the outline
    int32_t highestChunkStart = 0;  // greatest first item among the chunks received
    int32_t requestCount = 0;       // requests sent so far
    int32_t progressPercent = 0;    // 100 × highestChunkStart / items
    int32_t allRequested = 0;       // 1 once the last request has gone
};
