#include "game/world/ObjectDataBlob.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/world/BlobDocRegistry.h"
#include "helper/GeneralUtils.h"
#include "helper/QelAssert.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// The hash table is kept at most half full, so a probe seldom goes past its
// first slot, and starts at this size, enough for a small set.
constexpr size_t kRowIndexLoadDivisor = 2;
constexpr size_t kRowIndexFirstSize = 16;
// Spreads the index over the table; the tag keys are hashes already.
constexpr uint64_t kIndexSpread = 0x9E3779B97F4A7C15ull;

}  // namespace

int32_t ObjectDataBlob::IndexOfString(std::string_view index)
{
    return static_cast<int32_t>(Crc32String(index));
}

size_t ObjectDataBlob::TagPosition(uint64_t tagKey) const
{
    const auto found =
        std::lower_bound(tags.begin(), tags.end(), tagKey, [](const Tag& tag, uint64_t key) { return tag.key < key; });
    return static_cast<size_t>(found - tags.begin());
}

bool ObjectDataBlob::HasTag(uint64_t tagKey) const
{
    const size_t position = TagPosition(tagKey);
    return position < tags.size() && tags[position].key == tagKey;
}

// Every operation that names a tag creates its (empty) entry.
size_t ObjectDataBlob::TagOf(uint64_t tagKey)
{
    const size_t position = TagPosition(tagKey);
    if (position < tags.size() && tags[position].key == tagKey)
        return position;
    const uint32_t first = position < tags.size() ? tags[position].first : static_cast<uint32_t>(order.size());
    tags.insert(tags.begin() + static_cast<std::ptrdiff_t>(position), Tag{tagKey, first, 0});
    return position;
}

// The first place in the tag's slice of the order whose index is not below
// the given one.
uint32_t ObjectDataBlob::SlotOf(const Tag& tag, int32_t index) const
{
    const auto begin = order.begin() + tag.first;
    const auto found = std::lower_bound(begin, begin + tag.count, index,
                                        [this](uint32_t row, int32_t wanted) { return rows[row].index < wanted; });
    return static_cast<uint32_t>(found - order.begin());
}

const ObjectDataBlob::Row* ObjectDataBlob::FindRow(uint64_t tagKey, int32_t index) const
{
    if (rowIndex.empty())
        return nullptr;
    const uint32_t hash = HashOf(tagKey, index);
    const size_t mask = rowIndex.size() - 1;
    for (size_t slot = hash & mask; rowIndex[slot].row != 0; slot = (slot + 1) & mask) {
        if (rowIndex[slot].hash != hash)
            continue;
        const Row& row = rows[rowIndex[slot].row - 1];
        if (row.tagKey == tagKey && row.index == index)
            return &row;
    }
    return nullptr;
}

uint32_t ObjectDataBlob::HashOf(uint64_t tagKey, int32_t index)
{
    const uint64_t mixed = (tagKey ^ static_cast<uint32_t>(index)) * kIndexSpread;
    return static_cast<uint32_t>(mixed >> 32);
}

// Files a new row in the hash table, doubling the table first when it would
// be more than half full.
void ObjectDataBlob::IndexRow(uint32_t row)
{
    if (rows.size() * kRowIndexLoadDivisor > rowIndex.size())
        RebuildRowIndex();
    else
        FileRow(row);
}

// Sized for the rows there are, each filed again; rows removed leave none
// behind.
void ObjectDataBlob::RebuildRowIndex()
{
    size_t size = kRowIndexFirstSize;
    while (size < rows.size() * kRowIndexLoadDivisor)
        size *= 2;
    rowIndex.assign(size, Slot{0, 0});
    for (uint32_t row = 0; row < rows.size(); ++row)
        FileRow(row);
}

// In the first free slot from the row's own, which the table has.
void ObjectDataBlob::FileRow(uint32_t row)
{
    const uint32_t hash = HashOf(rows[row].tagKey, rows[row].index);
    const size_t mask = rowIndex.size() - 1;
    size_t slot = hash & mask;
    while (rowIndex[slot].row != 0)
        slot = (slot + 1) & mask;
    rowIndex[slot] = Slot{hash, row + 1};
}

// The slots first, all of them, then the rows the slots lead to: each round's
// loads overlap one another.
void ObjectDataBlob::Prefetch(std::initializer_list<KeyIndex> keys) const
{
    if (rowIndex.empty())
        return;
    const size_t mask = rowIndex.size() - 1;
    for (const KeyIndex& key : keys)
        __builtin_prefetch(&rowIndex[HashOf(key.tagKey, key.index) & mask]);
    for (const KeyIndex& key : keys) {
        const uint32_t hash = HashOf(key.tagKey, key.index);
        for (size_t slot = hash & mask; rowIndex[slot].row != 0; slot = (slot + 1) & mask) {
            if (rowIndex[slot].hash == hash) {
                __builtin_prefetch(&rows[rowIndex[slot].row - 1]);
                break;
            }
        }
    }
}

ObjectDataBlobElement* ObjectDataBlob::FindElement(uint64_t tagKey, int32_t index)
{
    return const_cast<ObjectDataBlobElement*>(std::as_const(*this).FindElement(tagKey, index));
}

const ObjectDataBlobElement* ObjectDataBlob::FindElement(uint64_t tagKey, int32_t index) const
{
    const Row* row = FindRow(tagKey, index);
    return row ? &row->element : nullptr;
}

// The element, made in its place in the tag's ascending indexes when missing.
ObjectDataBlobElement& ObjectDataBlob::Element(uint64_t tagKey, int32_t index)
{
    if (const Row* row = FindRow(tagKey, index))
        return const_cast<Row*>(row)->element;
    const size_t position = TagOf(tagKey);
    Tag& tag = tags[position];
    const uint32_t slot = SlotOf(tag, index);
    // The hash table holds row numbers + 1.
    QEL_ASSERT(rows.size() < std::numeric_limits<uint32_t>::max() - 1, "a data set holds fewer than 2^32 - 1 elements");
    rows.push_back({tagKey, index, {}});
    const auto row = static_cast<uint32_t>(rows.size() - 1);
    order.insert(order.begin() + slot, row);
    ++tag.count;
    for (size_t later = position + 1; later < tags.size(); ++later)
        ++tags[later].first;
    IndexRow(row);
    return rows.back().element;
}

int32_t ObjectDataBlob::CountElements(uint64_t tagKey) const
{
    const size_t position = TagPosition(tagKey);
    return position < tags.size() && tags[position].key == tagKey ? static_cast<int32_t>(tags[position].count) : 0;
}

// Stores by key, then records the doc text under the tag's name.
template <typename Store>
uint64_t ObjectDataBlob::SetNamed(std::string_view tag, int32_t index, std::string_view doc, const char* typeName,
                                  Store store)
{
    const uint64_t key = HashMessageName(tag);
    store(Element(key, index), ChangeTick());
    BlobDocRegistry::Record(key, tag, doc, typeName, index);
    return key;
}

uint64_t ObjectDataBlob::SetInt(std::string_view tag, int32_t value, int32_t index, std::string_view doc)
{
    return SetNamed(tag, index, doc, BlobDocRegistry::kInt,
                    [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreInt(value, tick); });
}

uint64_t ObjectDataBlob::SetInt64(std::string_view tag, int64_t value, int32_t index, std::string_view doc)
{
    return SetNamed(tag, index, doc, BlobDocRegistry::kInt64,
                    [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreInt(value, tick); });
}

uint64_t ObjectDataBlob::SetUInt64(std::string_view tag, uint64_t value, int32_t index, std::string_view doc)
{
    return SetNamed(tag, index, doc, BlobDocRegistry::kUInt64,
                    [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreUInt64(value, tick); });
}

uint64_t ObjectDataBlob::SetFloat(std::string_view tag, float value, int32_t index, std::string_view doc)
{
    return SetNamed(tag, index, doc, BlobDocRegistry::kFloat,
                    [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreFloat(value, tick); });
}

uint64_t ObjectDataBlob::SetString(std::string_view tag, std::string value, int32_t index, std::string_view doc)
{
    return SetNamed(tag, index, doc, BlobDocRegistry::kString,
                    [&](ObjectDataBlobElement& e, int64_t tick) { e.StoreString(std::move(value), tick); });
}

uint64_t ObjectDataBlob::SetIntByIndexString(std::string_view tag, int32_t value, std::string_view index,
                                             std::string_view doc)
{
    return SetInt(tag, value, IndexOfString(index), doc);
}

uint64_t ObjectDataBlob::SetInt64ByIndexString(std::string_view tag, int64_t value, std::string_view index,
                                               std::string_view doc)
{
    return SetInt64(tag, value, IndexOfString(index), doc);
}

uint64_t ObjectDataBlob::SetUInt64ByIndexString(std::string_view tag, uint64_t value, std::string_view index,
                                                std::string_view doc)
{
    return SetUInt64(tag, value, IndexOfString(index), doc);
}

uint64_t ObjectDataBlob::SetFloatByIndexString(std::string_view tag, float value, std::string_view index,
                                               std::string_view doc)
{
    return SetFloat(tag, value, IndexOfString(index), doc);
}

uint64_t ObjectDataBlob::SetStringByIndexString(std::string_view tag, std::string value, std::string_view index,
                                                std::string_view doc)
{
    return SetString(tag, std::move(value), IndexOfString(index), doc);
}

uint64_t ObjectDataBlob::SetIntById(uint64_t tagKey, int32_t value, int32_t index)
{
    Element(tagKey, index).StoreInt(value, ChangeTick());
    return tagKey;
}

uint64_t ObjectDataBlob::SetInt64ById(uint64_t tagKey, int64_t value, int32_t index)
{
    Element(tagKey, index).StoreInt(value, ChangeTick());
    return tagKey;
}

uint64_t ObjectDataBlob::SetUInt64ById(uint64_t tagKey, uint64_t value, int32_t index)
{
    Element(tagKey, index).StoreUInt64(value, ChangeTick());
    return tagKey;
}

uint64_t ObjectDataBlob::SetFloatById(uint64_t tagKey, float value, int32_t index)
{
    Element(tagKey, index).StoreFloat(value, ChangeTick());
    return tagKey;
}

uint64_t ObjectDataBlob::SetStringById(uint64_t tagKey, std::string value, int32_t index)
{
    Element(tagKey, index).StoreString(std::move(value), ChangeTick());
    return tagKey;
}

ObjectDataBlobElement& ObjectDataBlob::GetElement(std::string_view tag, int32_t index)
{
    return Element(HashMessageName(tag), index);
}

ObjectDataBlobElement& ObjectDataBlob::GetElementByIndexString(std::string_view tag, std::string_view index)
{
    return Element(HashMessageName(tag), IndexOfString(index));
}

ObjectDataBlobElement& ObjectDataBlob::GetElementById(uint64_t tagKey, int32_t index)
{
    return Element(tagKey, index);
}

int32_t ObjectDataBlob::NumElements(std::string_view tag)
{
    return static_cast<int32_t>(tags[TagOf(HashMessageName(tag))].count);
}

// The tag's rows go and every later row moves down to close the gap; the
// row numbers in the order follow them.
void ObjectDataBlob::ClearData(std::string_view tag)
{
    const uint64_t key = HashMessageName(tag);
    const size_t position = TagOf(key);
    const uint32_t removed = tags[position].count;
    if (removed == 0)
        return;
    std::vector<uint32_t> renumbered(rows.size());
    uint32_t kept = 0;
    for (uint32_t row = 0; row < rows.size(); ++row) {
        if (rows[row].tagKey == key)
            continue;
        renumbered[row] = kept;
        if (kept != row)
            rows[kept] = std::move(rows[row]);
        ++kept;
    }
    rows.resize(kept);
    const auto slice = order.begin() + tags[position].first;
    order.erase(slice, slice + removed);
    for (uint32_t& row : order)
        row = renumbered[row];
    tags[position].count = 0;
    for (size_t later = position + 1; later < tags.size(); ++later)
        tags[later].first -= removed;
    RebuildRowIndex();
}

ObjectDataBlobElement* ObjectDataBlob::First(std::string_view tag)
{
    const uint64_t key = HashMessageName(tag);
    walk = Walk{key, {}, 0};
    const Tag& entry = tags[TagOf(key)];
    for (uint32_t i = entry.first; i < entry.first + entry.count; ++i)
        walk.indexes.push_back(rows[order[i]].index);
    return Next();
}

ObjectDataBlobElement* ObjectDataBlob::Next()
{
    while (walk.next < walk.indexes.size())
        if (ObjectDataBlobElement* element = FindElement(walk.tagKey, walk.indexes[walk.next++]))
            return element;
    return nullptr;
}
