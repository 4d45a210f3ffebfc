// A console fetches a ship type's mesh from a real server over loopback ENet:
// its request for the ship's record brings the record and the mesh outline;
// the console's render manager then asks for every list in chunks, one a
// frame, until its copy holds the server's mesh, draws from it and stores it,
// its texture and the record in the data folder, where the console's next
// start finds them without asking again. The console's client is made after
// its render manager, and finds the transfers without being told.

#include "game/render/manager/RenderManager.h"

#include "game/net/CorvaneClient.h"
#include "game/net/ShipAssetService.h"
#include "game/world/AppData.h"
#include "game/world/ShipData.h"
#include "tests/game/net/loopback/ServerHarness.h"
#include "tests/game/render/manager/ServedShipMesh.h"
#include "tests/support/AuthoredHull.h"
#include "tests/support/QuietGraphics.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <tuple>

namespace {

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

const std::string kKey = "test_hull";

// Every file under the folder, as paths relative to it.
std::vector<std::string> FilesUnder(const std::filesystem::path& folder)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (!entry.is_directory())
            files.push_back(std::filesystem::relative(entry.path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

// The console started again: a graphics service of its own, which holds only
// what it reads from the data folder, and definitions that know the key only
// from what the data folder keeps (the received record is put aside, as a new
// process would not have it, and put back at the end).
class RestartedConsole {
public:
    explicit RestartedConsole(const std::string& key) : key_(key)
    {
        ShipData& ships = ShipData::Instance();
        const auto held = std::find_if(ships.receivedRecords.begin(), ships.receivedRecords.end(),
                                       [&](const auto& record) { return record->key == key; });
        received_ = std::move(*held);
        ships.receivedRecords.erase(held);
        Forget(ships);
        ships.LoadFetched();
        gGraphicsFactory = &graphics;
        manager = std::make_unique<RenderManager>(StayingScene);
    }
    ~RestartedConsole()
    {
        manager.reset();
        gGraphicsFactory = previous_;
        ShipData& ships = ShipData::Instance();
        std::erase_if(ships.receivedRecords, [&](const auto& record) { return record->key == key_; });
        Forget(ships);
        ships.extraKeys[key_] = received_.get();
        ships.receivedRecords.push_back(std::move(received_));
    }
    RestartedConsole(const RestartedConsole&) = delete;
    RestartedConsole& operator=(const RestartedConsole&) = delete;

private:
    void Forget(ShipData& ships) const
    {
        ships.extraKeys.erase(key_);
        ships.fetchedKeys.erase(key_);
        ships.missCounters.erase(key_);
    }

    std::string key_;
    std::unique_ptr<ShipDataRecord> received_;
    QelGraphicsFactoryBase* previous_ = gGraphicsFactory;

public:
    qeltest::QuietGraphics graphics;
    std::unique_ptr<RenderManager> manager;
};

// The server's render manager as the server reaches it, with every chunk
// request written down; it can leave the texture's requests unanswered, as a
// server that goes away in the middle of a transfer does.
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
        if (withholdTextures && request.kind == static_cast<uint32_t>(AssetKind::Texture))
            return false;
        return served_.ReadAssetItems(request, answer);
    }

    bool withholdTextures = false;
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
        MakeClient();
        ASSERT_TRUE(client->Connect(qel::test::kLoopback));
        ASSERT_TRUE(ConsoleFramesUntil([&] { return client->IsConnected() && !server->Clients().empty(); }));
    }
    void TearDown() override
    {
        server->SetShipAssetSource(nullptr);
        DropClient();
        console.reset();
        serverScreen.reset();
        gGraphicsFactory = nullptr;
        ServerFixture::TearDown();
    }

    // The console's client, made after the render managers and handed to the
    // console's, which hands it its transfers.
    void MakeClient()
    {
        CorvaneClient::Settings settings;
        settings.port = port;
        client = std::make_unique<CorvaneClient>(settings);
        client->SetWorld(&world);
        RouteConsoleCommands(client.get());
        console->ConnectNetwork(GameNetwork{client.get(), nullptr});
    }

    // The console's client goes, taken back from the console's render manager first.
    void DropClient()
    {
        if (console)
            console->ConnectNetwork(GameNetwork{});
        client.reset();
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
    qeltest::ScopedShipRecord hull{qeltest::ServedHullRecord()};
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
    const std::vector<std::string> stored = {"fetchedShipData.json", "graphics/TestHull_texture_0_0.png",
                                             "graphics/ships/TestHull.qelmesh"};
    EXPECT_EQ(FilesUnder(folder.Path()), stored);

    // Nothing more is asked for.
    const size_t requests = recorder->requests.size();
    for (int frame = 0; frame < 20; ++frame)
        ConsoleFramesUntil([] { return true; });
    EXPECT_EQ(recorder->requests.size(), requests);

    // Started again, the console knows the hull and draws it from what it
    // stored: the record (no miss, so nothing to ask for), the mesh item for
    // item, the texture within a step of its stored 8 bits.
    RestartedConsole restarted(kKey);
    const ObjectTypeDrawData* found = restarted.manager->GetObjectTypeDrawData(kKey);
    const ShipDataRecord* known = ShipData::Instance().FindDefined(kKey);
    ASSERT_TRUE(known && known != hull.record);
    EXPECT_EQ(known->artFileRoot, "TestHull");
    EXPECT_EQ(ShipData::Instance().missCounters.count(kKey), 0u);
    ASSERT_TRUE(found->mesh && found->mesh->units.size() == 1);
    const QEL3DDrawUnit& unit = found->mesh->units[0];
    ASSERT_TRUE(unit.Vertices() && unit.Vertices()->GetCount() == 25);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(std::memcmp(unit.Vertices()->Vertices() + i, copy->mesh->units[0].Vertices()->Vertices() + i,
                              sizeof(QelVertex)), 0) << "vertex " << i;
    ASSERT_EQ(unit.textureNames.size(), 1u);
    Qel2dBitmap* texture = restarted.graphics.Find2DBitmap(unit.textureNames[0]);
    ASSERT_TRUE(texture && texture->GetWidth() == 10 && texture->GetHeight() == 20);
    for (const auto& [x, y] : {std::pair{0, 0}, {9, 0}, {3, 11}, {9, 19}}) {
        std::array<float, 4> pixel{};
        texture->GetPixel(x, y, pixel[0], pixel[1], pixel[2], pixel[3]);
        const std::array<float, 4> served = qeltest::NumberedPixel(x, y);
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(pixel[c], served[c], 1.0f / 255.0f + 1e-6f) << x << ", " << y << " channel " << c;
    }
    EXPECT_TRUE(restarted.manager->assetTransfers.empty());
    EXPECT_EQ(recorder->outlines, 1);
    EXPECT_EQ(recorder->requests.size(), requests);
}

// A server whose outline names art outside the data folder is refused before
// anything is made, and a transfer the connection cuts short is never stored:
// neither leaves a file behind.
TEST_F(AssetTransferLoopbackTest, a_hostile_root_or_a_cut_transfer_leaves_no_file)
{
    hull.record->artFileRoot = "../escaped";
    WriteSignal(StartClientMessage("signal"), ShipRecordRequestSignal{kKey});
    SendClientMessage();
    ASSERT_TRUE(ConsoleFramesUntil([&] { return recorder->outlines == 1; }));
    for (int frame = 0; frame < 20; ++frame)
        ConsoleFramesUntil([] { return true; });
    EXPECT_TRUE(console->assetTransfers.empty());
    EXPECT_TRUE(recorder->requests.empty());
    EXPECT_TRUE(FilesUnder(folder.Path()).empty());
    EXPECT_FALSE(std::filesystem::exists(folder.Path().parent_path() / "escaped.qelmesh"));

    hull.record->artFileRoot = "TestHull";
    recorder->withholdTextures = true;
    WriteSignal(StartClientMessage("signal"), ShipRecordRequestSignal{kKey});
    SendClientMessage();
    ASSERT_TRUE(ConsoleFramesUntil([&] { return recorder->requests.size() == 6; }));
    ASSERT_TRUE(ConsoleFramesUntil([&] { return console->assetTransfers.size() == 1; }));
    DropClient();
    for (int frame = 0; frame < 20; ++frame)
        RunFramesUntil([&] {
            console->FrameUpdate();
            return true;
        });
    EXPECT_TRUE(console->assetTransfers.front().bitmap) << "the texture never came";
    EXPECT_TRUE(FilesUnder(folder.Path()).empty());
}

// A console's client made anew while the render manager lives, and handed to
// it, takes its transfers and fetches the mesh through them; once the render manager is
// gone the client holds none, and an outline that still arrives is passed by.
TEST_F(AssetTransferLoopbackTest, a_client_made_anew_fetches_through_the_render_manager_and_outlives_it)
{
    DropClient();
    MakeClient();
    ASSERT_TRUE(client->Connect(qel::test::kLoopback));
    ASSERT_TRUE(ConsoleFramesUntil([&] { return client->IsConnected(); }));
    WriteSignal(StartClientMessage("signal"), ShipRecordRequestSignal{kKey});
    SendClientMessage();
    ASSERT_TRUE(ConsoleFramesUntil([&] { return !console->assetTransfers.empty(); }));
    ASSERT_TRUE(ConsoleFramesUntil([&] { return console->assetTransfers.empty(); }));
    ASSERT_TRUE(console->GetObjectTypeDrawData(kKey)->mesh);
    qeltest::ExpectSameMesh(*serverScreen->GetObjectTypeDrawData(kKey)->mesh,
                            *console->GetObjectTypeDrawData(kKey)->mesh);

    console.reset();
    EXPECT_EQ(client->AssetTransfers(), nullptr);
    WriteSignal(StartClientMessage("signal"), ShipRecordRequestSignal{kKey});
    SendClientMessage();
    ASSERT_TRUE(RunFramesUntil([&] {
        client->FrameUpdate();
        return recorder->outlines == 2;
    }));
    for (int frame = 0; frame < 20; ++frame)
        RunFramesUntil([&] {
            client->FrameUpdate();
            return true;
        });
    EXPECT_EQ(client->AssetTransfers(), nullptr);
}

}  // namespace
