// Ship meshes a console lacks, fetched from the server: the server's outline
// and chunks of its own draw data, and the console's transfers that fill an
// empty copy of it, a chunk a frame, then store it, its textures and the
// ship's record in the data folder.

#include "game/render/manager/RenderManager.h"

#include "engine/base/QelBitmapFiles.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "game/net/CorvaneClient.h"
#include "game/world/ShipData.h"

#include <algorithm>
#include <cstdio>

namespace {

const char* const kMeshShader = "Redwood";
// Fetched meshes are stored where the type's own mesh would be, so the next
// run finds them there.
const char* const kShipMeshFolder = "ships/";
const char* const kMeshFileFolder = "data/graphics/";

// Names of a fetched unit's lists and textures, made from the art root.
std::string VertexListName(const std::string& root, size_t unit)
{
    return root + "_verts_" + std::to_string(unit);
}

std::string IndexListName(const std::string& root, size_t unit)
{
    return root + "_indexes_" + std::to_string(unit);
}

std::string TextureName(const std::string& root, size_t unit, size_t texture)
{
    return root + "_texture_" + std::to_string(unit) + "_" + std::to_string(texture);
}

AssetKind KindOf(const AssetTransfer& transfer)
{
    if (transfer.vertexList)
        return AssetKind::Vertices;
    return transfer.indexList ? AssetKind::Indices : AssetKind::Texture;
}

// The items the transfer's target holds: its own count, not the outline's.
int64_t TargetItems(const AssetTransfer& transfer)
{
    if (transfer.vertexList)
        return transfer.vertexList->GetCount();
    if (transfer.indexList)
        return transfer.indexList->GetCount();
    return int64_t{transfer.bitmap->GetWidth()} * transfer.bitmap->GetHeight();
}

int32_t Percent(int32_t part, int64_t whole)
{
    return whole > 0 ? static_cast<int32_t>(int64_t{100} * part / whole) : 100;
}

QelVertexList& SizedVertexList(QelGraphicsFactoryBase& graphics, const std::string& name, int32_t count)
{
    QelVertexList* list = graphics.GetVertList(name, count, false);
    if (list->GetCount() != count)
        list->Resize(count);
    return *list;
}

QelIndexList& SizedIndexList(QelGraphicsFactoryBase& graphics, const std::string& name, int32_t count)
{
    QelIndexList* list = graphics.GetIndexList(name, count);
    if (list->GetCount() != count)
        list->Resize(count);
    return *list;
}

// A texture of the name made earlier at another size is made again.
Qel2dBitmap& SizedBitmap(QelGraphicsFactoryBase& graphics, const std::string& name, int32_t width, int32_t height)
{
    Qel2dBitmap* held = graphics.Find2DBitmap(name);
    if (held && (held->GetWidth() != width || held->GetHeight() != height))
        graphics.Delete2DBitmap(name);
    return *graphics.GetRenderTarget(name, width, height, false);
}

void WriteItems(AssetTransfer& transfer, const AssetDataSignal& chunk)
{
    const auto first = static_cast<int32_t>(chunk.first);
    for (size_t i = 0; i < chunk.vertices.size(); ++i)
        transfer.vertexList->SetVertex(first + static_cast<int32_t>(i), chunk.vertices[i]);
    for (size_t i = 0; i < chunk.indices.size(); ++i)
        transfer.indexList->SetIndex(first + static_cast<int32_t>(i), chunk.indices[i]);
    const int32_t width = transfer.bitmap ? transfer.bitmap->GetWidth() : 1;
    for (size_t i = 0; i < chunk.pixels.size(); ++i) {
        const int32_t item = first + static_cast<int32_t>(i);
        const std::array<float, 4>& pixel = chunk.pixels[i];
        transfer.bitmap->SetPixel(item % width, item / width, pixel[0], pixel[1], pixel[2], pixel[3]);
    }
}

// A mesh of that name in the data folder, as an OBJ file or its cache.
bool MeshFileExists(const std::string& name)
{
    const QelFileServices& files = QelFileServices::Instance();
    const std::string base = kMeshFileFolder + name;
    return files.FileExists(base + ".obj") || files.FileExists(base + ".qelmesh");
}

// A fetched texture goes where the texture loader looks first; one of the
// name found there already is the console's own and stays.
bool StoreTexture(QelGraphicsFactoryBase& graphics, const std::string& name)
{
    if (FindBitmapFile(name, false))
        return true;
    Qel2dBitmap* bitmap = graphics.Find2DBitmap(name);
    const std::optional<std::string> path = BitmapSavePath(name);
    return bitmap && path && QelFileServices::Instance().MakeFolderFor(*path + ".png") && bitmap->SavePNG(*path);
}

// A ship type fetched whole is kept in the data folder where the next start
// looks for it: its textures, then its mesh, and last its record, which is
// what spares the next start a request; so a type whose art could not be
// stored is asked for again. Each file is written whole under another name
// and renamed, so a failed write leaves no part of one behind.
void StoreFetchedType(const std::string& shipKey, const std::string& artRoot, const QEL3DObject& mesh,
                      QelGraphicsFactoryBase& graphics)
{
    for (const QEL3DDrawUnit& unit : mesh.units)
        for (const std::string& texture : unit.textureNames)
            if (!StoreTexture(graphics, texture)) {
                std::fprintf(stderr, "Ship type %s: the texture %s received cannot be stored; it is fetched again "
                                     "next time.\n", shipKey.c_str(), texture.c_str());
                return;
            }
    const std::string meshName = kShipMeshFolder + artRoot;
    if (!MeshFileExists(meshName) && !graphics.Save3DMesh("", meshName, mesh)) {
        std::fprintf(stderr, "Ship type %s: the mesh received cannot be stored as %s; it is fetched again next time.\n",
                     shipKey.c_str(), meshName.c_str());
        return;
    }
    // The record names the stored art only when it has the outline's root.
    ShipData& ships = ShipData::Instance();
    const ShipDataRecord* record = ships.FindDefined(shipKey);
    if (record && record->artFileRoot == artRoot)
        ships.StoreReceivedRecord(shipKey);
}

}  // namespace

bool RenderManager::DescribeDrawData(const std::string& shipKey, DrawDataOutlineSignal& outline)
{
    const ShipDataRecord* record = ShipData::Instance().FindDefined(shipKey);
    const ObjectTypeDrawData* drawData = record ? GetObjectTypeDrawData(shipKey) : nullptr;
    if (!drawData || !drawData->mesh || drawData->mesh->units.empty() ||
        drawData->mesh->units.size() > static_cast<size_t>(kMaxAssetUnits))
        return false;
    outline.shipKey = shipKey;
    outline.artRoot = record->artFileRoot;
    for (const QEL3DDrawUnit& unit : drawData->mesh->units) {
        DrawDataOutlineSignal::Unit& described = outline.units.emplace_back();
        described.name = unit.shaderName;
        described.vertexCount = unit.Vertices() ? unit.Vertices()->GetCount() : 0;
        described.indexCount = unit.IndexList(0) ? unit.IndexList(0)->GetCount() : 0;
        for (const std::string& name : unit.textureNames) {
            Qel2dBitmap* bitmap = GraphicsService().Load2DBitmap(name);
            described.textures.push_back({bitmap ? bitmap->GetWidth() : 0, bitmap ? bitmap->GetHeight() : 0});
        }
    }
    return true;
}

bool RenderManager::ReadAssetItems(const AssetDataRequestSignal& request, AssetDataSignal& answer)
{
    const auto found = drawDataMap.find(request.shipKey);
    if (found == drawDataMap.end() || !found->second->mesh)
        return false;
    const std::vector<QEL3DDrawUnit>& units = found->second->mesh->units;
    if (request.unitIndex >= units.size())
        return true;
    const QEL3DDrawUnit& unit = units[request.unitIndex];
    const int64_t first = request.first, end = first + request.count;
    switch (static_cast<AssetKind>(request.kind)) {
    case AssetKind::Vertices:
        if (QelVertexList* list = unit.Vertices(); list && end <= list->GetCount())
            for (int64_t i = first; i < end; ++i)
                answer.vertices.push_back(list->GetVertex(static_cast<int>(i)));
        break;
    case AssetKind::Indices:
        if (QelIndexList* list = unit.IndexList(0); list && end <= list->GetCount())
            for (int64_t i = first; i < end; ++i)
                answer.indices.push_back(list->GetIndex(static_cast<int>(i)));
        break;
    case AssetKind::Texture: {
        Qel2dBitmap* bitmap = request.textureIndex < unit.textureNames.size()
                                  ? GraphicsService().Load2DBitmap(unit.textureNames[request.textureIndex])
                                  : nullptr;
        if (!bitmap || end > int64_t{bitmap->GetWidth()} * bitmap->GetHeight())
            break;
        for (int64_t i = first; i < end; ++i) {
            std::array<float, 4>& pixel = answer.pixels.emplace_back();
            bitmap->GetPixel(static_cast<int>(i % bitmap->GetWidth()), static_cast<int>(i / bitmap->GetWidth()),
                             pixel[0], pixel[1], pixel[2], pixel[3]);
        }
        break;
    }
    }
    return true;
}

// Lists and textures of no items are complete as announced: they are not
// made at all (the graphics service holds no empty list; a unit without
// lists draws nothing, a missing texture draws white), nor fetched.
void RenderManager::ApplyDrawDataOutline(const DrawDataOutlineSignal& outline)
{
    QelGraphicsFactoryBase& graphics = GraphicsService();
    std::erase_if(assetTransfers, [&](const AssetTransfer& held) { return held.shipKey == outline.shipKey; });
    std::unique_ptr<ObjectTypeDrawData>& entry = drawDataMap[outline.shipKey];
    if (!entry)
        entry = std::make_unique<ObjectTypeDrawData>();
    entry->ResetForTransfer();
    graphics.GetShader(kMeshShader);
    for (size_t n = 0; n < outline.units.size(); ++n) {
        const DrawDataOutlineSignal::Unit& described = outline.units[n];
        QEL3DDrawUnit unit(&graphics);
        // A shader this console does not have would draw nothing.
        unit.shaderName = graphics.KnowsShader(described.name) ? described.name : kMeshShader;
        AssetTransfer base{outline.shipKey, outline.artRoot, static_cast<uint32_t>(n)};
        if (described.vertexCount > 0) {
            unit.vertListNames.push_back(VertexListName(outline.artRoot, n));
            AssetTransfer vertices = base;
            vertices.vertexList = &SizedVertexList(graphics, unit.vertListNames.back(), described.vertexCount);
            vertices.itemCount = described.vertexCount;
            Queue(vertices);
        }
        if (described.indexCount > 0) {
            unit.indexListNames.push_back(IndexListName(outline.artRoot, n));
            AssetTransfer indices = base;
            indices.indexList = &SizedIndexList(graphics, unit.indexListNames.back(), described.indexCount);
            indices.itemCount = described.indexCount;
            Queue(indices);
        }
        for (size_t i = 0; i < described.textures.size(); ++i) {
            const DrawDataOutlineSignal::Texture& texture = described.textures[i];
            if (texture.width == 0 || texture.height == 0)
                continue;
            unit.textureNames.push_back(TextureName(outline.artRoot, n, i));
            AssetTransfer pixels = base;
            pixels.textureIndex = static_cast<uint32_t>(i);
            pixels.bitmap = &SizedBitmap(graphics, unit.textureNames.back(), texture.width, texture.height);
            pixels.bitmapWidth = texture.width;
            pixels.bitmapHeight = texture.height;
            Queue(pixels);
        }
        entry->mesh->units.push_back(std::move(unit));
    }
}

void RenderManager::Queue(AssetTransfer transfer)
{
    transfer.transferId = nextTransferId++;
    assetTransfers.push_back(std::move(transfer));
}

// Indices name vertices of their own unit: one past its vertex list would
// have the graphics card read outside the buffer.
bool RenderManager::IndicesInsideUnit(const AssetTransfer& transfer, const AssetDataSignal& chunk)
{
    if (chunk.indices.empty())
        return true;
    const QEL3DObject* mesh = GetObjectTypeDrawData(transfer.shipKey)->mesh.get();
    QelVertexList* vertices =
        mesh && transfer.unitIndex < mesh->units.size() ? mesh->units[transfer.unitIndex].Vertices() : nullptr;
    const auto vertexCount = static_cast<uint32_t>(vertices ? vertices->GetCount() : 0);
    return std::all_of(chunk.indices.begin(), chunk.indices.end(), [&](uint32_t index) { return index < vertexCount; });
}

void RenderManager::OfferAssetTransfers()
{
    if (Client() && Client()->AssetTransfers() == nullptr)
        Client()->SetAssetTransfers(this);
}

void RenderManager::RequestNextAssetChunk()
{
    const auto next = std::find_if(assetTransfers.begin(), assetTransfers.end(),
                                   [](const AssetTransfer& held) { return held.allRequested != 1; });
    if (next != assetTransfers.end() && IsClientConnected())
        RequestAssetData(*next);
}

void RenderManager::RequestAssetData(AssetTransfer& transfer)
{
    const AssetKind kind = KindOf(transfer);
    const int64_t chunk = AssetChunkItems(kind);
    const int64_t first = transfer.requestCount * chunk;
    int64_t count = chunk;
    if (TargetItems(transfer) - first < chunk) {
        count = std::max<int64_t>(TargetItems(transfer) - first, 0);
        transfer.allRequested = 1;
    }
    ++transfer.requestCount;
    WriteSignal(StartClientMessage("signal"),
                AssetDataRequestSignal{transfer.transferId, transfer.shipKey, transfer.unitIndex,
                                       transfer.textureIndex, static_cast<uint32_t>(kind),
                                       static_cast<uint32_t>(first), static_cast<uint32_t>(count)});
    SendClientMessage();
}

bool RenderManager::ProcessAssetDataMessage(QelNetworkMessage& message)
{
    AssetDataSignal chunk;
    uint32_t count = 0;
    if (!ReadAssetDataHeader(message, chunk, count))
        return false;
    const auto found = std::find_if(assetTransfers.begin(), assetTransfers.end(),
                                    [&](const AssetTransfer& held) { return held.transferId == chunk.transferId; });
    if (found == assetTransfers.end())
        return true;
    AssetTransfer& transfer = *found;
    const int64_t total = TargetItems(transfer);
    if (!ReadAssetDataItems(message, KindOf(transfer), count, chunk) || int64_t{chunk.first} + count > total ||
        !IndicesInsideUnit(transfer, chunk))
        return false;

    transfer.highestChunkStart = std::max(transfer.highestChunkStart, static_cast<int32_t>(chunk.first));
    transfer.progressPercent = Percent(transfer.highestChunkStart, total);
    WriteItems(transfer, chunk);
    if (int64_t{chunk.first} + count < total)
        return true;

    const AssetTransfer done = transfer;
    assetTransfers.erase(found);
    ObjectTypeDrawData& drawData = *GetObjectTypeDrawData(done.shipKey);
    if (done.indexList)
        drawData.RebuildFromMesh(done.shipKey, GraphicsService());
    const bool typeComplete = std::none_of(assetTransfers.begin(), assetTransfers.end(),
                                           [&](const AssetTransfer& held) { return held.shipKey == done.shipKey; });
    if (typeComplete && drawData.mesh)
        StoreFetchedType(done.shipKey, done.artRoot, *drawData.mesh, GraphicsService());
    return true;
}
