// Payloads of the "signal" codes that carry world state beside the objects:
// nav points and nav proxies (16, 19), a ship's scan queue (92) and the side
// tables (105).

#include "game/net/SignalMessage.h"

#include "game/net/NetworkIds.h"
#include "game/world/FiniteMath.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace {

// Bytes of the uint64 0 that ends a list of records led by an id.
constexpr int32_t kListEndSize = 8;

template <typename Vector>
void WriteVector(QelNetworkMessage& message, const Vector& vector)
{
    for (typename Vector::length_type i = 0; i < Vector::length(); ++i)
        message.WriteFloat(vector[i]);
}

// Reads the components; false when one is missing or not a number.
template <typename Vector>
bool ReadVector(QelNetworkMessage& message, Vector& vector)
{
    for (typename Vector::length_type i = 0; i < Vector::length(); ++i)
        message.ReadInt32(vector[i]);
    return !message.IsBad() && AllFinite(vector);
}

// Reads int32 keys until a 0, each followed by what readEntry reads; false as
// soon as an entry is refused or the message ends first.
template <typename ReadEntry>
bool ReadKeyedList(QelNetworkMessage& message, ReadEntry readEntry)
{
    for (;;) {
        int32_t key = 0;
        message.ReadInt32(key);
        if (message.IsBad())
            return false;
        if (key == 0)
            return true;
        if (!readEntry(key))
            return false;
    }
}

}  // namespace

void WriteSignal(QelNetworkMessage& message, const NavPointSignal& signal)
{
    const Navpoint& point = signal.point;
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.id).WriteString(point.text);
    WriteVector(message, point.pos);
    WriteVector(message, point.color);
    message.WriteInt64(point.visibleToShip).WriteString(point.visibleToSide).WriteInt8(point.isArea ? 1 : 0);
    for (const glm::vec2& corner : point.corners)
        WriteVector(message, corner);
}

bool ReadSignal(QelNetworkMessage& message, NavPointSignal& signal)
{
    Navpoint& point = signal.point;
    uint8_t area = 0;
    message.ReadInt32(signal.id).ReadString(point.text);
    bool numbers = ReadVector(message, point.pos) && ReadVector(message, point.color);
    message.ReadInt64(point.visibleToShip).ReadString(point.visibleToSide).ReadInt8(area);
    for (glm::vec2& corner : point.corners)
        numbers = ReadVector(message, corner) && numbers;
    point.isArea = area != 0;
    return !message.IsBad() && numbers && signal.id != 0 && ShipIdFitsSignal(point.visibleToShip);
}

void WriteSignal(QelNetworkMessage& message, const NavProxySignal& signal)
{
    const NavProxy& proxy = signal.proxy;
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.id).WriteInt64(proxy.proxy_id).WriteString(proxy.text).WriteString(proxy.shiptype);
    WriteVector(message, proxy.pos);
    WriteVector(message, proxy.color);
}

bool ReadSignal(QelNetworkMessage& message, NavProxySignal& signal)
{
    NavProxy& proxy = signal.proxy;
    message.ReadInt32(signal.id).ReadInt64(proxy.proxy_id).ReadString(proxy.text).ReadString(proxy.shiptype);
    const bool numbers = ReadVector(message, proxy.pos) && ReadVector(message, proxy.color);
    // The proxy's id is only a label's key: any 64-bit value stands.
    return !message.IsBad() && numbers && signal.id != 0;
}

void WriteSignal(QelNetworkMessage& message, const ScanQueueSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    for (const ScanQueueEntry& entry : signal.entries) {
        const auto size = static_cast<int32_t>(8 + 2 + entry.scanType.size());
        if (message.BytesLeftToWrite() < size + kListEndSize)
            break;
        message.WriteInt64(entry.objectId).WriteString(entry.scanType);
    }
    message.WriteInt64(0);
}

bool ReadSignal(QelNetworkMessage& message, ScanQueueSignal& signal)
{
    signal.entries.clear();
    for (;;) {
        ScanQueueEntry entry;
        message.ReadInt64(entry.objectId);
        if (message.IsBad() || entry.objectId == 0)
            break;
        message.ReadString(entry.scanType);
        if (!IsSpaceObjectId(entry.objectId))
            return false;
        signal.entries.push_back(std::move(entry));
    }
    return !message.IsBad();
}

void WriteSignal(QelNetworkMessage& message, const IndexedTablesSignal& signal)
{
    const SideTables& tables = signal.tables;
    WriteSignalCode(message, signal.kCode);
    for (const auto& [key, colour] : tables.iconColours) {
        if (key == 0)
            continue;
        message.WriteInt32(key);
        WriteVector(message, colour);
    }
    message.WriteInt32(0);
    for (const auto& [key, index] : tables.iconIndexes)
        if (key != 0)
            message.WriteInt32(key).WriteInt32(index);
    message.WriteInt32(0);
    for (const auto& [first, row] : tables.relationships) {
        if (first == 0)
            continue;
        message.WriteInt32(first);
        for (const auto& [second, value] : row)
            if (second != 0)
                message.WriteInt32(second).WriteInt32(value);
        message.WriteInt32(0);
    }
    message.WriteInt32(0);
    for (const glm::vec4& colour : tables.diplomacyColours)
        WriteVector(message, colour);
}

bool ReadSignal(QelNetworkMessage& message, IndexedTablesSignal& signal)
{
    SideTables& tables = signal.tables;
    tables = SideTables{};
    const bool read =
        ReadKeyedList(message, [&](int32_t key) { return ReadVector(message, tables.iconColours[key]); }) &&
        ReadKeyedList(message, [&](int32_t key) {
            message.ReadInt32(tables.iconIndexes[key]);
            return !message.IsBad();
        }) &&
        ReadKeyedList(message, [&](int32_t first) {
            std::map<int32_t, int32_t>& row = tables.relationships[first];
            return ReadKeyedList(message, [&](int32_t second) {
                message.ReadInt32(row[second]);
                return !message.IsBad() && SideTables::IsDiplomacyValue(row[second]);
            });
        });
    if (!read)
        return false;
    for (glm::vec4& colour : tables.diplomacyColours)
        if (!ReadVector(message, colour))
            return false;
    return true;
}
