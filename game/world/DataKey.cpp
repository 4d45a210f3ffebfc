#include "game/world/DataKey.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/world/ObjectDataBlob.h"

#include <cmath>
#include <utility>

namespace {

const ObjectDataBlobElement* Find(const ObjectDataBlob& blob, const DataKey& key, int32_t index)
{
    return blob.FindElement(HashMessageName(key.name), index);
}

std::string Name(const DataKey& key)
{
    return std::string(key.name);
}

std::string Doc(const DataKey& key)
{
    return std::string(key.doc);
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

std::string ReadString(const ObjectDataBlob& blob, const DataKey& key, int32_t index)
{
    const ObjectDataBlobElement* element = Find(blob, key, index);
    return element ? element->stringValue : std::string();
}

int32_t CountElements(const ObjectDataBlob& blob, const DataKey& key)
{
    const auto tag = blob.Tags().find(HashMessageName(key.name));
    return tag == blob.Tags().end() ? 0 : static_cast<int32_t>(tag->second.size());
}

void DeclareInt(ObjectDataBlob& blob, const DataKey& key, int32_t value, int32_t index)
{
    blob.SetInt(Name(key), value, index, Doc(key));
}

void DeclareInt64(ObjectDataBlob& blob, const DataKey& key, int64_t value, int32_t index)
{
    blob.SetInt64(Name(key), value, index, Doc(key));
}

void DeclareUInt64(ObjectDataBlob& blob, const DataKey& key, uint64_t value, int32_t index)
{
    blob.SetUInt64(Name(key), value, index, Doc(key));
}

void DeclareFloat(ObjectDataBlob& blob, const DataKey& key, float value, int32_t index)
{
    blob.SetFloat(Name(key), value, index, Doc(key));
}

void DeclareString(ObjectDataBlob& blob, const DataKey& key, std::string value, int32_t index)
{
    blob.SetString(Name(key), std::move(value), index, Doc(key));
}

void WriteInt(ObjectDataBlob& blob, const DataKey& key, int32_t value, int32_t index)
{
    blob.SetInt(Name(key), value, index, std::string(kPlayDoc));
}

void WriteUInt64(ObjectDataBlob& blob, const DataKey& key, uint64_t value, int32_t index)
{
    blob.SetUInt64(Name(key), value, index, std::string(kPlayDoc));
}

void WriteFloat(ObjectDataBlob& blob, const DataKey& key, float value, int32_t index)
{
    blob.SetFloat(Name(key), value, index, std::string(kPlayDoc));
}

void WriteInt64(ObjectDataBlob& blob, const DataKey& key, int64_t value, int32_t index)
{
    blob.SetInt64(Name(key), value, index, std::string(kPlayDoc));
}

void WriteString(ObjectDataBlob& blob, const DataKey& key, std::string value, int32_t index)
{
    blob.SetString(Name(key), std::move(value), index, std::string(kPlayDoc));
}
