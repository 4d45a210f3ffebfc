#pragma once
// "objectBlob": values of one object data set for one console. After the key:
// owner id, ship id, kind, then entries {tag key, index, type, value} until a
// tag key of 0. Writers build it entry by entry and close it; the reader takes
// a whole message or nothing.

#include "engine/base/QelNetworkMessage.h"
#include "game/world/ObjectDataBlobElement.h"

#include <cstdint>
#include <string>
#include <vector>

enum ObjectBlobKind : int32_t {
    kBlobOfGridObject = 0,   // owner: a grid object; ship id: the ship holding it
    kBlobOfSpaceObject = 1,  // owner: a space object; ship id not read
};

struct ObjectBlobHeader {
    uint64_t ownerId = 0;
    uint64_t shipId = 0;
    int32_t kind = kBlobOfSpaceObject;

    static constexpr int32_t kSize = 8 + 8 + 8 + 4;  // key, owner, ship, kind
};

// The ship field of the passes that send what an object shows to everyone
// (the sensor and game-master passes); receivers do not read it for space
// objects.
constexpr uint64_t kVisibleDataShipField = 3;

// The tag key 0 that closes the entries.
constexpr int32_t kBlobEndMarkerSize = 8;

// One received value, as its type says.
struct ObjectBlobEntry {
    uint64_t tagKey = 0;  // never 0
    int32_t index = 0;
    uint8_t type = ODBE_INT;
    int64_t intValue = 0;
    uint64_t uintValue = 0;
    float floatValue = 0.0f;
    std::string stringValue;
};

// Empties the message and writes the key and the header.
void StartObjectBlobMessage(QelNetworkMessage& message, const ObjectBlobHeader& header);
// Bytes one element's entry takes; 0 for an element that is never sent
// (ODBE_NONE).
int32_t ObjectBlobEntrySize(const ObjectDataBlobElement& element);
// Appends one entry; the caller made sure it fits before the end marker.
// Writes nothing for an ODBE_NONE element.
void WriteObjectBlobEntry(QelNetworkMessage& message, uint64_t tagKey, int32_t index,
                          const ObjectDataBlobElement& element);
void CloseObjectBlobMessage(QelNetworkMessage& message);

// Reads the header and the entries after the key. An entry of an unknown
// type ends the reading, keeping the entries before it. False when the
// message ends before its end marker: then nothing of it may be applied.
bool ReadObjectBlobMessage(QelNetworkMessage& message, ObjectBlobHeader& header,
                           std::vector<ObjectBlobEntry>& entries);
