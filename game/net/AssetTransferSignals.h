#pragma once
// The asset transfer "signal" codes (framing and conventions as in
// SignalMessage.h): a console that lacks a ship type's mesh receives its
// outline (66) after the ship's definition, then asks for the contents of
// each list in numbered chunks (67) and gets each chunk back (67).
//
// Readers refuse what a console or the server could not apply: an empty key
// or root, a root that would leave the data folder, counts beyond the caps
// below, a chunk larger than its kind's chunk, a number that is not finite.

#include "engine/base/QelVertexList.h"
#include "game/net/SignalMessage.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What one transfer fetches.
enum class AssetKind : uint32_t { Vertices = 0, Indices = 1, Texture = 2 };

// Items per request of each kind: a chunk of any kind stays well inside one
// message (10 vertices of 96 bytes, 50 indices, 150 pixels of 16 bytes).
inline constexpr uint32_t kAssetChunkVertices = 10;
inline constexpr uint32_t kAssetChunkIndices = 50;
inline constexpr uint32_t kAssetChunkPixels = 150;
// The largest outline a console builds, all units together. The mesh cache
// stores at most 127 units; a ship mesh of the game has a few thousand
// vertices and textures of a few hundred pixels a side, so these leave ample
// room while an outline cannot make a console reserve gigabytes.
inline constexpr int32_t kMaxAssetUnits = 127;
inline constexpr int32_t kMaxAssetVertices = 1 << 18;    // 25 MB of vertices
inline constexpr int32_t kMaxAssetIndices = 3 << 18;     // 3 MB of indices
inline constexpr int32_t kMaxAssetTexturesPerUnit = 8;   // a unit binds four
inline constexpr int32_t kMaxAssetTextureSide = 2048;    // pixels
inline constexpr int64_t kMaxAssetPixels = 1 << 22;      // one texture of the largest side

uint32_t AssetChunkItems(AssetKind kind);

// S->C 66: the draw units of a ship type's mesh, without their contents.
struct DrawDataOutlineSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_DRAW_DATA_OUTLINE;
    struct Texture {
        int32_t width = 0, height = 0;  // pixels, 0..kMaxAssetTextureSide; kMaxAssetPixels in all
        bool operator==(const Texture&) const = default;
    };
    struct Unit {
        std::string name;          // the unit's shader
        int32_t vertexCount = 0;   // 0..kMaxAssetVertices, all units together
        int32_t indexCount = 0;    // 0..kMaxAssetIndices, all units together
        std::vector<Texture> textures;
        bool operator==(const Unit&) const = default;
    };
    std::string shipKey;  // not empty
    std::string artRoot;  // not empty; a name inside the data folder
    std::vector<Unit> units;
};

// C->S 67: one chunk of one list of one unit.
struct AssetDataRequestSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_ASSET_DATA;
    uint32_t transferId = 0;  // the console's number of the transfer, sent back
    std::string shipKey;      // not empty
    uint32_t unitIndex = 0;
    uint32_t textureIndex = 0;        // texture transfers only
    uint32_t kind = 0;                // an AssetKind; the server answers others with the header alone
    uint32_t first = 0;               // first item
    uint32_t count = 0;               // at most the kind's chunk
};

// S->C 67: the chunk asked for. Which kind of items follow the header is
// known only to the console that asked (by its transfer id), so the reader
// takes the kind; ReadAssetDataHeader lets the console look it up first.
struct AssetDataSignal {
    static constexpr SignalMessageCode kCode = SIGNAL_MESS_ASSET_DATA;
    uint32_t transferId = 0;
    uint32_t first = 0;
    std::vector<QelVertexRecord> vertices;
    std::vector<uint32_t> indices;
    std::vector<std::array<float, 4>> pixels;  // alpha, red, green, blue; 0..1 each

    // Items carried, of whichever kind.
    uint32_t Count() const;
};

void WriteSignal(QelNetworkMessage& message, const DrawDataOutlineSignal& signal);
void WriteSignal(QelNetworkMessage& message, const AssetDataRequestSignal& signal);
void WriteSignal(QelNetworkMessage& message, const AssetDataSignal& signal);

bool ReadSignal(QelNetworkMessage& message, DrawDataOutlineSignal& signal);
bool ReadSignal(QelNetworkMessage& message, AssetDataRequestSignal& signal);
// The answer's transfer id, first item and count, leaving the items unread.
bool ReadAssetDataHeader(QelNetworkMessage& message, AssetDataSignal& signal, uint32_t& count);
// The items after the header, of the kind the console asked for; false when
// the count exceeds the kind's chunk or the items are cut short, not finite
// or (pixels) outside 0..1. Nothing may follow the last item.
bool ReadAssetDataItems(QelNetworkMessage& message, AssetKind kind, uint32_t count, AssetDataSignal& signal);
