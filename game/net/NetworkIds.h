#pragma once
// Checks of the ids that arrive in messages: a peer may send any 64 bits, and
// an id of the wrong kind must never reach code that asserts on its kind.

#include "game/world/ObjectId.h"

#include <cstdint>

// The server's own screen as a console: the sender of what its widgets send
// through the loopback, and the client id the mission knows that screen by.
constexpr uint64_t kHostClientId = 0;

// A space-object id and nothing else: a client or grid bit beside the
// space-object bit makes an id of no kind at all.
constexpr bool IsSpaceObjectId(uint64_t id)
{
    return VALID_SPACE_OBJ(id) && (id & (kClientIdBit | kGridObjectIdBit)) == 0;
}

constexpr bool IsNoneOrSpaceObjectId(uint64_t id)
{
    return id == 0 || IsSpaceObjectId(id);
}

// A grid-object id (an object inside a ship's interior) and nothing else.
constexpr bool IsGridObjectId(uint64_t id)
{
    return VALID_GRID_OBJ(id) && (id & (kClientIdBit | kSpaceObjectIdBit)) == 0;
}

constexpr bool IsNoneOrGridObjectId(uint64_t id)
{
    return id == 0 || IsGridObjectId(id);
}
