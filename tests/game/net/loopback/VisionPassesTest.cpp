// The passes that reach beyond a ship's own vision, as a bare console
// receives them: what its extra scan sources see, what its science range
// adds, and the shield values around it.

#include "tests/game/net/loopback/ServerHarness.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SpaceObjectRecord.h"
#include "game/world/AppData.h"
#include "game/world/ObjectId.h"

#include <algorithm>

namespace {

using namespace playership;
using nettest::DecodeSignal;
using nettest::Received;

constexpr float kVision = 5000.0f;

struct SentRecord {
    uint64_t id;
    int32_t marker;
};

class VisionPassesTest : public nettest::ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        AppData::Load();
        CorvaneServer::Settings settings;
        settings.visionBaseDistance = kVision;
        MakeServer(settings);
        ship = AddObject({0.0f, 0.0f, 0.0f});
    }

    // A console of the ship, under the console name.
    QelNetworkClient* Crew(const std::string& consoleName)
    {
        const uint64_t id = Connect(consoleName);
        ClientRecord* record = server->FindClient(id);
        record->SetConsoleName(consoleName);
        record->shipId = ship->uniqueID;
        return consoles.back();
    }

    void AddScanSource(const SpaceObject& source)
    {
        const int32_t count = static_cast<int32_t>(ReadInt(ship->data_set, kNumExtraScanSources));
        ship->data_set.SetUInt64(std::string(kExtraScanSource.name), source.uniqueID, count, "a");
        DeclareInt(ship->data_set, kNumExtraScanSources, count + 1);
    }

    // Runs server ticks, one frame each, every tick's messages arrived
    // before the next (a burst of unreliable records never fills a console's
    // socket), then the frames of Settle.
    void RunTicks(int ticks)
    {
        for (int tick = 0; tick < ticks; ++tick) {
            world.clock.time_tick_counter += 1;
            server->FrameUpdate();
            AwaitDelivery();
        }
        Settle();
    }

    // The records of every "spaceobjectupdate" a console received, and how
    // many of those messages held no record at all.
    std::vector<SentRecord> Records(QelNetworkClient* console, int* emptyMessages = nullptr)
    {
        std::vector<SentRecord> records;
        int empty = 0;
        for (const Received& r : received[console]) {
            if (r.key != HashMessageName("spaceobjectupdate"))
                continue;
            QelNetworkMessage message;
            message.WriteBytes(r.bytes.data(), static_cast<int32_t>(r.bytes.size()));
            message.readIndex = 8;
            uint64_t id = 0;
            bool any = false;
            while ((message.ReadInt64(id), id != 0) && !message.IsBad()) {
                SpaceObjectRecord record;
                EXPECT_TRUE(ReadSpaceObjectRecordBody(message, record));
                records.push_back({id, record.marker});
                any = true;
            }
            empty += any ? 0 : 1;
        }
        if (emptyMessages)
            *emptyMessages = empty;
        return records;
    }

    static int Times(const std::vector<SentRecord>& records, uint64_t id)
    {
        return static_cast<int>(std::count_if(records.begin(), records.end(), [id](const SentRecord& r) { return r.id == id; }));
    }

    SpaceObject* ship = nullptr;
};

TEST_F(VisionPassesTest, extra_scan_sources_show_what_lies_beyond_vision_once_every_16_runs)
{
    // A torpedo beside the ship keeps the fast pass's messages from being
    // empty, so an empty message is the friend-eyes pass's.
    AddObject({10.0f, 0.0f, 10.0f}, SpaceObject::kFastMoverBit);
    QelNetworkClient* console = Crew("helm");
    // The pass runs every 15 ticks from tick 0 and prepares a round of 16
    // runs every 240 ticks; the ship's consoles are grouped by then.
    constexpr int kRound = 16 * 15;
    RunTicks(kRound - 1);
    received[console].clear();
    RunTicks(kRound);
    int empty = 0;
    Records(console, &empty);
    EXPECT_EQ(empty, 16) << "no sources: an empty message every run";

    SpaceObject* east = AddObject({20000.0f, 0.0f, 0.0f});
    SpaceObject* eastToo = AddObject({20200.0f, 0.0f, 0.0f});
    AddScanSource(*east);
    AddScanSource(*eastToo);
    SpaceObject* freighter = AddObject({20100.0f, 0.0f, 0.0f});  // seen by both sources
    SpaceObject* rock = AddObject({20050.0f, 0.0f, 60.0f}, SpaceObject::kStaticBit);
    received[console].clear();
    RunTicks(kRound);
    std::vector<SentRecord> records = Records(console, &empty);
    EXPECT_EQ(Times(records, freighter->uniqueID), 1) << "one round sends each object once";
    EXPECT_EQ(Times(records, east->uniqueID), 1);
    EXPECT_EQ(Times(records, rock->uniqueID), 0) << "static objects only for a high-information ship";
    EXPECT_EQ(empty, 16 - 3) << "three objects dealt into three of the 16 buckets";
    for (const SentRecord& record : records) {
        if (record.id == freighter->uniqueID) {
            EXPECT_EQ(record.marker, kRecordMarkerNearby);
        }
    }

    DeclareInt(ship->data_set, kHighInformationShipFlag, 1);
    received[console].clear();
    RunTicks(kRound);
    EXPECT_EQ(Times(Records(console), rock->uniqueID), 1);
}

TEST_F(VisionPassesTest, science_consoles_see_out_to_the_science_range_which_energy_shortens)
{
    ObjectDataBlob& data = ship->data_set;
    for (const DataKey& key : {kSensorDamageCoeff, kSensorUpgradeCoeff, kScanStrengthCoeff})
        DeclareFloat(data, key, 1.0f);
    DeclareFloat(data, kEngControlValue, 1.0f, 5);
    DeclareFloat(data, kEnergy, 100.0f);
    const float range = AppData::GetFloat("player-vision-science-coeff") * kVision;
    ASSERT_GT(range, kVision);
    SpaceObject* atVision = AddObject({kVision, 0.0f, 0.0f});
    SpaceObject* between = AddObject({0.0f, 0.0f, -(kVision + range) / 2});
    SpaceObject* torpedo = AddObject({kVision + 10.0f, 0.0f, 0.0f}, SpaceObject::kFastMoverBit);
    SpaceObject* atRange = AddObject({0.0f, 0.0f, range});
    SpaceObject* beyond = AddObject({range + 1.0f, 0.0f, 0.0f});
    QelNetworkClient* science = Crew("science");
    QelNetworkClient* helm = Crew("helm");

    RunTicks(61);
    EXPECT_FLOAT_EQ(ReadFloat(data, kShipScienceScanRange), range);
    std::vector<SentRecord> seen;
    for (const SentRecord& record : Records(science))
        if (record.marker == kRecordMarkerScienceRange)
            seen.push_back(record);
    for (const SpaceObject* expected : {between, torpedo, atRange})
        EXPECT_GE(Times(seen, expected->uniqueID), 1) << std::hex << expected->uniqueID;
    EXPECT_EQ(Times(seen, atVision->uniqueID), 0) << "the vision's own edge belongs to the update passes";
    EXPECT_EQ(Times(seen, beyond->uniqueID), 0);
    for (const SentRecord& record : Records(helm))
        EXPECT_NE(record.marker, kRecordMarkerScienceRange) << "only science consoles";

    DeclareFloat(data, kEnergy, 0.0f);
    RunTicks(61);
    EXPECT_FLOAT_EQ(ReadFloat(data, kShipScienceScanRange), range / 5.0f);
}

TEST_F(VisionPassesTest, shield_values_go_out_one_per_facing_and_every_fourth_round_around_the_sources)
{
    SpaceObject* escort = AddObject({800.0f, 0.0f, 0.0f});
    DeclareInt(escort->data_set, kShieldCount, 3);
    for (int32_t facing = 0; facing < 3; ++facing)
        DeclareFloat(escort->data_set, kShieldVal, 10.0f * facing + 5.0f, facing);
    SpaceObject* source = AddObject({30000.0f, 0.0f, 0.0f});
    AddScanSource(*source);
    SpaceObject* distant = AddObject({30100.0f, 0.0f, 0.0f});
    DeclareInt(distant->data_set, kShieldCount, 1);
    QelNetworkClient* console = Crew("helm");

    // One ship: a step every 121 ticks, serving it every second step, so four
    // rounds take about 970 ticks.
    RunTicks(1000);
    std::vector<FloatValueToClientSignal> values;
    for (const Received& r : received[console]) {
        FloatValueToClientSignal value;
        if (r.code == SIGNAL_MESS_FLOAT_VALUE && DecodeSignal(r, value))
            values.push_back(value);
    }
    std::vector<int32_t> escortFacings;
    int distantValues = 0;
    for (const FloatValueToClientSignal& value : values) {
        EXPECT_EQ(value.key, "shield_val");
        if (value.objectId == escort->uniqueID) {
            escortFacings.push_back(value.index);
            EXPECT_EQ(value.value, 10.0f * value.index + 5.0f);
        }
        distantValues += value.objectId == distant->uniqueID ? 1 : 0;
    }
    EXPECT_EQ(escortFacings, (std::vector<int32_t>{0, 1, 2, 0, 1, 2, 0, 1, 2})) << "three rounds around the ship";
    EXPECT_EQ(distantValues, 1) << "one round around the source";
}

}  // namespace
