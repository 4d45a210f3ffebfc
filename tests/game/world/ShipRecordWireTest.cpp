#include "game/world/ShipData.h"

#include "engine/base/QelNetworkMessage.h"
#include "tests/game/world/ShipRecordExpect.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

// Bytes of every record whatever its content: the numbers of the wire form
// without the strings, the shield values and the torpedo entries.
constexpr int32_t kFixedBytes = 1756;

// A record in which every field differs from its neighbours, so a field sent
// in the wrong place shows; it also carries values that only survive a
// bit-for-bit copy (negative zero, a subnormal).
ShipDataRecord FullRecord(const std::string& key = "tern_frigate") {
    ShipDataRecord rec;
    float next = 1.0f;
    auto v = [&next] { return next += 0.25f; };
    rec.key = key;
    rec.name = "tern frigate";
    rec.side = "meridian";
    rec.origin = "meridian";
    rec.artFileRoot = "Tern_Frigate";
    rec.longDesc = "A frigate.";
    rec.meshScale = -0.0f;
    rec.radarScale = std::numeric_limits<float>::denorm_min();
    rec.defaultSide = v();
    rec.meshRotate = v();
    rec.hullPoints = v();
    rec.moveSpeed = v();
    rec.exclusionRadius = v();
    rec.interactionRadius = v();
    rec.internalMapScale = v();
    rec.internalMapW = 12;
    rec.internalMapH = -24;
    rec.internalSymmetry = 1;
    rec.turn_rate = v();
    rec.speed_coeff = v();
    rec.ship_energy_cost = v();
    rec.warp_energy_cost = v();
    rec.jump_energy_cost = v();
    rec.drone_launch_timer = v();
    rec.scan_strength_coeff = v();
    rec.bayCount = 3;
    rec.shields = {v(), v(), v()};
    for (ShipExhaustPort& port : rec.exhaustPorts) {
        port.position = {v(), v(), v()};
        port.color = {v(), v(), v(), v()};
    }
    rec.tubeCount = 12;
    rec.torpedoStartTypes = {"Homing", "Nuke", ""};
    rec.torpedoStartCounts = {8, -2, 4};
    for (ShipBeamPort& beam : rec.beamPorts) {
        beam = {v(), v(), v(), v(), v(), {v(), v(), v()}, {v(), v(), v(), v()}, {v(), v(), v(), v()}};
    }
    for (int k = 0; k < 12; ++k) rec.torpedoTubePositions[k] = {v(), v(), v()};
    rec.roles = {"frigate"};
    rec.monsterStyle = "glow";
    return rec;
}

using qeltest::Bits;

// The record as the client should hold it: the unsent fields left empty.
ShipDataRecord AsReceived(ShipDataRecord rec) {
    rec.origin.clear();
    rec.interactionRadius = 0;
    rec.drone_launch_timer = 0;
    rec.scan_strength_coeff = 0;
    rec.bayCount = 0;
    rec.roles.clear();
    rec.monsterStyle.clear();
    for (int k = 10; k < kShipTorpedoTubeSlots; ++k) rec.torpedoTubePositions[k] = glm::vec3(0.0f);
    return rec;
}

void ExpectSameBits(const ShipDataRecord& got, const ShipDataRecord& want) {
    EXPECT_EQ(got.key, want.key);
    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.side, want.side);
    EXPECT_EQ(got.origin, want.origin);
    EXPECT_EQ(got.artFileRoot, want.artFileRoot);
    EXPECT_EQ(got.longDesc, want.longDesc);
    auto scalars = [](const ShipDataRecord& r) {
        return Bits({r.meshScale, r.radarScale, r.defaultSide, r.meshRotate, r.hullPoints, r.moveSpeed,
                     r.exclusionRadius, r.interactionRadius, r.internalMapScale, r.turn_rate, r.speed_coeff,
                     r.ship_energy_cost, r.warp_energy_cost, r.jump_energy_cost, r.drone_launch_timer,
                     r.scan_strength_coeff});
    };
    EXPECT_EQ(scalars(got), scalars(want));
    EXPECT_EQ(got.internalMapW, want.internalMapW);
    EXPECT_EQ(got.internalMapH, want.internalMapH);
    EXPECT_EQ(got.internalSymmetry, want.internalSymmetry);
    EXPECT_EQ(got.bayCount, want.bayCount);
    EXPECT_EQ(got.shields, want.shields);
    for (int k = 0; k < kShipExhaustPortSlots; ++k) {
        EXPECT_EQ(Bits(got.exhaustPorts[k].position), Bits(want.exhaustPorts[k].position)) << k;
        EXPECT_EQ(Bits(got.exhaustPorts[k].color), Bits(want.exhaustPorts[k].color)) << k;
    }
    EXPECT_EQ(got.tubeCount, want.tubeCount);
    EXPECT_EQ(got.torpedoStartTypes, want.torpedoStartTypes);
    EXPECT_EQ(got.torpedoStartCounts, want.torpedoStartCounts);
    for (int k = 0; k < kShipBeamPortSlots; ++k) {
        SCOPED_TRACE(k);
        qeltest::ExpectSameBeamPort(got.beamPorts[k], want.beamPorts[k]);
    }
    for (int k = 0; k < kShipTorpedoTubeSlots; ++k)
        EXPECT_EQ(Bits(got.torpedoTubePositions[k]), Bits(want.torpedoTubePositions[k])) << k;
    EXPECT_EQ(got.roles, want.roles);
    EXPECT_EQ(got.monsterStyle, want.monsterStyle);
}

class CountingDrawData : public ShipDrawDataService {
public:
    void ReplaceDrawData(const std::string& shipKey) override { replaced.push_back(shipKey); }
    std::vector<std::string> replaced;
};

int32_t StringBytes(const ShipDataRecord& rec) {
    int32_t n = 0;
    for (const std::string* s : {&rec.key, &rec.name, &rec.side, &rec.artFileRoot, &rec.longDesc})
        n += 2 + static_cast<int32_t>(s->size());
    return n;
}

// Where fields of a packed FullRecord sit, for the tests that corrupt them.
int32_t HullPointsAt(const ShipDataRecord& rec) { return StringBytes(rec) + 4 * 4; }
int32_t ShieldCountAt(const ShipDataRecord& rec) { return StringBytes(rec) + 64; }
int32_t TorpedoCountAt(const ShipDataRecord& rec) {
    return ShieldCountAt(rec) + 4 + 4 * static_cast<int32_t>(rec.shields.size()) + 400 + 4;
}

void Poke(QelNetworkMessage& m, int32_t at, int32_t value) { std::memcpy(m.buffer + at, &value, sizeof value); }
void Poke(QelNetworkMessage& m, int32_t at, float value) { std::memcpy(m.buffer + at, &value, sizeof value); }

TEST(ShipRecordWire, every_sent_field_arrives_bit_for_bit_and_unsent_ones_stay_empty) {
    const ShipDataRecord sent = FullRecord();
    QelNetworkMessage m;
    ShipData::PackRecordToMessage(sent, m);
    ShipData client;
    CountingDrawData drawData;
    client.SetDrawDataService(&drawData);

    ASSERT_EQ(client.UnPackRecordToData(m), ShipRecordReceipt::Stored);
    EXPECT_EQ(m.BytesLeftToRead(), 0);
    const ShipDataRecord* got = client.Find("tern_frigate");
    ASSERT_NE(got, nullptr);
    ExpectSameBits(*got, AsReceived(sent));
    EXPECT_EQ(got->tubeCount, 12);  // the server's count, though only 10 positions travel
    EXPECT_THAT(drawData.replaced, ::testing::ElementsAre("tern_frigate"));
    EXPECT_TRUE(client.extraRecords.empty());  // received records are not file records
}

TEST(ShipRecordWire, packed_size_is_strings_fixed_part_shields_and_torpedo_entries) {
    ShipDataRecord rec = FullRecord();
    QelNetworkMessage m;
    ShipData::PackRecordToMessage(rec, m);
    const int32_t torpedoEntries = (2 + 6 + 4) + (2 + 4 + 4) + (2 + 0 + 4);
    EXPECT_EQ(m.writeIndex, StringBytes(rec) + kFixedBytes + 3 * 4 + torpedoEntries);
}

TEST(ShipRecordWire, record_without_shields_arrives_with_an_empty_list) {
    ShipDataRecord rec = FullRecord();
    rec.shields.clear();
    QelNetworkMessage m;
    ShipData::PackRecordToMessage(rec, m);
    ShipData client;
    ASSERT_EQ(client.UnPackRecordToData(m), ShipRecordReceipt::Stored);
    EXPECT_TRUE(client.Find("tern_frigate")->shields.empty());
}

TEST(ShipRecordWire, second_record_of_a_known_key_is_ignored_after_its_key) {
    QelNetworkMessage first;
    ShipData::PackRecordToMessage(FullRecord(), first);
    ShipDataRecord changed = FullRecord();
    changed.hullPoints = 9999;
    QelNetworkMessage second;
    ShipData::PackRecordToMessage(changed, second);

    ShipData client;
    CountingDrawData drawData;
    client.SetDrawDataService(&drawData);
    ASSERT_EQ(client.UnPackRecordToData(first), ShipRecordReceipt::Stored);
    EXPECT_EQ(client.UnPackRecordToData(second), ShipRecordReceipt::AlreadyKnown);
    EXPECT_EQ(second.readIndex, 2 + static_cast<int32_t>(changed.key.size()));
    EXPECT_EQ(client.Find("tern_frigate")->hullPoints, FullRecord().hullPoints);
    EXPECT_EQ(drawData.replaced.size(), 1u);
}

TEST(ShipRecordWire, every_truncation_is_rejected_whole) {
    const ShipDataRecord rec = FullRecord();
    QelNetworkMessage whole;
    ShipData::PackRecordToMessage(rec, whole);
    ShipData client;
    CountingDrawData drawData;
    client.SetDrawDataService(&drawData);
    for (int32_t length = 0; length < whole.writeIndex; ++length) {
        QelNetworkMessage cut;
        cut.WriteBytes(whole.buffer, length);
        ASSERT_EQ(client.UnPackRecordToData(cut), ShipRecordReceipt::Malformed) << length;
    }
    EXPECT_TRUE(client.extraKeys.empty());
    EXPECT_TRUE(client.receivedRecords.empty());
    EXPECT_TRUE(drawData.replaced.empty());
    EXPECT_EQ(client.malformedRecordCount, whole.writeIndex);
}

TEST(ShipRecordWire, malformed_records_are_rejected_whole) {
    const ShipDataRecord rec = FullRecord();
    const int32_t hull = HullPointsAt(rec);
    const int32_t shields = ShieldCountAt(rec);
    const int32_t torpedoes = TorpedoCountAt(rec);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        std::function<void(QelNetworkMessage&)> corrupt;
    } cases[] = {
        {"negative shield count", [&](auto& m) { Poke(m, shields, int32_t{-1}); }},
        {"shield count over the cap", [&](auto& m) { Poke(m, shields, int32_t{65}); }},
        {"shield count past the message", [&](auto& m) { Poke(m, shields, m.writeIndex); }},
        {"huge shield count", [&](auto& m) { Poke(m, shields, int32_t{0x7fffffff}); }},
        {"shield count one too many", [&](auto& m) { Poke(m, shields, int32_t{4}); }},
        {"negative torpedo type count", [&](auto& m) { Poke(m, torpedoes, int32_t{-3}); }},
        {"torpedo type count over the cap", [&](auto& m) { Poke(m, torpedoes, int32_t{65}); }},
        {"torpedo type count one too many", [&](auto& m) { Poke(m, torpedoes, int32_t{4}); }},
        {"torpedo name longer than the message", [&](auto& m) { Poke(m, torpedoes + 4, int32_t{0x7fff}); }},
        {"key longer than the message", [&](auto& m) { m.buffer[0] = 0xff, m.buffer[1] = 0x7f; }},
        {"negative key length", [&](auto& m) { m.buffer[0] = 0xff, m.buffer[1] = 0xff; }},
        {"negative hull points", [&](auto& m) { Poke(m, hull, -1.0f); }},
        {"NaN move speed", [&](auto& m) { Poke(m, hull + 4, nan); }},
        {"negative exclusion radius", [&](auto& m) { Poke(m, hull + 8, -0.5f); }},
        {"negative ship energy cost", [&](auto& m) { Poke(m, hull + 36, -1.0f); }},
        {"negative warp energy cost", [&](auto& m) { Poke(m, hull + 40, -1.0f); }},
        {"negative jump energy cost", [&](auto& m) { Poke(m, hull + 44, -1.0f); }},
        {"infinite mesh scale", [&](auto& m) { Poke(m, hull - 16, std::numeric_limits<float>::infinity()); }},
        {"NaN shield value", [&](auto& m) { Poke(m, shields + 4, nan); }},
        {"NaN last beam barrel angle", [&](auto& m) { Poke(m, m.writeIndex - 4, nan); }},
    };
    for (const Case& c : cases) {
        QelNetworkMessage m;
        ShipData::PackRecordToMessage(rec, m);
        c.corrupt(m);
        ShipData client;
        EXPECT_EQ(client.UnPackRecordToData(m), ShipRecordReceipt::Malformed) << c.what;
        EXPECT_TRUE(client.extraKeys.empty()) << c.what;
        EXPECT_EQ(client.malformedRecordCount, 1) << c.what;
    }
}

TEST(ShipRecordWire, empty_key_is_rejected) {
    QelNetworkMessage m;
    ShipData::PackRecordToMessage(FullRecord(""), m);
    ShipData client;
    EXPECT_EQ(client.UnPackRecordToData(m), ShipRecordReceipt::Malformed);
    EXPECT_TRUE(client.extraKeys.empty());
}

}  // namespace
