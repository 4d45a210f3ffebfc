#include "game/world/ObjectDataBlob.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/world/BlobDocRegistry.h"
#include "helper/GeneralUtils.h"

#include <utility>

// Every operation that names a tag creates its (empty) index map.
ObjectDataBlob::IndexMap& ObjectDataBlob::IndexesOf(const std::string& tag)
{
    return tags[HashMessageName(tag)];
}

ObjectDataBlobElement& ObjectDataBlob::Element(uint64_t tagKey, int32_t index)
{
    return tags[tagKey][index];
}

ObjectDataBlobElement* ObjectDataBlob::FindElement(uint64_t tagKey, int32_t index)
{
    return const_cast<ObjectDataBlobElement*>(std::as_const(*this).FindElement(tagKey, index));
}

const ObjectDataBlobElement* ObjectDataBlob::FindElement(uint64_t tagKey, int32_t index) const
{
    const auto tag = tags.find(tagKey);
    if (tag == tags.end())
        return nullptr;
    const auto element = tag->second.find(index);
    return element == tag->second.end() ? nullptr : &element->second;
}

int32_t ObjectDataBlob::IndexOfString(const std::string& index)
{
    return static_cast<int32_t>(Crc32String(index));
}

// Stores by key, then records the doc text under the tag's name.
template <typename Store>
uint64_t ObjectDataBlob::SetNamed(const std::string& tag, int32_t index, std::string doc, const char* typeName,
                                  Store store)
{
    const uint64_t key = HashMessageName(tag);
    store(Element(key, index));
    BlobDocRegistry::Record(tag, std::move(doc), typeName, index);
    return key;
}

uint64_t ObjectDataBlob::SetInt(std::string tag, int32_t value, int32_t index, std::string doc)
{
    return SetNamed(tag, index, std::move(doc), "int", [&](ObjectDataBlobElement& e) { e.StoreInt(value); });
}

uint64_t ObjectDataBlob::SetInt64(std::string tag, int64_t value, int32_t index, std::string doc)
{
    return SetNamed(tag, index, std::move(doc), "int64", [&](ObjectDataBlobElement& e) { e.StoreInt(value); });
}

uint64_t ObjectDataBlob::SetUInt64(std::string tag, uint64_t value, int32_t index, std::string doc)
{
    return SetNamed(tag, index, std::move(doc), "uint64", [&](ObjectDataBlobElement& e) { e.StoreUInt64(value); });
}

uint64_t ObjectDataBlob::SetFloat(std::string tag, float value, int32_t index, std::string doc)
{
    return SetNamed(tag, index, std::move(doc), "float", [&](ObjectDataBlobElement& e) { e.StoreFloat(value); });
}

uint64_t ObjectDataBlob::SetString(std::string tag, std::string value, int32_t index, std::string doc)
{
    return SetNamed(tag, index, std::move(doc), "string",
                    [&](ObjectDataBlobElement& e) { e.StoreString(std::move(value)); });
}

uint64_t ObjectDataBlob::SetIntByIndexString(std::string tag, int32_t value, std::string index, std::string doc)
{
    return SetInt(std::move(tag), value, IndexOfString(index), std::move(doc));
}

uint64_t ObjectDataBlob::SetInt64ByIndexString(std::string tag, int64_t value, std::string index, std::string doc)
{
    return SetInt64(std::move(tag), value, IndexOfString(index), std::move(doc));
}

uint64_t ObjectDataBlob::SetUInt64ByIndexString(std::string tag, uint64_t value, std::string index, std::string doc)
{
    return SetUInt64(std::move(tag), value, IndexOfString(index), std::move(doc));
}

uint64_t ObjectDataBlob::SetFloatByIndexString(std::string tag, float value, std::string index, std::string doc)
{
    return SetFloat(std::move(tag), value, IndexOfString(index), std::move(doc));
}

uint64_t ObjectDataBlob::SetStringByIndexString(std::string tag, std::string value, std::string index,
                                                std::string doc)
{
    return SetString(std::move(tag), std::move(value), IndexOfString(index), std::move(doc));
}

uint64_t ObjectDataBlob::SetIntById(uint64_t tagKey, int32_t value, int32_t index)
{
    Element(tagKey, index).StoreInt(value);
    return tagKey;
}

uint64_t ObjectDataBlob::SetInt64ById(uint64_t tagKey, int64_t value, int32_t index)
{
    Element(tagKey, index).StoreInt(value);
    return tagKey;
}

uint64_t ObjectDataBlob::SetUInt64ById(uint64_t tagKey, uint64_t value, int32_t index)
{
    Element(tagKey, index).StoreUInt64(value);
    return tagKey;
}

uint64_t ObjectDataBlob::SetFloatById(uint64_t tagKey, float value, int32_t index)
{
    Element(tagKey, index).StoreFloat(value);
    return tagKey;
}

uint64_t ObjectDataBlob::SetStringById(uint64_t tagKey, std::string value, int32_t index)
{
    Element(tagKey, index).StoreString(std::move(value));
    return tagKey;
}

ObjectDataBlobElement& ObjectDataBlob::GetElement(std::string tag, int32_t index)
{
    return IndexesOf(tag)[index];
}

ObjectDataBlobElement& ObjectDataBlob::GetElementByIndexString(std::string tag, std::string index)
{
    return IndexesOf(tag)[IndexOfString(index)];
}

int32_t ObjectDataBlob::NumElements(std::string tag)
{
    return static_cast<int32_t>(IndexesOf(tag).size());
}

void ObjectDataBlob::ClearData(std::string tag)
{
    IndexesOf(tag).clear();
}

ObjectDataBlobElement& ObjectDataBlob::GetElementById(uint64_t tagKey, int32_t index)
{
    return Element(tagKey, index);
}

ObjectDataBlobElement* ObjectDataBlob::First(const std::string& tag)
{
    walk = Walk{HashMessageName(tag), {}, 0};
    for (const auto& entry : IndexesOf(tag))
        walk.indexes.push_back(entry.first);
    return Next();
}

ObjectDataBlobElement* ObjectDataBlob::Next()
{
    const auto tag = tags.find(walk.tagKey);
    if (tag == tags.end())
        return nullptr;
    while (walk.next < walk.indexes.size()) {
        const auto element = tag->second.find(walk.indexes[walk.next++]);
        if (element != tag->second.end())
            return &element->second;
    }
    return nullptr;
}
