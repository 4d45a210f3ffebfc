#include "game/world/DataKey.h"

#include "game/world/BlobDocRegistry.h"
#include "game/world/ObjectDataBlob.h"

#include <cmath>
#include <utility>

namespace {

const ObjectDataBlobElement* Find(const ObjectDataBlob& blob, const DataKey& key, int32_t index)
{
    return blob.FindElement(key.key, index);
}

// Stores through the key and records the documentation given, as the named
// setters do, without a copy of the name or the text.
template <typename Store>
void Write(ObjectDataBlob& blob, const DataKey& key, std::string_view doc, const char* typeName, int32_t index,
           Store store)
{
    store(blob.GetElementById(key.key, index), blob.ChangeTick());
    BlobDocRegistry::RecordLasting(key.key, key.name, doc, typeName, index);
}

}  // namespace

float ReadFloat(const ObjectDataBlob& blob, const DataKey& key, int32_t index)
{
    const ObjectDataBlobElement* element = Find(blob, key, index);
    return element ? element->floatValue : 0.0f;
}

float ReadFiniteFloat(const ObjectDataBlob& blob, const DataKey& key, int32_t index)
{
    const float value = ReadFloat(blob, key, index);
    return std::isfinite(value) ? value : 0.0f;
}

int64_t ReadInt(const ObjectDataBlob& blob, const DataKey& key, int32_t index)
{
    const ObjectDataBlobElement* element = Find(blob, key, index);
    return element ? element->intValue : 0;
}

uint64_t ReadUInt64(const ObjectDataBlob& blob, const DataKey& key, int32_t index)
{
    const ObjectDataBlobElement* element = Find(blob, key, index);
    return element ? element->uintValue : 0;
}

const std::string& ReadString(const ObjectDataBlob& blob, const DataKey& key, int32_t index)
{
    static const std::string none;
    const ObjectDataBlobElement* element = Find(blob, key, index);
    return element ? element->stringValue : none;
}

int32_t CountElements(const ObjectDataBlob& blob, const DataKey& key)
{
    return blob.CountElements(key.key);
}

void DeclareInt(ObjectDataBlob& blob, const DataKey& key, int32_t value, int32_t index)
{
    Write(blob, key, key.doc, BlobDocRegistry::kInt, index,
          [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreInt(value, tick); });
}

void DeclareInt64(ObjectDataBlob& blob, const DataKey& key, int64_t value, int32_t index)
{
    Write(blob, key, key.doc, BlobDocRegistry::kInt64, index,
          [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreInt(value, tick); });
}

void DeclareUInt64(ObjectDataBlob& blob, const DataKey& key, uint64_t value, int32_t index)
{
    Write(blob, key, key.doc, BlobDocRegistry::kUInt64, index,
          [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreUInt64(value, tick); });
}

void DeclareFloat(ObjectDataBlob& blob, const DataKey& key, float value, int32_t index)
{
    Write(blob, key, key.doc, BlobDocRegistry::kFloat, index,
          [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreFloat(value, tick); });
}

void DeclareString(ObjectDataBlob& blob, const DataKey& key, std::string value, int32_t index)
{
    Write(blob, key, key.doc, BlobDocRegistry::kString, index,
          [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreString(std::move(value), tick); });
}

void WriteInt(ObjectDataBlob& blob, const DataKey& key, int32_t value, int32_t index)
{
    Write(blob, key, kPlayDoc, BlobDocRegistry::kInt, index,
          [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreInt(value, tick); });
}

void WriteUInt64(ObjectDataBlob& blob, const DataKey& key, uint64_t value, int32_t index)
{
    Write(blob, key, kPlayDoc, BlobDocRegistry::kUInt64, index,
          [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreUInt64(value, tick); });
}

void WriteFloat(ObjectDataBlob& blob, const DataKey& key, float value, int32_t index)
{
    Write(blob, key, kPlayDoc, BlobDocRegistry::kFloat, index,
          [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreFloat(value, tick); });
}

void WriteInt64(ObjectDataBlob& blob, const DataKey& key, int64_t value, int32_t index)
{
    Write(blob, key, kPlayDoc, BlobDocRegistry::kInt64, index,
          [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreInt(value, tick); });
}

void WriteString(ObjectDataBlob& blob, const DataKey& key, std::string value, int32_t index)
{
    Write(blob, key, kPlayDoc, BlobDocRegistry::kString, index,
          [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreString(std::move(value), tick); });
}
