#pragma once
// The world's 64-bit object ids: the top bits tell what kind of thing an id
// names, so a message or a script can be checked before anything is looked up.
// 0 names nothing (or the server).

#include <cstdint>

constexpr uint64_t kClientIdBit = 1ull << 63;       // a console computer
constexpr uint64_t kSpaceObjectIdBit = 1ull << 62;  // an object of the world
constexpr uint64_t kGridObjectIdBit = 1ull << 61;   // an object inside a ship's interior

constexpr bool VALID_SPACE_OBJ(uint64_t id) { return (id & kSpaceObjectIdBit) != 0; }
constexpr bool VALID_GRID_OBJ(uint64_t id) { return (id & kGridObjectIdBit) != 0; }
// 0 stands for the server or nobody, never a client.
constexpr bool VALID_CLIENT(uint64_t id) { return (id & kClientIdBit) != 0; }
