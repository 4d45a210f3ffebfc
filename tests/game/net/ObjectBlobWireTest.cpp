// What a data set puts on the wire, byte for byte. Consoles of any build read
// these messages, so the layout, the order of the values and the end marker
// are pinned here against bytes spelled out by hand, tag keys included.

#include "game/net/CorvaneServer.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "tests/support/CapturingServer.h"
#include "tests/support/WireBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr uint64_t kConsole = kClientIdBit | 7;
constexpr uint64_t kShipField = 77;

// The tags used, by their keys, in ascending key order.
constexpr uint64_t kEnergy = 0x00B916EDC01D;
constexpr uint64_t kNameTag = 0x0341AAFDED2D;
constexpr uint64_t kWeaponTarget = 0x05FDFD36795D;
constexpr uint64_t kBeamCount = 0x1301D9ABA39E;
constexpr uint64_t kShieldValues = 0x16F4E989078B;

// An entry's head: tag key, index and type.
qeltest::WireBytes& Entry(qeltest::WireBytes& bytes, uint64_t tag, int32_t index, uint8_t type)
{
    return bytes.U64(tag).I32(index).U8(type);
}

class ObjectBlobWireTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gNetworkFactory = &network;
        world.Reset(true, "");
        network.down = true;  // no receive thread
        server.StartHosting();
        network.down = false;
        object = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
    }
    void TearDown() override
    {
        server.StopHosting();
        gNetworkFactory = nullptr;
    }

    // The header every message of this object's set starts with.
    qeltest::WireBytes Header() const
    {
        qeltest::WireBytes header;
        header.U64(HashMessageName("objectBlob")).U64(object->uniqueID).U64(kShipField).I32(kBlobOfSpaceObject);
        return header;
    }

    std::vector<std::vector<uint8_t>> SentBlobs() const
    {
        std::vector<std::vector<uint8_t>> blobs;
        for (const qeltest::CapturingServer::Packet& packet : network.Named("objectBlob")) {
            EXPECT_EQ(packet.recipients, std::vector<uint64_t>{kConsole});
            blobs.push_back(packet.bytes);
        }
        return blobs;
    }

    qeltest::CapturingServer network;
    Simulation world;
    CorvaneServer server{CorvaneServer::Settings{}};
    SpaceObject* object = nullptr;
};

TEST_F(ObjectBlobWireTest, a_whole_set_goes_out_by_ascending_tag_key_then_index)
{
    ObjectDataBlob& set = object->data_set;
    set.SetFloat("shield_val", 30.0f, 2, "a");  // indexes written out of order
    set.SetString("name_tag", "Kestrel", 0, "a");
    set.SetFloat("shield_val", 10.0f, 0, "a");
    set.SetInt("beamCount", -3, 0, "a");
    set.SetUInt64("weapon_target_UID", 0x4000000000000009ull, 0, "a");
    set.SetFloat("shield_val", 20.0f, 1, "a");
    set.SetFloat("energy", 512.5f, 0, "a");
    set.GetElement("untouched", 0);  // read, never set: not sent

    server.SendBlob(kBlobOfSpaceObject, set, object->uniqueID, kShipField, {kConsole}, true);

    qeltest::WireBytes expected = Header();
    Entry(expected, kEnergy, 0, ODBE_FLOAT).F32(512.5f);
    Entry(expected, kNameTag, 0, ODBE_STRING).Str("Kestrel");
    Entry(expected, kWeaponTarget, 0, ODBE_UINT64).U64(0x4000000000000009ull);
    Entry(expected, kBeamCount, 0, ODBE_INT).U64(static_cast<uint64_t>(int64_t{-3}));
    Entry(expected, kShieldValues, 0, ODBE_FLOAT).F32(10.0f);
    Entry(expected, kShieldValues, 1, ODBE_FLOAT).F32(20.0f);
    Entry(expected, kShieldValues, 2, ODBE_FLOAT).F32(30.0f);
    expected.U64(0);
    EXPECT_EQ(SentBlobs(), std::vector<std::vector<uint8_t>>{expected.bytes});
}

TEST_F(ObjectBlobWireTest, visible_values_go_out_in_the_order_of_the_visible_key_list)
{
    ObjectDataBlob& set = object->data_set;
    set.SetFloat("energy", 40.0f, 0, "a");
    set.SetInt("beamCount", 2, 0, "a");
    set.SetString("name_tag", "Osprey", 0, "a");
    set.SetFloat("hidden_reserve", 1.0f, 0, "a");  // not a visible key

    server.SendBlobVisibleData(kBlobOfSpaceObject, set, object->uniqueID, kShipField, {kConsole});

    // "name_tag" comes first in the list, "beamCount" near its end, "energy" last.
    qeltest::WireBytes expected = Header();
    Entry(expected, kNameTag, 0, ODBE_STRING).Str("Osprey");
    Entry(expected, kBeamCount, 0, ODBE_INT).U64(2);
    Entry(expected, kEnergy, 0, ODBE_FLOAT).F32(40.0f);
    expected.U64(0);
    EXPECT_EQ(SentBlobs(), std::vector<std::vector<uint8_t>>{expected.bytes});
}

}  // namespace
