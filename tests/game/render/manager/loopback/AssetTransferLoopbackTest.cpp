// A console fetches a ship type's mesh from a real server over loopback ENet:
// its request for the ship's record brings the record and the mesh outline;
// the console's render manager then asks for every list in chunks, one a
// frame, until its copy holds the server's mesh, draws from it and stores it
// in the data folder.

#include "game/render/manager/RenderManager.h"

#include "game/net/CorvaneClient.h"
#include "game/net/ShipAssetService.h"
#include "game/world/AppData.h"
#include "tests/game/net/loopback/ServerHarness.h"
#include "tests/game/render/manager/ServedShipMesh.h"
#include "tests/support/AuthoredHull.h"
#include "tests/support/QuietGraphics.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <tuple>

namespace {

SceneFunction StayingScene(SceneEvent)
{
    return StayingScene;
}

const std::string kKey = "test_hull";

// The server's render manager as the server reaches it, with every chunk
// request written down.
class RecordingAssetSource : public ShipAssetSource {
public:
    explicit RecordingAssetSource(ShipAssetSource& served) : served_(served) {}

    bool DescribeDrawData(const std::string& shipKey, DrawDataOutlineSignal& outline) override
    {
        ++outlines;
        return served_.DescribeDrawData(shipKey, outline);
    }
    bool ReadAssetItems(const AssetDataRequestSignal& request, AssetDataSignal& answer) override
    {
        requests.emplace_back(request.transferId, request.kind, request.first, request.count);
        return served_.ReadAssetItems(request, answer);
    }

    int outlines = 0;
    std::vector<std::tuple<uint32_t, uint32_t, uint32_t, uint32_t>> requests;  // id, kind, first, count

private:
    ShipAssetSource& served_;
};

class AssetTransferLoopbackTest : public nettest::ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        AppData::Load();  // before the data folder moves to the test's own
        gGraphicsFactory = &graphics;
        dataFolder = std::make_unique<qeltest::ScopedEnv>("QEL_DATA_DIR", folder.Path().string());
        serverScreen = std::make_unique<RenderManager>(StayingScene);
        console = std::make_unique<RenderManager>(StayingScene);
        qeltest::ServeShipMesh(*serverScreen, kKey);
        recorder = std::make_unique<RecordingAssetSource>(*serverScreen);
        server->SetShipAssetSource(recorder.get());
        gShipAssetTransfers = console.get();

        CorvaneClient::Settings settings;
        settings.port = port;
        client = std::make_unique<CorvaneClient>(settings);
        gClient = client.get();
        ASSERT_TRUE(client->Connect(qel::test::kLoopback));
        ASSERT_TRUE(RunFramesUntil([&] {
            client->FrameUpdate();
            return client->IsConnected() && !server->Clients().empty();
        }));
    }
    void TearDown() override
    {
        server->SetShipAssetSource(nullptr);
        client.reset();
        gClient = nullptr;
        console.reset();
        serverScreen.reset();
        gGraphicsFactory = nullptr;
        ServerFixture::TearDown();
    }

    // Server and console frames, the console's render manager asking for the
    // next chunk in each.
    bool ConsoleFramesUntil(const std::function<bool()>& done)
    {
        return RunFramesUntil([&] {
            client->FrameUpdate();
            console->FrameUpdate();
            return done();
        });
    }

    qeltest::QuietGraphics graphics;
    qeltest::TempFolder folder;
    std::unique_ptr<qeltest::ScopedEnv> dataFolder;
    qeltest::ScopedShipRecord hull{qeltest::InteriorRecord(8, 1)};
    std::unique_ptr<RenderManager> serverScreen;
    std::unique_ptr<RenderManager> console;
    std::unique_ptr<RecordingAssetSource> recorder;
    std::unique_ptr<CorvaneClient> client;
};

TEST_F(AssetTransferLoopbackTest, a_console_fetches_the_mesh_it_lacks_and_draws_and_stores_it)
{
    WriteSignal(StartClientMessage("signal"), ShipRecordRequestSignal{kKey});
    SendClientMessage();
    ASSERT_TRUE(ConsoleFramesUntil([&] { return !console->assetTransfers.empty(); }));
    EXPECT_EQ(recorder->outlines, 1);
    ASSERT_TRUE(ConsoleFramesUntil([&] { return console->assetTransfers.empty(); }));

    // Vertices 25 as 10, 10, 5; indices 36 at once; the 10 x 20 texture as
    // 150 and 50 pixels: one transfer after the other.
    using Request = std::tuple<uint32_t, uint32_t, uint32_t, uint32_t>;
    const std::vector<Request> expected = {{1, 0, 0, 10},  {1, 0, 10, 10}, {1, 0, 20, 5},
                                           {2, 1, 0, 36},  {3, 2, 0, 150}, {3, 2, 150, 50}};
    EXPECT_EQ(recorder->requests, expected);

    const ObjectTypeDrawData* copy = console->GetObjectTypeDrawData(kKey);
    ASSERT_TRUE(copy->mesh);
    qeltest::ExpectSameMesh(*serverScreen->GetObjectTypeDrawData(kKey)->mesh, *copy->mesh);
    EXPECT_NE(copy->silhouette, nullptr);
    EXPECT_FLOAT_EQ(copy->size, 4.0f);
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "graphics" / "ships" / "TestHull.qelmesh"));

    // Nothing more is asked for.
    const size_t requests = recorder->requests.size();
    for (int frame = 0; frame < 20; ++frame)
        ConsoleFramesUntil([] { return true; });
    EXPECT_EQ(recorder->requests.size(), requests);
}

}  // namespace
