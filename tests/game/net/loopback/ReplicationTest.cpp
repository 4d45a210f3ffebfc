// World replication between a hosting server and a real console in one
// process over loopback: data sets, object records, full objects and the
// console's requests for objects it does not know.

#include "tests/game/net/loopback/ReplicationHarness.h"

#include "game/net/ObjectBlobMessage.h"

#include <cstring>
#include <string>

namespace {

using nettest::ReplicationFixture;

bool SameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameBits(const glm::quat& a, const glm::quat& b)
{
    return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z) && SameBits(a.w, b.w);
}

bool SameBits(const glm::vec3& a, const glm::vec3& b)
{
    return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z);
}

TEST_F(ReplicationFixture, a_data_set_bigger_than_one_message_arrives_whole_across_several)
{
    SpaceObject* object = AddServerObject({100.0f, 0.0f, 0.0f});
    constexpr int kValues = 300;
    const std::string text(90, 'x');
    int64_t bytes = 0;
    for (int i = 0; i < kValues; ++i) {
        object->data_set.SetString("cargo_manifest", text + std::to_string(i), i, "a");
        object->data_set.SetInt64("cargo_mass", 1000000007LL * i, i, "a");
        bytes += 2 * 13 + 2 + static_cast<int64_t>(text.size()) + 8;
    }
    ASSERT_GT(bytes, 2 * QelNetworkMessage::kMessageBufferSize);
    AddClientCopy(object->uniqueID);

    UseWorld(serverWorld);
    server->SendBlob(kBlobOfSpaceObject, object->data_set, object->uniqueID, 0, {clientId}, true);
    ASSERT_TRUE(PumpUntil([&] { return ClientObject(object->uniqueID)->data_set.NumElements("cargo_mass") == kValues; }));
    ASSERT_TRUE(PumpUntil([&] { return ClientObject(object->uniqueID)->data_set.NumElements("cargo_manifest") == kValues; }));
    SpaceObject* copy = ClientObject(object->uniqueID);
    for (int i = 0; i < kValues; ++i) {
        EXPECT_EQ(copy->data_set.GetElement("cargo_manifest", i).stringValue, text + std::to_string(i));
        EXPECT_EQ(copy->data_set.GetElement("cargo_mass", i).intValue, 1000000007LL * i);
    }
}

TEST_F(ReplicationFixture, changed_values_only_are_resent_and_sent_ticks_are_kept_per_console)
{
    SpaceObject* object = AddServerObject({100.0f, 0.0f, 0.0f});
    AddClientCopy(object->uniqueID);
    AdvanceServerTicks(5);
    object->data_set.SetInt("beamCount", 3, 0, "a");
    object->data_set.SetFloat("energy", 500.0f, 0, "a");
    object->data_set.SetString("name_tag", "Halcyon", 0, "a");
    object->data_set.SetInt("hidden_reserve", 9, 0, "a");  // not a visible key
    AdvanceServerTicks(1);  // a value sent in the tick it changed is due again

    server->SendBlobVisibleData(kBlobOfSpaceObject, object->data_set, object->uniqueID, 0, {clientId});
    ASSERT_TRUE(PumpUntil([&] { return ClientObject(object->uniqueID)->data_set.GetElement("name_tag", 0).stringValue == "Halcyon"; }));
    SpaceObject* copy = ClientObject(object->uniqueID);
    EXPECT_EQ(copy->data_set.GetElement("beamCount", 0).intValue, 3);
    EXPECT_FLOAT_EQ(copy->data_set.GetElement("energy", 0).floatValue, 500.0f);
    EXPECT_EQ(copy->data_set.FindElement(HashMessageName("hidden_reserve"), 0), nullptr);

    // Marks on the console's copy show which values come again.
    copy->data_set.SetString("name_tag", "mark", 0, "a");
    copy->data_set.SetInt("beamCount", -1, 0, "a");
    AdvanceServerTicks(5);
    object->data_set.SetInt("beamCount", 3, 0, "a");       // the same integer: no change
    object->data_set.SetFloat("energy", 250.0f, 0, "a");   // a float is always a change
    const uint64_t otherConsole = kClientIdBit | 999;
    server->SendBlobVisibleData(kBlobOfSpaceObject, object->data_set, object->uniqueID, 0, {clientId, otherConsole});
    ASSERT_TRUE(PumpUntil([&] { return copy->data_set.GetElement("energy", 0).floatValue == 250.0f; }));
    EXPECT_EQ(copy->data_set.GetElement("name_tag", 0).stringValue, "mark");
    EXPECT_EQ(copy->data_set.GetElement("beamCount", 0).intValue, -1);

    // The console that never had them got every visible value.
    const ObjectDataBlobElement& name = object->data_set.GetElement("name_tag", 0);
    EXPECT_EQ(name.sentTicks.at(clientId), 6);
    EXPECT_EQ(name.sentTicks.at(otherConsole), 11);
    EXPECT_EQ(object->data_set.GetElement("energy", 0).sentTicks.at(clientId), 11);
}

TEST_F(ReplicationFixture, update_records_round_trip_bit_exactly_and_the_mirror_stores_the_target_state)
{
    SpaceObject* ship = AddServerObject({10.0f, 0.0f, 20.0f});
    AssignShip(ship->uniqueID);
    ASSERT_TRUE(TickUntil([&] { return ClientObject(ship->uniqueID) != nullptr; }));
    SpaceObject* copy = ClientObject(ship->uniqueID);
    const glm::vec3 startPos = copy->pos;

    UseWorld(serverWorld);
    ship->pos = {1234.5677f, -0.0f, 1.0e-39f};  // a denormal and a negative zero
    ship->rot_quat = glm::normalize(glm::quat(0.3f, 0.1f, -0.7f, 0.2f));
    ship->cur_speed = 3.14159274f;
    ship->turn_pitch = 0.001f;
    ship->turn_roll = -0.25f;
    ship->turn_yaw = 7.5e-8f;
    ASSERT_TRUE(TickUntil([&] { return SameBits(copy->targetPos, ship->pos); }));
    EXPECT_TRUE(SameBits(copy->targetOrientation, ship->rot_quat));
    EXPECT_TRUE(SameBits(copy->cur_speed, ship->cur_speed));
    EXPECT_TRUE(SameBits(copy->turn_pitch, ship->turn_pitch));
    EXPECT_TRUE(SameBits(copy->turn_roll, ship->turn_roll));
    EXPECT_TRUE(SameBits(copy->turn_yaw, ship->turn_yaw));
    EXPECT_EQ(copy->lastUpdateTick, clientWorld.TickCount());
    EXPECT_TRUE(SameBits(copy->pos, startPos)) << "the drawn position follows by dead reckoning only";
}

TEST_F(ReplicationFixture, an_unknown_id_is_requested_with_code_3_and_answered_with_the_object_and_its_whole_set)
{
    SpaceObject* ship = AddServerObject({0.0f, 0.0f, 0.0f});
    SpaceObject* station = AddServerObject({300.0f, 5.0f, -400.0f}, SpaceObject::kStaticBit);
    station->side = "alliance";
    station->data_set.SetInt("hidden_reserve", 9, 0, "a");
    station->data_set.SetString("name_tag", "Depot", 0, "a");
    AssignShip(ship->uniqueID);

    // The station is first seen in an update record; the console asks for it.
    ASSERT_TRUE(TickUntil([&] { return client->RequestedIds().count(station->uniqueID) == 1 ||
                                       ClientObject(station->uniqueID) != nullptr; }));
    ASSERT_TRUE(TickUntil([&] {
        const SpaceObject* copy = ClientObject(station->uniqueID);
        return copy && copy->data_set.FindElement(HashMessageName("hidden_reserve"), 0) != nullptr;
    }));
    SpaceObject* copy = ClientObject(station->uniqueID);
    EXPECT_EQ(client->RequestedIds().count(station->uniqueID), 0u);
    EXPECT_EQ(copy->abits, SpaceObject::kStaticBit);
    EXPECT_EQ(copy->pos, station->pos);
    EXPECT_EQ(copy->tick_type, station->tick_type);
    EXPECT_EQ(copy->data_tag, station->data_tag);
    EXPECT_EQ(copy->side, "alliance");
    EXPECT_EQ(copy->exclusion_radius, station->exclusion_radius);
    EXPECT_EQ(copy->fat_radius, station->fat_radius);
    EXPECT_EQ(copy->data_set.GetElement("hidden_reserve", 0).intValue, 9);
    EXPECT_EQ(copy->data_set.GetElement("name_tag", 0).stringValue, "Depot");
}

}  // namespace
