// The console's handling of the server's world, identity and string-map
// signals, without a network: messages are handed to the console's hook as its
// dispatch would.

#include "engine/net/TransportRules.h"
#include "game/net/MessageHooks.h"
#include "game/net/RejectedMessages.h"
#include "game/net/SignalMessage.h"
#include "game/world/ObjectId.h"
#include "game/world/ServerStringMap.h"
#include "game/world/Simulation.h"
#include "tests/game/net/SignalHookSupport.h"

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
    Send(SimulationTickSignal{~uint64_t{0}});
    EXPECT_EQ(world.TickCount(), 1234);
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

}  // namespace
