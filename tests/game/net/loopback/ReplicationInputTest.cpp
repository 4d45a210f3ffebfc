// Malformed replication messages change nothing on either side and never
// stop the program: short messages, ids of the wrong kind, values that are
// not numbers.

#include "tests/game/net/loopback/ReplicationHarness.h"

#include "game/net/MessageHooks.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/net/SignalMessage.h"
#include "game/net/SpaceObjectRecord.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

using nettest::ReplicationFixture;

constexpr uint64_t kKnown = kSpaceObjectIdBit | 4;
constexpr uint64_t kUnknown = kSpaceObjectIdBit | 77;
constexpr uint64_t kLacksBit62 = 77;
constexpr uint64_t kGridId = kGridObjectIdBit | kSpaceObjectIdBit | 77;

void WriteRecord(QelNetworkMessage& m, uint64_t id, float x)
{
    m.WriteInt64(id).WriteFloat(1.0f).WriteFloat(x).WriteFloat(0.0f).WriteFloat(0.0f);
    m.WriteFloat(0.0f).WriteFloat(0.0f).WriteFloat(0.0f).WriteFloat(1.0f);
    m.WriteFloat(0.0f).WriteFloat(0.0f).WriteFloat(0.0f).WriteInt32(kRecordMarkerNearby);
}

void WriteFullObject(QelNetworkMessage& m, uint64_t id, float fatRadius, bool withSide)
{
    m.WriteInt16(0);
    WriteRecord(m, id, 50.0f);
    m.WriteString("behav_test_none").WriteString("test_hull").WriteFloat(1.0f).WriteFloat(fatRadius);
    if (withSide)
        m.WriteString("alliance");
}

void WriteBlob(QelNetworkMessage& m, uint64_t owner, bool closed)
{
    m.WriteInt64(owner).WriteInt64(0).WriteInt32(kBlobOfSpaceObject);
    m.WriteInt64(HashMessageName("energy")).WriteInt32(0).WriteInt8(ODBE_FLOAT).WriteFloat(99.0f);
    if (closed)
        m.WriteInt64(0);
}

struct MalformedCase {
    const char* name;
    const char* messageName;
    std::function<void(QelNetworkMessage&)> write;
    int32_t cutBytes = 0;  // taken off the end
};

class ReplicationInputTest : public ReplicationFixture {
protected:
    void SetUp() override
    {
        ReplicationFixture::SetUp();
        UseWorld(clientWorld);
        known = AddClientCopy(kKnown);
        known->data_set.SetFloat("energy", 1.0f, 0, "a");
    }

    // Hands the message to the console's handler as the dispatch would.
    void Deliver(const MalformedCase& c)
    {
        QelNetworkMessage m;
        m.WriteInt64(HashMessageName(c.messageName));
        c.write(m);
        m.writeIndex -= c.cutBytes;
        m.readIndex = 8;
        UseWorld(clientWorld);
        ASSERT_TRUE(CallClientHook(HashMessageName(c.messageName), m, client.get()));
    }

    SpaceObject* known = nullptr;
};

TEST_F(ReplicationInputTest, malformed_console_messages_change_nothing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const MalformedCase cases[] = {
        {"update_cut_inside_a_record", "spaceobjectupdate",
         [](QelNetworkMessage& m) { WriteRecord(m, kKnown, 50.0f); WriteRecord(m, kUnknown, 1.0f); m.WriteInt64(0); }, 20},
        {"update_without_end_marker", "spaceobjectupdate",
         [](QelNetworkMessage& m) { WriteRecord(m, kKnown, 50.0f); }, 0},
        {"update_with_a_client_id_after_a_good_record", "spaceobjectupdate",
         [](QelNetworkMessage& m) { WriteRecord(m, kKnown, 50.0f); WriteRecord(m, kClientIdBit | 501, 1.0f); m.WriteInt64(0); }, 0},
        {"update_id_lacking_bit_62", "spaceobjectupdate",
         [](QelNetworkMessage& m) { WriteRecord(m, kLacksBit62, 50.0f); m.WriteInt64(0); }, 0},
        {"update_with_a_position_that_is_no_number", "spaceobjectupdate",
         [nan](QelNetworkMessage& m) { WriteRecord(m, kKnown, 50.0f); WriteRecord(m, kUnknown, nan); m.WriteInt64(0); }, 0},
        {"full_object_id_lacking_bit_62", "fullobject",
         [](QelNetworkMessage& m) { WriteFullObject(m, kLacksBit62, 20.0f, true); }, 0},
        {"full_object_grid_id", "fullobject",
         [](QelNetworkMessage& m) { WriteFullObject(m, kGridId, 20.0f, true); }, 0},
        {"full_object_cut_before_its_side", "fullobject",
         [](QelNetworkMessage& m) { WriteFullObject(m, kUnknown, 20.0f, false); }, 0},
        {"full_object_infinite_radius", "fullobject",
         [](QelNetworkMessage& m) { WriteFullObject(m, kUnknown, std::numeric_limits<float>::infinity(), true); }, 0},
        {"blob_cut_inside_an_entry", "objectBlob",
         [](QelNetworkMessage& m) { WriteBlob(m, kKnown, true); }, 10},
        {"blob_without_end_marker", "objectBlob",
         [](QelNetworkMessage& m) { WriteBlob(m, kKnown, false); }, 0},
        {"blob_owner_lacking_bit_62", "objectBlob",
         [](QelNetworkMessage& m) { WriteBlob(m, 4, true); }, 0},
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.name);
        Deliver(c);
        EXPECT_EQ(clientWorld.Container()->Objects().size(), 1u);
        EXPECT_EQ(known->targetPos, glm::vec3(0.0f));
        EXPECT_EQ(known->lastUpdateTick, 0);
        EXPECT_EQ(known->data_set.GetElement("energy", 0).floatValue, 1.0f);
        EXPECT_TRUE(client->RequestedIds().empty());
        EXPECT_TRUE(client->RequestQueue().empty());
    }
}

TEST_F(ReplicationInputTest, well_formed_messages_of_the_same_shapes_apply)
{
    Deliver({"update", "spaceobjectupdate",
             [](QelNetworkMessage& m) { WriteRecord(m, kKnown, 50.0f); WriteRecord(m, kUnknown, 1.0f); m.WriteInt64(0); }});
    EXPECT_EQ(known->targetPos, glm::vec3(50.0f, 0.0f, 0.0f));
    EXPECT_EQ(client->RequestQueue(), std::vector<uint64_t>{kUnknown});
    Deliver({"again", "spaceobjectupdate",
             [](QelNetworkMessage& m) { WriteRecord(m, kUnknown, 1.0f); m.WriteInt64(0); }});
    EXPECT_EQ(client->RequestQueue().size(), 1u) << "an id already asked for is not queued twice";

    Deliver({"blob", "objectBlob", [](QelNetworkMessage& m) { WriteBlob(m, kKnown, true); }});
    EXPECT_EQ(known->data_set.GetElement("energy", 0).floatValue, 99.0f);

    Deliver({"full", "fullobject", [](QelNetworkMessage& m) { WriteFullObject(m, kUnknown, 20.0f, true); }});
    const SpaceObject* created = ClientObject(kUnknown);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->pos, glm::vec3(50.0f, 0.0f, 0.0f));
    EXPECT_EQ(created->side, "alliance");
    EXPECT_TRUE(client->RequestedIds().empty());
}

class FullObjectRequestTest : public ReplicationFixture {
protected:
    // Hands a full-object request to the server's handler as the dispatch
    // would, less the bytes taken off its end.
    void Request(const std::vector<uint64_t>& ids, int32_t cutBytes = 0)
    {
        QelNetworkMessage m;
        m.WriteInt64(HashMessageName("signal"));
        WriteSignal(m, FullObjectRequestSignal{ids});
        m.writeIndex -= cutBytes;
        m.readIndex = 8;
        m.sender = clientId;
        UseWorld(serverWorld);
        ASSERT_TRUE(CallServerHook(HashMessageName("signal"), m));
    }

    static bool Answered(const SpaceObject* object)
    {
        const ObjectDataBlobElement* e = object->data_set.FindElement(HashMessageName("hidden_reserve"), 0);
        return e && !e->sentTicks.empty();
    }

    size_t CountAnswered() const
    {
        return std::count_if(objects.begin(), objects.end(), Answered);
    }

    void AddObjects(int count)
    {
        for (int i = 0; i < count; ++i) {
            SpaceObject* object = AddServerObject({static_cast<float>(i) * 100.0f, 0.0f, 0.0f});
            object->data_set.SetInt("hidden_reserve", 9, 0, "a");
            objects.push_back(object);
        }
    }

    std::vector<SpaceObject*> objects;
};

// A request with one id of another kind once went unanswered whole.
TEST_F(FullObjectRequestTest, ids_of_another_kind_are_skipped_and_a_cut_request_is_dropped)
{
    AddObjects(2);
    Request({objects[0]->uniqueID}, 4);
    ServerFrame();
    EXPECT_EQ(CountAnswered(), 0u);

    Request({kLacksBit62, objects[0]->uniqueID, kClientIdBit | 501, kGridId, objects[1]->uniqueID});
    ServerFrame();
    EXPECT_EQ(CountAnswered(), 2u);
    EXPECT_TRUE(PumpUntil([&] { return ClientObject(objects[0]->uniqueID) && ClientObject(objects[1]->uniqueID); }));
}

// A console once stalled the server for seconds with requests naming one id a
// thousand times: every copy got a full object and a whole data set.
TEST_F(FullObjectRequestTest, each_object_is_answered_once_and_a_few_per_frame)
{
    AddObjects(25);
    std::vector<uint64_t> ids;
    for (const SpaceObject* object : objects)
        ids.push_back(object->uniqueID);
    const std::vector<uint64_t> sameIdOften(1000, objects[0]->uniqueID);
    for (int i = 0; i < 30; ++i)
        Request(sameIdOften);
    const std::vector<uint64_t>& pending = server->FindClient(clientId)->pendingFullObjects;
    EXPECT_EQ(pending, std::vector<uint64_t>{objects[0]->uniqueID});
    Request(ids);
    EXPECT_EQ(pending, ids);

    ServerFrame();
    EXPECT_EQ(CountAnswered(), 10u);
    ServerFrame();
    ServerFrame();
    EXPECT_EQ(CountAnswered(), objects.size());
    EXPECT_TRUE(pending.empty());
    EXPECT_TRUE(PumpUntil([&] {
        return std::all_of(objects.begin(), objects.end(),
                           [&](const SpaceObject* object) { return ClientObject(object->uniqueID) != nullptr; });
    }));
}

}  // namespace
