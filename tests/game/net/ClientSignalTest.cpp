// The console's handling of the server's world, identity and string-map
// signals, without a network: messages are handed to the console's hook as its
// dispatch would.

#include "engine/net/TransportRules.h"
#include "game/net/MessageHooks.h"
#include "game/net/RejectedMessages.h"
#include "game/net/SignalMessage.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/world/HullPathSets.h"
#include "game/world/ObjectId.h"
#include "game/world/ServerStringMap.h"
#include "game/world/Simulation.h"
#include "tests/game/net/SignalHookSupport.h"

#include "tests/support/AuthoredHull.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

class ClientSignalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        world.Reset(false, "");
        ServerStringMap::Instance().Clear();
    }

    void TearDown() override { ServerStringMap::Instance().Clear(); }

    void Deliver(QelNetworkMessage& message) { nettest::DeliverToClient(message); }

    template <typename Signal>
    void Send(const Signal& signal)
    {
        nettest::SendToClientHook(signal);
    }

    SpaceObject* AddObject()
    {
        const uint64_t id = world.CreateSpaceObject("", "", 0);
        return world.GetSpaceObject(id);
    }

    const ObjectDataBlobElement* Value(SpaceObject* object, const char* tag, int32_t index = 0)
    {
        return object->data_set.FindElement(HashMessageName(tag), index);
    }

    Simulation world;
};

TEST_F(ClientSignalTest, console_learns_its_ship_and_the_ship_its_radar_follows)
{
    const uint64_t ship = kSpaceObjectIdBit | 4;
    Send(MyShipIdSignal{ship});
    EXPECT_EQ(world.subjectID, ship);
    EXPECT_TRUE(VALID_SPACE_OBJ(world.subjectID));
    Send(MyAltShipIdSignal{kSpaceObjectIdBit | 9});
    EXPECT_EQ(world.altSubjectID, kSpaceObjectIdBit | 9);
    EXPECT_EQ(world.subjectID, ship);
    Send(MyAltShipIdSignal{0});
    EXPECT_EQ(world.altSubjectID, 0u);

    // Ids of another kind are refused whole and counted.
    const uint64_t rejectedBefore = RejectedMessageCount();
    for (uint64_t wrong : {kClientIdBit | 501, kGridObjectIdBit | 41, uint64_t{77}, kClientIdBit | kSpaceObjectIdBit})
        Send(MyShipIdSignal{wrong});
    EXPECT_EQ(world.subjectID, ship);
    EXPECT_EQ(RejectedMessageCount(), rejectedBefore + 4);
}

TEST_F(ClientSignalTest, every_truncation_of_an_identity_signal_changes_nothing)
{
    QelNetworkMessage whole;
    whole.WriteInt64(HashMessageName("signal"));
    WriteSignal(whole, MyShipIdSignal{kSpaceObjectIdBit | 4});
    for (int32_t length = 8; length < whole.writeIndex; ++length) {
        QelNetworkMessage cut;
        cut.WriteBytes(whole.Data(), length);
        Deliver(cut);
        EXPECT_EQ(world.subjectID, 0u) << "length " << length;
    }
}

TEST_F(ClientSignalTest, removed_objects_leave_the_mirror_and_unknown_ones_change_nothing)
{
    SpaceObject* kept = AddObject();
    SpaceObject* doomed = AddObject();
    const uint64_t keptId = kept->uniqueID, doomedId = doomed->uniqueID;
    Send(ObjectRemovedSignal{doomedId});
    Send(ObjectRemovedSignal{kSpaceObjectIdBit | 9999});
    Send(ObjectRemovedSignal{kClientIdBit | 501});
    EXPECT_FALSE(world.SpaceObjectExists(doomedId));
    EXPECT_TRUE(world.SpaceObjectExists(keptId));
}

TEST_F(ClientSignalTest, new_game_empties_and_restarts_the_mirror_and_a_stopped_game_empties_it)
{
    AddObject();
    world.clock.time_tick_counter = 500;
    const int32_t generation = world.Generation();
    Send(NewSimulationSignal{});
    ASSERT_NE(world.Container(), nullptr);
    EXPECT_TRUE(world.Container()->Objects().empty());
    EXPECT_EQ(world.TickCount(), 0);
    EXPECT_NE(world.Generation(), generation);
    EXPECT_FALSE(world.serverFlag);

    AddObject();
    Send(SimulationStoppedSignal{});
    EXPECT_EQ(world.Container(), nullptr);
}

TEST_F(ClientSignalTest, world_states_follow_the_server)
{
    Send(PauseStateSignal{1});
    EXPECT_TRUE(world.paused);
    Send(PauseStateSignal{0});
    EXPECT_FALSE(world.paused);
    Send(RedAlertSignal{1});
    EXPECT_EQ(world.redAlertState, 1);
    Send(SimulationTickSignal{1234});
    EXPECT_EQ(world.TickCount(), 1234);
    Send(BeamDamageSignal{2.0f, 0.5f, 0.0f});
    EXPECT_EQ(world.playerShipBeamDamageCoeff, 2.0f);
    EXPECT_EQ(world.npcShipBeamDamageCoeff, 0.5f);
    EXPECT_EQ(world.stationShipBeamDamageCoeff, 0.0f);

    // Coefficients below 0 or not numbers, and ticks beyond the clock, are
    // refused whole.
    Send(BeamDamageSignal{1.0f, -0.1f, 1.0f});
    Send(BeamDamageSignal{std::numeric_limits<float>::quiet_NaN(), 1.0f, 1.0f});
    EXPECT_EQ(world.playerShipBeamDamageCoeff, 2.0f);
    EXPECT_EQ(world.npcShipBeamDamageCoeff, 0.5f);
    for (const uint64_t beyond : {~uint64_t{0}, uint64_t{INT64_MAX} - 34, uint64_t{SimulationClock::kLatestTick} + 1})
        Send(SimulationTickSignal{beyond});
    EXPECT_EQ(world.TickCount(), 1234);
    Send(SimulationTickSignal{uint64_t{SimulationClock::kLatestTick}});
    EXPECT_EQ(world.TickCount(), SimulationClock::kLatestTick);
}

TEST_F(ClientSignalTest, float_value_lands_on_a_present_object_at_its_index)
{
    SpaceObject* object = AddObject();
    Send(FloatValueToClientSignal{object->uniqueID, "shield_value", 2, 37.5f});
    ASSERT_NE(Value(object, "shield_value", 2), nullptr);
    EXPECT_EQ(Value(object, "shield_value", 2)->floatValue, 37.5f);
    Send(FloatValueToClientSignal{kSpaceObjectIdBit | 9999, "shield_value", 0, 1.0f});
    Send(FloatValueToClientSignal{kClientIdBit | 501, "shield_value", 0, 1.0f});
    EXPECT_EQ(Value(object, "shield_value", 0), nullptr);
}

TEST_F(ClientSignalTest, helm_values_from_the_server_go_to_the_own_ship_within_their_limits)
{
    SpaceObject* own = AddObject();
    SpaceObject* other = AddObject();
    world.subjectID = own->uniqueID;
    Send(ThrottleSignal{-100.0f});
    Send(ReverseSignal{1});
    Send(SteerSignal{-1.0f, 0.5f, 1.0f});
    EXPECT_EQ(Value(own, "playerThrottle")->floatValue, -100.0f);
    EXPECT_EQ(Value(own, "playerInReverse")->intValue, 1);
    EXPECT_EQ(Value(own, "playerSRoll")->floatValue, -1.0f);
    EXPECT_EQ(Value(own, "playerSPitch")->floatValue, 0.5f);
    EXPECT_EQ(Value(own, "playerSYaw")->floatValue, 1.0f);
    EXPECT_EQ(Value(other, "playerThrottle"), nullptr);

    Send(ThrottleSignal{100.5f});
    Send(SteerSignal{0.0f, 1.5f, 0.0f});
    EXPECT_EQ(Value(own, "playerThrottle")->floatValue, -100.0f);
    EXPECT_EQ(Value(own, "playerSPitch")->floatValue, 0.5f);
}

TEST_F(ClientSignalTest, string_map_entries_update_the_copy_and_the_clear_pair_wipes_it_whole)
{
    ServerStringMap& map = ServerStringMap::Instance();
    Send(StringMapSignal{"torpedo_homing", "energy_conversion_value:5"});
    Send(StringMapSignal{"alert", "red"});
    Send(StringMapSignal{"alert", "yellow"});
    EXPECT_EQ(map.Entries().at("alert"), "yellow");
    EXPECT_EQ(map.Entries().size(), 2u);
    EXPECT_TRUE(map.ChangedKeys().empty());  // a console's copy never queues anything to send

    Send(StringMapSignal{"", "nothing"});
    EXPECT_EQ(map.Entries().size(), 2u);

    Send(StringMapSignal{"clear", "other"});
    EXPECT_EQ(map.Entries().size(), 3u);
    Send(StringMapSignal{"clear", "stringmap"});
    EXPECT_TRUE(map.Entries().empty());
}

TEST_F(ClientSignalTest, a_process_hosting_the_authoritative_world_keeps_it_whatever_its_console_hears)
{
    world.Reset(true, "");
    SpaceObject* object = AddObject();
    ServerStringMap::Instance().Set("mission", "running");
    Send(MyShipIdSignal{object->uniqueID});
    Send(ObjectRemovedSignal{object->uniqueID});
    Send(StringMapSignal{"clear", "stringmap"});
    Send(SimulationStoppedSignal{});
    QelNetworkMessage disconnect;
    disconnect.WriteInt64(qel::kDisconnectedKey);
    Deliver(disconnect);
    EXPECT_EQ(world.subjectID, 0u);
    EXPECT_TRUE(world.SpaceObjectExists(object->uniqueID));
    EXPECT_EQ(ServerStringMap::Instance().Entries().at("mission"), "running");
}

TEST_F(ClientSignalTest, losing_the_server_empties_the_mirror)
{
    AddObject();
    QelNetworkMessage disconnect;
    disconnect.WriteInt64(qel::kDisconnectedKey);
    Deliver(disconnect);
    EXPECT_EQ(world.Container(), nullptr);
}

// ---- ship interior grids ----

class ClientGridSignalTest : public ClientSignalTest {
protected:
    static constexpr uint64_t kCrewA = kGridObjectIdBit | 41;
    static constexpr uint64_t kCrewB = kGridObjectIdBit | 42;

    void SetUp() override
    {
        ClientSignalTest::SetUp();
        hulls.hulls["test_hull"] = qeltest::DrawHull({"####"});
        SetHullSilhouetteSource(&hulls);
        shipId = world.CreateSpaceObject("", "test_hull", 0);
    }
    void TearDown() override
    {
        SetHullSilhouetteSource(nullptr);
        ClientSignalTest::TearDown();
    }

    GridSignal Grid(std::vector<GridSignal::Object> objects)
    {
        GridSignal grid;
        grid.shipId = shipId;
        grid.objects = std::move(objects);
        return grid;
    }
    HullPathSet* Interior() { return world.Interiors().Find(shipId); }

    qeltest::ScopedShipRecord record{qeltest::InteriorRecord(4, 1)};
    qeltest::AuthoredHulls hulls;
    uint64_t shipId = 0;
};

TEST_F(ClientGridSignalTest, a_grid_answer_adds_new_grid_objects_under_the_servers_ids_and_refreshes_known_ones)
{
    Send(Grid({{kCrewA, "Ada", "engineer", "crew", 1, {0, 0, 1, 0}}, {kCrewB, "Bo", "medic", "crew", 0, {}}}));
    ASSERT_NE(Interior(), nullptr) << "the console builds the ship's grid from its own hull";
    ASSERT_EQ(Interior()->GetGridObjectCount(), 2);
    const GridObject* ada = Interior()->GetGridObjectById(kCrewA);
    ASSERT_NE(ada, nullptr);
    EXPECT_EQ(ada->name, "Ada");
    EXPECT_EQ(ada->layer, 1);
    EXPECT_EQ(std::vector<int32_t>(ada->path.begin(), ada->path.end()), (std::vector<int32_t>{0, 0, 1, 0}));

    Send(Grid({{kCrewA, "Ada Lind", "captain", "officer", 3, {2, 0}}}));
    ASSERT_EQ(Interior()->GetGridObjectCount(), 2);
    EXPECT_EQ(ada->name, "Ada Lind");
    EXPECT_EQ(ada->tag, "captain");
    EXPECT_EQ(ada->type, "officer");
    EXPECT_EQ(ada->layer, 3);
    EXPECT_EQ(std::vector<int32_t>(ada->path.begin(), ada->path.end()), (std::vector<int32_t>{2, 0})) << "replaced";
}

TEST_F(ClientGridSignalTest, a_grid_for_a_ship_without_an_interior_here_changes_nothing)
{
    const uint64_t stranger = kSpaceObjectIdBit | 999;
    GridSignal grid = Grid({{kCrewA, "Ada", "", "", 0, {}}});
    grid.shipId = stranger;
    Send(grid);
    hulls.hulls.clear();
    Send(Grid({{kCrewA, "Ada", "", "", 0, {}}}));
    EXPECT_EQ(Interior(), nullptr);
    EXPECT_EQ(world.Interiors().Find(stranger), nullptr);
}

TEST_F(ClientGridSignalTest, a_rebuilt_grid_is_dropped_with_the_new_key_and_a_deleted_grid_object_goes)
{
    Send(Grid({{kCrewA, "Ada", "", "", 0, {}}, {kCrewB, "Bo", "", "", 0, {}}}));
    Send(GridObjectDeletedSignal{kCrewA, shipId});
    Send(GridObjectDeletedSignal{kCrewA, shipId});  // already gone
    ASSERT_NE(Interior(), nullptr);
    ASSERT_EQ(Interior()->GetGridObjectCount(), 1);
    EXPECT_EQ(Interior()->GetGridObjectByIndex(0)->unique_ID, kCrewB);

    Send(DeleteGridSignal{"tern_frigate", shipId});
    EXPECT_EQ(Interior(), nullptr);
    EXPECT_EQ(world.GetSpaceObject(shipId)->data_tag, "tern_frigate");
}

TEST_F(ClientGridSignalTest, grid_object_values_land_in_the_grid_object_of_the_named_ship)
{
    Send(Grid({{kCrewA, "Ada", "", "", 0, {}}}));
    auto sendBlob = [&](uint64_t owner, uint64_t ship, int32_t column) {
        QelNetworkMessage message;
        StartObjectBlobMessage(message, {owner, ship, kBlobOfGridObject});
        ObjectDataBlobElement cell;
        cell.StoreInt(column, 0);
        WriteObjectBlobEntry(message, HashMessageName("curx"), 0, cell);
        CloseObjectBlobMessage(message);
        Deliver(message);
    };
    sendBlob(kCrewA, shipId, 3);
    sendBlob(kCrewB, shipId, 5);                    // not held here
    sendBlob(kCrewA | kSpaceObjectIdBit, shipId, 7);  // an id of two kinds
    sendBlob(kCrewA, kCrewB, 9);                    // a ship id that is no ship's
    EXPECT_EQ(Interior()->GetGridObjectById(kCrewA)->data_set.GetElement("curx", 0).intValue, 3);
}

TEST_F(ClientGridSignalTest, a_process_hosting_the_world_shares_its_grids_and_takes_no_grid_signals)
{
    world.serverFlag = true;
    HullPathSet* interior = GetHullPathSet(shipId, false);
    ASSERT_NE(interior, nullptr);
    interior->AddGridObject(kCrewA, "Ada", "", "");
    Send(Grid({{kCrewA, "someone else", "", "", 0, {}}}));
    Send(GridObjectDeletedSignal{kCrewA, shipId});
    Send(DeleteGridSignal{"tern_frigate", shipId});
    ASSERT_EQ(Interior(), interior);
    EXPECT_EQ(interior->GetGridObjectById(kCrewA)->name, "Ada");
}

// Every code the server sends with a payload has a console handler that reads
// it: with the payload missing, the handler's read runs off the end. A code no
// handler takes would leave the message untouched. The codes without a
// payload (17, 20, 22, 23, 24, 97, 104) have tests of their own.
TEST_F(ClientSignalTest, every_code_the_server_sends_with_a_payload_has_a_handler_that_reads_it)
{
    // 66 and 67, the ship types' draw data and its contents, belong to the
    // render manager's asset transfer.
    const uint16_t serverCodes[] = {0,  1,  2,  5,  6,  7,  12, 16, 18, 19, 21, 25, 26, 27, 28, 29, 30,
                                    31, 35, 37, 38, 40, 42, 44, 45, 49, 50, 51, 53, 54, 56, 57, 58, 59,
                                    60, 61, 63, 64, 65, 70, 71, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88,
                                    89, 90, 92, 94, 96, 98, 99, 102, 103, 105};
    for (uint16_t code : serverCodes) {
        QelNetworkMessage message;
        message.WriteInt64(HashMessageName("signal"));
        message.WriteInt16(static_cast<int16_t>(code));
        Deliver(message);
        EXPECT_TRUE(message.IsBad()) << "code " << code << " has no handler that reads its payload";
    }
}

}  // namespace
