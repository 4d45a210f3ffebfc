// The render manager's two ends of the asset transfer, without a network:
// the server's outline and chunks of its own draw data, and a console's
// transfers filling an empty copy from them. The requests themselves and the
// whole exchange over sockets are in loopback/AssetTransferLoopbackTest.cpp.

#include "game/render/manager/RenderManager.h"

#include "engine/base/QelFileServices.h"
#include "game/world/AppData.h"
#include "tests/game/render/manager/ServedShipMesh.h"
#include "tests/support/AuthoredHull.h"
#include "tests/support/QuietGraphics.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

using qeltest::ServedMeshSize;

const std::string kKey = "test_hull";

class AssetTransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppData::Load();  // before the data folder moves to the test's own
        gGraphicsFactory = &graphics;
        dataFolder = std::make_unique<qeltest::ScopedEnv>("QEL_DATA_DIR", folder.Path().string());
        source = std::make_unique<RenderManager>(StayingScene);
        console = std::make_unique<RenderManager>(StayingScene);
        qeltest::ServeShipMesh(*source, kKey);
    }
    void TearDown() override
    {
        console.reset();
        source.reset();
        gGraphicsFactory = nullptr;
    }

    DrawDataOutlineSignal Outline()
    {
        DrawDataOutlineSignal outline;
        EXPECT_TRUE(source->DescribeDrawData(kKey, outline));
        return outline;
    }

    // The source's answer to the request, as the console receives it (read
    // up to its payload).
    void Answer(QelNetworkMessage& message, const AssetTransfer& transfer, uint32_t first, uint32_t count)
    {
        const AssetKind kind = transfer.vertexList ? AssetKind::Vertices
                               : transfer.indexList ? AssetKind::Indices
                                                    : AssetKind::Texture;
        const AssetDataRequestSignal request{transfer.transferId, kKey, transfer.unitIndex, transfer.textureIndex,
                                            static_cast<uint32_t>(kind), first, count};
        AssetDataSignal answer;
        answer.transferId = request.transferId;
        answer.first = first;
        ASSERT_TRUE(source->ReadAssetItems(request, answer));
        message.Reset();
        WriteSignal(message, answer);
        uint16_t code = 0;
        ReadSignalCode(message, code);
    }

    bool Apply(const AssetTransfer& transfer, uint32_t first, uint32_t count)
    {
        QelNetworkMessage message;
        Answer(message, transfer, first, count);
        return console->ProcessAssetDataMessage(message);
    }

    // Every transfer answered in whole chunks, first to last.
    void CompleteAll()
    {
        for (int transfers = 0; !console->assetTransfers.empty(); ++transfers) {
            ASSERT_LT(transfers, 10) << "a transfer does not complete";
            const AssetTransfer transfer = console->assetTransfers.front();
            const uint32_t chunk = AssetChunkItems(transfer.vertexList  ? AssetKind::Vertices
                                                   : transfer.indexList ? AssetKind::Indices
                                                                        : AssetKind::Texture);
            const uint32_t total = transfer.bitmap ? transfer.bitmapWidth * transfer.bitmapHeight
                                                   : static_cast<uint32_t>(transfer.itemCount);
            for (uint32_t first = 0; first < total; first += chunk)
                ASSERT_TRUE(Apply(transfer, first, std::min(chunk, total - first)));
        }
    }

    qeltest::QuietGraphics graphics;
    qeltest::TempFolder folder;
    std::unique_ptr<qeltest::ScopedEnv> dataFolder;
    qeltest::ScopedShipRecord hull{qeltest::ServedHullRecord()};
    std::unique_ptr<RenderManager> source;
    std::unique_ptr<RenderManager> console;
};

TEST_F(AssetTransferTest, the_outline_names_the_units_lists_and_textures_of_the_draw_data)
{
    const DrawDataOutlineSignal outline = Outline();
    EXPECT_EQ(outline.shipKey, kKey);
    EXPECT_EQ(outline.artRoot, "TestHull");
    ASSERT_EQ(outline.units.size(), 1u);
    EXPECT_EQ(outline.units[0].vertexCount, 25);
    EXPECT_EQ(outline.units[0].indexCount, 36);
    EXPECT_EQ(outline.units[0].textures, (std::vector<DrawDataOutlineSignal::Texture>{{10, 20}}));

    DrawDataOutlineSignal none;
    EXPECT_FALSE(source->DescribeDrawData("no_such_hull", none));
}

TEST_F(AssetTransferTest, the_server_answers_only_items_inside_the_named_list)
{
    const struct {
        AssetDataRequestSignal request;
        uint32_t items;
    } cases[] = {
        {{1, kKey, 0, 0, 0, 20, 5}, 5},   // the last five vertices
        {{1, kKey, 0, 0, 0, 20, 6}, 0},   // one past the end
        {{1, kKey, 0, 0, 1, 10, 0}, 0},   // no items: the header alone
        {{1, kKey, 0, 0, 2, 150, 50}, 50},
        {{1, kKey, 0, 1, 2, 0, 10}, 0},   // no second texture
        {{1, kKey, 3, 0, 0, 0, 10}, 0},   // no fourth unit
        {{1, kKey, 0, 0, 9, 0, 10}, 0},   // no such kind
        {{1, kKey, 0, 0, 0, 4294967290u, 10}, 0},
    };
    for (const auto& c : cases) {
        AssetDataSignal answer;
        EXPECT_TRUE(source->ReadAssetItems(c.request, answer));
        EXPECT_EQ(answer.Count(), c.items) << "kind " << c.request.kind << " at " << c.request.first;
    }
    AssetDataSignal answer;
    EXPECT_FALSE(source->ReadAssetItems({1, "no_such_hull", 0, 0, 0, 0, 10}, answer));
}

TEST_F(AssetTransferTest, an_outline_makes_one_transfer_per_list_with_items_in_order)
{
    DrawDataOutlineSignal outline = Outline();
    outline.units.push_back({"Redwood", 0, 0, {{0, 8}, {4, 4}}});  // nothing to fetch but one texture
    console->ApplyDrawDataOutline(outline);

    const std::vector<AssetTransfer>& transfers = console->assetTransfers;
    ASSERT_EQ(transfers.size(), 4u);
    EXPECT_TRUE(transfers[0].vertexList && transfers[0].itemCount == 25);
    EXPECT_TRUE(transfers[1].indexList && transfers[1].itemCount == 36);
    EXPECT_TRUE(transfers[2].bitmap && transfers[2].bitmapWidth == 10 && transfers[2].bitmapHeight == 20);
    EXPECT_TRUE(transfers[3].bitmap && transfers[3].unitIndex == 1 && transfers[3].textureIndex == 1);
    for (size_t i = 1; i < transfers.size(); ++i)
        EXPECT_GT(transfers[i].transferId, transfers[i - 1].transferId);

    const ObjectTypeDrawData* drawData = console->GetObjectTypeDrawData(kKey);
    ASSERT_TRUE(drawData->mesh);
    ASSERT_EQ(drawData->mesh->units.size(), 2u);
    EXPECT_EQ(drawData->mesh->units[0].vertListNames, std::vector<std::string>{"TestHull_verts_0"});
    EXPECT_EQ(drawData->mesh->units[0].indexListNames, std::vector<std::string>{"TestHull_indexes_0"});
    EXPECT_EQ(drawData->mesh->units[0].textureNames, std::vector<std::string>{"TestHull_texture_0_0"});
    EXPECT_EQ(drawData->mesh->units[1].textureNames, std::vector<std::string>{"TestHull_texture_1_1"});
    EXPECT_TRUE(drawData->mesh->units[1].vertListNames.empty()) << "the graphics service holds no empty list";

    // The same outline again starts over, with no transfer left of the first.
    console->ApplyDrawDataOutline(outline);
    EXPECT_EQ(transfers.size(), 4u);
    EXPECT_EQ(console->GetObjectTypeDrawData(kKey), drawData);
}

TEST_F(AssetTransferTest, chunks_fill_the_copy_and_the_index_list_rebuilds_the_silhouettes)
{
    console->ApplyDrawDataOutline(Outline());
    const ObjectTypeDrawData* drawData = console->GetObjectTypeDrawData(kKey);
    const AssetTransfer vertices = console->assetTransfers[0];

    ASSERT_TRUE(Apply(vertices, 0, 10));
    ASSERT_TRUE(Apply(vertices, 10, 10));
    EXPECT_EQ(console->assetTransfers[0].highestChunkStart, 10);
    EXPECT_EQ(console->assetTransfers[0].progressPercent, 40);
    ASSERT_TRUE(Apply(vertices, 20, 5));
    EXPECT_EQ(console->assetTransfers.size(), 2u) << "the vertex list is done";
    EXPECT_EQ(drawData->silhouette, nullptr) << "vertices alone rebuild nothing";
    EXPECT_TRUE(Apply(vertices, 25, 0)) << "an answer for a finished transfer is ignored";

    CompleteAll();
    EXPECT_NE(drawData->silhouette, nullptr);
    EXPECT_NE(drawData->largeSilhouette, nullptr);
    EXPECT_GT(drawData->size, 0.0f);
    qeltest::ExpectSameMesh(*source->GetObjectTypeDrawData(kKey)->mesh, *drawData->mesh);
}

// Cut anywhere, or reaching past its list, a chunk changes nothing; the
// whole chunk then applies as if nothing had come before.
TEST_F(AssetTransferTest, a_broken_chunk_is_dropped_whole)
{
    console->ApplyDrawDataOutline(Outline());
    const AssetTransfer indices = console->assetTransfers[1];
    QelNetworkMessage whole;
    Answer(whole, indices, 0, 36);
    const int32_t payloadStart = whole.readIndex;
    for (int32_t length = payloadStart; length < whole.writeIndex; ++length) {
        QelNetworkMessage cut;
        Answer(cut, indices, 0, 36);
        cut.writeIndex = length;
        EXPECT_FALSE(console->ProcessAssetDataMessage(cut)) << "cut to " << length;
        EXPECT_EQ(indices.indexList->GetIndex(1), 0u) << "cut to " << length;
        EXPECT_EQ(console->assetTransfers.size(), 3u);
    }
    QelNetworkMessage past;
    WriteSignal(past, AssetDataSignal{indices.transferId, 30, {}, {1, 2, 3, 4, 5, 6, 7}, {}});
    uint16_t code = 0;
    ReadSignalCode(past, code);
    EXPECT_FALSE(console->ProcessAssetDataMessage(past)) << "items 30..36 reach past a list of 36";
    EXPECT_EQ(indices.indexList->GetIndex(30), 0u);
    QelNetworkMessage outside;
    WriteSignal(outside, AssetDataSignal{indices.transferId, 0, {}, {1, 2, 25}, {}});
    ReadSignalCode(outside, code);
    EXPECT_FALSE(console->ProcessAssetDataMessage(outside)) << "vertex 25 of a unit of 25";
    EXPECT_EQ(indices.indexList->GetIndex(1), 0u);

    ASSERT_TRUE(Apply(indices, 0, 36));
    EXPECT_EQ(indices.indexList->GetIndex(1), 7u);
}

// 25 vertices go as 10, 10 and 5; 20 as 10, 10 and a request for none; the
// 200 pixels of a 10 by 20 texture as 150 and 50.
TEST_F(AssetTransferTest, requests_cover_the_list_and_the_last_one_marks_it_all_requested)
{
    const struct {
        ServedMeshSize size;
        size_t transfer;
        int32_t requestsUntilAll;
    } cases[] = {
        {{25, 36, 10, 20}, 0, 3},
        {{20, 36, 10, 20}, 0, 3},
        {{21, 36, 10, 20}, 0, 3},
        {{25, 49, 10, 20}, 1, 1},
        {{25, 50, 10, 20}, 1, 2},
        {{25, 36, 10, 20}, 2, 2},
        {{25, 36, 15, 10}, 2, 2},
    };
    for (const auto& c : cases) {
        qeltest::ServeShipMesh(*source, kKey, c.size);
        console->ApplyDrawDataOutline(Outline());
        AssetTransfer& transfer = console->assetTransfers[c.transfer];
        int32_t requests = 0;
        while (transfer.allRequested != 1 && requests < 100) {
            console->RequestAssetData(transfer);
            ++requests;
        }
        EXPECT_EQ(requests, c.requestsUntilAll) << c.size.vertices << " " << c.size.indices << " " << c.transfer;
        EXPECT_EQ(transfer.requestCount, c.requestsUntilAll);
    }
}

// Textures, mesh and record are kept once the type is whole; what is there
// already is the console's own and stays.
TEST_F(AssetTransferTest, a_fetched_type_is_stored_in_the_data_folder_unless_it_is_there)
{
    const std::filesystem::path mesh = folder.Path() / "graphics" / "ships" / "TestHull.qelmesh";
    const std::filesystem::path texture = folder.Path() / "graphics" / "TestHull_texture_0_0.png";
    const std::filesystem::path record = folder.Path() / "fetchedShipData.json";
    console->ApplyDrawDataOutline(Outline());
    const AssetTransfer vertices = console->assetTransfers[0];
    ASSERT_TRUE(Apply(vertices, 0, 10));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "nothing is stored while a transfer runs";
    CompleteAll();
    ASSERT_TRUE(std::filesystem::exists(mesh));
    ASSERT_TRUE(std::filesystem::exists(texture));
    ASSERT_TRUE(std::filesystem::exists(record));

    std::unique_ptr<QEL3DObject> loaded = graphics.Load3DObject("ships/TestHull", "Redwood");
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->units.size(), 1u);
    EXPECT_EQ(loaded->units[0].Vertices()->GetCount(), 25);
    EXPECT_EQ(loaded->units[0].IndexList(0)->GetCount(), 36);
    EXPECT_EQ(loaded->units[0].textureNames, std::vector<std::string>{"TestHull_texture_0_0"});

    const auto written = std::filesystem::last_write_time(mesh);
    const auto painted = std::filesystem::last_write_time(texture);
    qeltest::ServeShipMesh(*source, kKey, {12, 6, 2, 2});
    console->ApplyDrawDataOutline(Outline());
    CompleteAll();
    EXPECT_EQ(std::filesystem::last_write_time(mesh), written);
    EXPECT_EQ(std::filesystem::last_write_time(texture), painted);
}

}  // namespace
