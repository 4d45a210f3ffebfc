#pragma once
// A keyed value of an object's data set as the code that owns it declares it:
// its name, the documentation sentence recorded with it, and its tag key,
// which the compiler works out from the name. The world and each behaviour
// declare their keys once, as constants, and read and write through them, so
// a name is never spelled twice and never hashed while the game runs.
//
// The readers never add an element (a missing one reads as 0 or ""), so
// reading does not grow what replication walks.

#include "engine/base/QelNetworkMessage.h"

#include <cstdint>
#include <string>
#include <string_view>

class ObjectDataBlob;

struct DataKey {
    std::string_view name;
    std::string_view doc;  // a text that lives as long as the program (a literal)
    uint64_t key = HashMessageName(name);
};

// The documentation of values written during play rather than at set-up.
inline constexpr std::string_view kPlayDoc = "a";

float ReadFloat(const ObjectDataBlob& blob, const DataKey& key, int32_t index = 0);
// As ReadFloat, but a value that is not a finite number reads as 0: for
// values that clients and scripts may write and that drive motion.
float ReadFiniteFloat(const ObjectDataBlob& blob, const DataKey& key, int32_t index = 0);
int64_t ReadInt(const ObjectDataBlob& blob, const DataKey& key, int32_t index = 0);
uint64_t ReadUInt64(const ObjectDataBlob& blob, const DataKey& key, int32_t index = 0);
// The stored text, or an empty one; valid until the set makes an element.
const std::string& ReadString(const ObjectDataBlob& blob, const DataKey& key, int32_t index = 0);
// How many indexes the key holds.
int32_t CountElements(const ObjectDataBlob& blob, const DataKey& key);

// Set-up writes, with the key's documentation.
void DeclareInt(ObjectDataBlob& blob, const DataKey& key, int32_t value, int32_t index = 0);
void DeclareInt64(ObjectDataBlob& blob, const DataKey& key, int64_t value, int32_t index = 0);
void DeclareUInt64(ObjectDataBlob& blob, const DataKey& key, uint64_t value, int32_t index = 0);
void DeclareFloat(ObjectDataBlob& blob, const DataKey& key, float value, int32_t index = 0);
void DeclareString(ObjectDataBlob& blob, const DataKey& key, std::string value, int32_t index = 0);

// Writes during play, documented as such.
void WriteInt(ObjectDataBlob& blob, const DataKey& key, int32_t value, int32_t index = 0);
void WriteUInt64(ObjectDataBlob& blob, const DataKey& key, uint64_t value, int32_t index = 0);
void WriteInt64(ObjectDataBlob& blob, const DataKey& key, int64_t value, int32_t index = 0);
void WriteFloat(ObjectDataBlob& blob, const DataKey& key, float value, int32_t index = 0);
void WriteString(ObjectDataBlob& blob, const DataKey& key, std::string value, int32_t index = 0);
