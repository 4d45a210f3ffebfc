#include "game/net/AssetTransferSignals.h"

#include "engine/base/QelDataFolder.h"

#include <cmath>
#include <cstring>

namespace {

// Bytes of one item on the wire.
constexpr int32_t kVertexBytes = 24 * 4;
constexpr int32_t kPixelBytes = 4 * 4;
constexpr int32_t kIndexBytes = 4;

bool InRange(int32_t value, int32_t highest)
{
    return value >= 0 && value <= highest;
}

bool ReadOutlineTexture(QelNetworkMessage& message, DrawDataOutlineSignal::Texture& texture)
{
    message.ReadInt32(texture.width).ReadInt32(texture.height);
    return !message.IsBad() && InRange(texture.width, kMaxAssetTextureSide) &&
           InRange(texture.height, kMaxAssetTextureSide);
}

bool ReadOutlineUnit(QelNetworkMessage& message, DrawDataOutlineSignal::Unit& unit)
{
    int32_t textureCount = 0;
    message.ReadString(unit.name).ReadInt32(unit.vertexCount).ReadInt32(unit.indexCount).ReadInt32(textureCount);
    if (message.IsBad() || !InRange(unit.vertexCount, kMaxAssetVertices) ||
        !InRange(unit.indexCount, kMaxAssetIndices) || !InRange(textureCount, kMaxAssetTexturesPerUnit))
        return false;
    unit.textures.resize(static_cast<size_t>(textureCount));
    for (DrawDataOutlineSignal::Texture& texture : unit.textures)
        if (!ReadOutlineTexture(message, texture))
            return false;
    return true;
}

bool WithinMeshCaps(const DrawDataOutlineSignal& outline)
{
    int64_t vertices = 0, indices = 0, pixels = 0;
    for (const DrawDataOutlineSignal::Unit& unit : outline.units) {
        vertices += unit.vertexCount;
        indices += unit.indexCount;
        for (const DrawDataOutlineSignal::Texture& texture : unit.textures)
            pixels += int64_t{texture.width} * texture.height;
    }
    return vertices <= kMaxAssetVertices && indices <= kMaxAssetIndices && pixels <= kMaxAssetPixels;
}

bool ReadFinite(QelNetworkMessage& message, float& value)
{
    message.ReadInt32(value);
    return !message.IsBad() && std::isfinite(value);
}

// A vertex record is its 24 floats in wire order.
using VertexValues = std::array<float, kVertexBytes / 4>;

bool ReadVertex(QelNetworkMessage& message, QelVertexRecord& vertex)
{
    VertexValues values{};
    for (float& value : values)
        if (!ReadFinite(message, value))
            return false;
    std::memcpy(&vertex, values.data(), sizeof vertex);
    return true;
}

void WriteVertex(QelNetworkMessage& message, const QelVertexRecord& vertex)
{
    VertexValues values{};
    std::memcpy(values.data(), &vertex, sizeof vertex);
    for (float value : values)
        message.WriteFloat(value);
}

bool ReadPixel(QelNetworkMessage& message, std::array<float, 4>& pixel)
{
    for (float& channel : pixel)
        if (!ReadFinite(message, channel) || channel < 0.0f || channel > 1.0f)
            return false;
    return true;
}

int32_t ItemBytes(AssetKind kind)
{
    switch (kind) {
    case AssetKind::Vertices: return kVertexBytes;
    case AssetKind::Indices: return kIndexBytes;
    case AssetKind::Texture: return kPixelBytes;
    }
    return 0;
}

}  // namespace

static_assert(sizeof(QelVertexRecord) == kVertexBytes, "a vertex travels as the 24 floats of its record");

uint32_t AssetChunkItems(AssetKind kind)
{
    switch (kind) {
    case AssetKind::Vertices: return kAssetChunkVertices;
    case AssetKind::Indices: return kAssetChunkIndices;
    case AssetKind::Texture: return kAssetChunkPixels;
    }
    return 0;
}

uint32_t AssetDataSignal::Count() const
{
    return static_cast<uint32_t>(vertices.size() + indices.size() + pixels.size());
}

void WriteSignal(QelNetworkMessage& message, const DrawDataOutlineSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.shipKey).WriteString(signal.artRoot);
    message.WriteInt32(static_cast<int32_t>(signal.units.size()));
    for (const DrawDataOutlineSignal::Unit& unit : signal.units) {
        message.WriteString(unit.name).WriteInt32(unit.vertexCount).WriteInt32(unit.indexCount);
        message.WriteInt32(static_cast<int32_t>(unit.textures.size()));
        for (const DrawDataOutlineSignal::Texture& texture : unit.textures)
            message.WriteInt32(texture.width).WriteInt32(texture.height);
    }
}

void WriteSignal(QelNetworkMessage& message, const AssetDataRequestSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(static_cast<int32_t>(signal.transferId)).WriteString(signal.shipKey);
    for (uint32_t value : {signal.unitIndex, signal.textureIndex, signal.kind, signal.first, signal.count})
        message.WriteInt32(static_cast<int32_t>(value));
}

void WriteSignal(QelNetworkMessage& message, const AssetDataSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    for (uint32_t value : {signal.transferId, signal.first, signal.Count()})
        message.WriteInt32(static_cast<int32_t>(value));
    for (const QelVertexRecord& vertex : signal.vertices)
        WriteVertex(message, vertex);
    for (uint32_t index : signal.indices)
        message.WriteInt32(static_cast<int32_t>(index));
    for (const std::array<float, 4>& pixel : signal.pixels)
        for (float channel : pixel)
            message.WriteFloat(channel);
}

bool ReadSignal(QelNetworkMessage& message, DrawDataOutlineSignal& signal)
{
    int32_t unitCount = 0;
    message.ReadString(signal.shipKey).ReadString(signal.artRoot).ReadInt32(unitCount);
    if (message.IsBad() || signal.shipKey.empty() || signal.artRoot.empty() || !qel::CheckDataName(signal.artRoot) ||
        !InRange(unitCount, kMaxAssetUnits))
        return false;
    signal.units.resize(static_cast<size_t>(unitCount));
    for (DrawDataOutlineSignal::Unit& unit : signal.units)
        if (!ReadOutlineUnit(message, unit))
            return false;
    return WithinMeshCaps(signal);
}

bool ReadSignal(QelNetworkMessage& message, AssetDataRequestSignal& signal)
{
    message.ReadInt32(signal.transferId).ReadString(signal.shipKey);
    message.ReadInt32(signal.unitIndex).ReadInt32(signal.textureIndex).ReadInt32(signal.kind);
    message.ReadInt32(signal.first).ReadInt32(signal.count);
    if (message.IsBad() || signal.shipKey.empty())
        return false;
    const uint32_t chunk = AssetChunkItems(static_cast<AssetKind>(signal.kind));
    return chunk == 0 || signal.count <= chunk;  // other kinds are answered with the header alone
}

bool ReadAssetDataHeader(QelNetworkMessage& message, AssetDataSignal& signal, uint32_t& count)
{
    message.ReadInt32(signal.transferId).ReadInt32(signal.first).ReadInt32(count);
    return !message.IsBad();
}

bool ReadAssetDataItems(QelNetworkMessage& message, AssetKind kind, uint32_t count, AssetDataSignal& signal)
{
    if (count > AssetChunkItems(kind) || message.BytesLeftToRead() != static_cast<int32_t>(count) * ItemBytes(kind))
        return false;
    switch (kind) {
    case AssetKind::Vertices:
        signal.vertices.resize(count);
        for (QelVertexRecord& vertex : signal.vertices)
            if (!ReadVertex(message, vertex))
                return false;
        break;
    case AssetKind::Indices:
        signal.indices.resize(count);
        for (uint32_t& index : signal.indices)
            message.ReadInt32(index);
        break;
    case AssetKind::Texture:
        signal.pixels.resize(count);
        for (std::array<float, 4>& pixel : signal.pixels)
            if (!ReadPixel(message, pixel))
                return false;
        break;
    }
    return !message.IsBad();
}
