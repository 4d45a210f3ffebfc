// An engineering console watches the crew of its ship over loopback ENet
// while halvex-server runs the mission at game pace: it asks for the ship's
// interior about once a second, as the interior view does, receives the grid
// objects and then their keyed values, and sees the walker arrive where the
// mission sent it.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/net/QelNetworkClient.h"
#include "game/net/NetworkIds.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/net/SignalMessage.h"
#include "tests/tools/halvex-server/FrigateInterior.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>

namespace harnesstest {
namespace {

// Every console is given the frigate; its crew of three stands in the bow,
// and Ada walks to the far corner of the stern, through the bulkhead's door.
constexpr const char* kMission = R"(import zmx

ship_id = 0


def crew_the_ship(sim):
    global ship_id
    zmx.create_new_sim()
    ship_id = sim.create_space_object("behav_playership", "tern_frigate", 0)
    zmx.resume_sim()
    hm = zmx.get_hull_map(ship_id)
    for column, (name, tag) in enumerate((("Ada", "engineer"), ("Bo", "medic"), ("Cy", "pilot"))):
        go = hm.create_grid_object(name, tag, "crew")
        go.layer = column
        for key in ("curx", "lastx"):
            go.data_set.set(key, column)
        for key in ("cury", "lasty"):
            go.data_set.set(key, 0)
        go.data_set.set("percent", 1.0)
        go.data_set.set("move_speed", 0.5)
    ada = hm.get_grid_object_by_name("Ada")
    ada.data_set.set("pathx", 11)
    ada.data_set.set("pathy", 23)


def halvex_event_handler(sim, event):
    if ship_id == 0:
        crew_the_ship(sim)
    if event.tag == "client_connect":
        zmx.assign_client_to_ship(event.client_id, ship_id)
    if event.tag == "grid_object" and event.sub_tag == "finished_path":
        print("crew: grid object %d arrived" % event.origin_id)
)";

// What the console holds of one grid object.
struct CrewMember {
    GridSignal::Object described;
    bool pathSeen = false;  // some answer carried a path to walk
    int64_t curx = -1;
    int64_t cury = -1;
};

class InteriorConsoleTest : public ::testing::Test {
protected:
    // The interior view asks about once a second; a console frame here is
    // about a millisecond, so it asks more often, as a console may.
    static constexpr int kFramesBetweenRequests = 100;

    void SetUp() override
    {
        gNetworkFactory = &factory;
        harness = std::make_unique<HarnessProcess>(std::vector<std::string>{
            "--data", folder.data.Path().string(), "--mission", folder.kMission, "--port", "0", "--seconds", "120"});
        const std::optional<uint16_t> port = harness->WaitForPort();
        ASSERT_TRUE(port) << harness->Errors();
        console = factory.GetClient("engineering", *port);
        ASSERT_TRUE(console->Connect("127.0.0.1"));
    }

    void TearDown() override
    {
        harness->Signal(SIGTERM);
        EXPECT_EQ(harness->Wait(), 0) << harness->Errors();
        gNetworkFactory = nullptr;
    }

    template <typename Signal>
    void Send(const Signal& signal)
    {
        QelNetworkMessage message;
        message.WriteInt64(HashMessageName("signal"));
        WriteSignal(message, signal);
        console->Send(message);
    }

    // Console frames, asking for the grid now and then, until the condition
    // holds; false when it never did.
    bool RunFrames(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + HarnessProcess::kPatience;
        for (int frame = 0; std::chrono::steady_clock::now() < deadline; ++frame) {
            Receive();
            if (done())
                return true;
            if (frame % kFramesBetweenRequests == 0) {
                Send(HeartbeatSignal{});
                if (ownShip != 0)
                    Send(GridRequestSignal{0});
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    void Receive()
    {
        QelNetworkMessage message;
        while (console->Receive(message)) {
            message.readIndex = 0;
            uint64_t key = 0;
            message.ReadInt64(key);
            if (key == HashMessageName("signal"))
                ReadSignalMessage(message);
            else if (key == HashMessageName("objectBlob"))
                ReadValues(message);
        }
    }

    void ReadSignalMessage(QelNetworkMessage& message)
    {
        uint16_t code = 0;
        ReadSignalCode(message, code);
        if (code == SIGNAL_MESS_MY_SHIP_ID) {
            MyShipIdSignal own;
            if (ReadSignal(message, own))
                ownShip = own.shipId;
        } else if (code == SIGNAL_MESS_GRID) {
            GridSignal grid;
            ASSERT_TRUE(ReadSignal(message, grid));
            EXPECT_EQ(grid.shipId, ownShip);
            EXPECT_EQ(grid.width, 12);
            EXPECT_EQ(grid.height, 24);
            for (GridSignal::Object& object : grid.objects) {
                CrewMember& member = crew[object.id];
                member.pathSeen = member.pathSeen || !object.path.empty();
                member.described = object;
            }
        }
    }

    void ReadValues(QelNetworkMessage& message)
    {
        ObjectBlobHeader header;
        std::vector<ObjectBlobEntry> entries;
        if (!ReadObjectBlobMessage(message, header, entries) || header.kind != kBlobOfGridObject)
            return;
        EXPECT_EQ(header.shipId, ownShip);
        CrewMember& member = crew[header.ownerId];
        for (const ObjectBlobEntry& entry : entries) {
            if (entry.tagKey == HashMessageName("curx"))
                member.curx = entry.intValue;
            else if (entry.tagKey == HashMessageName("cury"))
                member.cury = entry.intValue;
        }
    }

    const CrewMember* Named(const std::string& name) const
    {
        for (const auto& [id, member] : crew)
            if (member.described.name == name)
                return &member;
        return nullptr;
    }

    FrigateInteriorFolder folder{kMission};
    QelEnetNetworkFactoryBase factory;
    std::unique_ptr<HarnessProcess> harness;
    QelNetworkClient* console = nullptr;
    uint64_t ownShip = 0;
    std::map<uint64_t, CrewMember> crew;
};

TEST_F(InteriorConsoleTest, a_console_receives_its_ships_crew_and_sees_the_walker_arrive)
{
    ASSERT_TRUE(RunFrames([&] { return crew.size() == 3; })) << harness->Errors();
    EXPECT_TRUE(IsSpaceObjectId(ownShip));
    const CrewMember* ada = Named("Ada");
    const CrewMember* cy = Named("Cy");
    ASSERT_TRUE(ada && cy);
    EXPECT_EQ(ada->described.tag, "engineer");
    EXPECT_EQ(cy->described.type, "crew");
    EXPECT_EQ(cy->described.layer, 2);
    for (const auto& [id, member] : crew)
        EXPECT_TRUE(IsGridObjectId(id)) << std::hex << id;

    // Ada's cell, as the grid pass sends it, reaches the stern's far corner.
    ASSERT_TRUE(RunFrames([&] { return ada->curx == 11 && ada->cury == 23; }))
        << "Ada last seen at " << ada->curx << ", " << ada->cury << "\n" << harness->Errors();
    EXPECT_TRUE(ada->pathSeen) << "a grid answer carried her path";
    EXPECT_EQ(cy->curx, 2) << "the others stand where they were put";
    ASSERT_TRUE(harness->WaitForLine("crew: grid object ")) << harness->Errors();
}

}  // namespace
}  // namespace harnesstest
