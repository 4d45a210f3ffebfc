// Ship records a console received, kept in the data folder's fetched document
// and read back at the next start.

#include "game/world/ShipData.h"

#include "engine/base/QelNetworkMessage.h"
#include "helper/Hjson.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const char* const kFetchedFile = "fetchedShipData.json";

// A hull as a ship list defines it, with every part the wire carries: shields,
// a starting torpedo load, beams and exhausts in both forms, tubes.
std::string HullEntry(const std::string& key, const std::string& artRoot)
{
    return "{ key: \"" + key + "\", name: \"" + key + " hull\", side: \"skarn\", origin: \"skarn\"\n"
           "  artfileroot: \"" + artRoot + "\", long_desc: \"A hull fetched from a server.\"\n"
           "  meshscale: 0.4, radarscale: 1.25, defaultside: 1, meshrotate: 2, hullpoints: 300\n"
           "  monster_style: \"\"\n"
           "  movespeed: 6.5, exclusionradius: 120, interactionradius: 0, turn_rate: 1.7\n"
           "  internalmapscale: 1.5, internalmapw: 12, internalmaph: 20, internalsymmetry: 1\n"
           "  shields: [100, 80.5, 60]\n"
           "  torpedostart: [ { Homing: 6, Nuke: 1 } ]\n"
           "  hull_port_sets: {\n"
           "    beam: [ { position: [-40, 0, 120], arcwidth: 90, damage_coeff: 12, cycle_time: 3, range: 1500,\n"
           "              barrel_angle: 0, color: \"#40c0ff\", arccolor: \"#1a5c80\" }\n"
           "            { position: [50, 2.5, -60], arcwidth: 120, damage_coeff: 8, cycle_time: 4, range: 1200,\n"
           "              barrel_angle: 90, color: \"#ff8020\", arccolor: \"#80402080\" } ]\n"
           "    exhaust: [ { position: [-30, 0, -150], color: \"#60a0ff\" } ]\n"
           "  }\n"
           "  hullportsets: [ { type: \"torpedo\", position: [[-20, -10, 150], [20, -10, 150]] } ]\n"
           "}\n";
}

std::string List(const std::string& entries)
{
    return "{ \"#ship-list\": [\n" + entries + "] }";
}

// The record's wire form, as the server sends it.
std::string Wire(const ShipDataRecord& record)
{
    QelNetworkMessage message;
    ShipData::PackRecordToMessage(record, message);
    return std::string(reinterpret_cast<const char*>(message.buffer), static_cast<size_t>(message.writeIndex));
}

class ShipDataFetchedTest : public ::testing::Test {
protected:
    // The server's definition of the key, received by the console.
    void Receive(const std::string& key, const std::string& artRoot = "FetchedHull")
    {
        ShipData::LoadDocument(server.mainRecords, server.mainKeys, Hjson::Unmarshal(List(HullEntry(key, artRoot))),
                               "server");
        Deliver(key, console);
    }
    void Deliver(const std::string& key, ShipData& to)
    {
        QelNetworkMessage message;
        ShipData::PackRecordToMessage(*server.FindDefined(key), message);
        ASSERT_EQ(to.UnPackRecordToData(message), ShipRecordReceipt::Stored);
    }

    std::filesystem::path Fetched() const { return data.Path() / kFetchedFile; }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    ShipData server;
    ShipData console;
};

// The next start (a new set of definitions) knows both hulls without a miss,
// each exactly as the server sent it; the game's own list is not written.
TEST_F(ShipDataFetchedTest, received_records_kept_in_the_data_folder_come_back_whole_at_the_next_start)
{
    Receive("raider_mk2");
    Receive("carrier_mk2", "sub/CarrierArt");
    ASSERT_TRUE(console.StoreReceivedRecord("raider_mk2"));
    ASSERT_TRUE(console.StoreReceivedRecord("carrier_mk2"));
    EXPECT_TRUE(console.StoreReceivedRecord("raider_mk2")) << "kept already";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data.Path()), {}), 1) << "one document, no leftovers";

    ShipData restarted;
    restarted.LoadFetched();
    for (const char* key : {"raider_mk2", "carrier_mk2"}) {
        const ShipDataRecord* record = restarted.Find(key);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(Wire(*record), Wire(*server.FindDefined(key))) << key;
    }
    EXPECT_TRUE(restarted.missCounters.empty()) << "no request goes out for a kept hull";

    // A record received later joins those kept, which stay.
    ShipData::LoadDocument(server.mainRecords, server.mainKeys,
                           Hjson::Unmarshal(List(HullEntry("scout_mk2", "Scout"))), "server");
    Deliver("scout_mk2", restarted);
    ASSERT_TRUE(restarted.StoreReceivedRecord("scout_mk2"));
    ShipData third;
    third.LoadFetched();
    EXPECT_EQ(third.receivedRecords.size(), 3u);
}

// Nothing is kept that the next start could not read back: no record of the
// key, or values the ship list's reader refuses (a wire record may carry any
// finite number).
TEST_F(ShipDataFetchedTest, a_record_that_could_not_be_read_back_is_not_kept)
{
    Receive("raider_mk2");
    ShipDataRecord& received = *console.receivedRecords.back();
    const struct {
        const char* what;
        void (*spoil)(ShipDataRecord&);
    } cases[] = {
        {"a mesh scale of 0", [](ShipDataRecord& r) { r.meshScale = 0.0f; }},
        {"a quarter turn of -2", [](ShipDataRecord& r) { r.meshRotate = -2.0f; }},
        {"a grid of no columns", [](ShipDataRecord& r) { r.internalMapW = 0; }},
        {"a negative torpedo load", [](ShipDataRecord& r) { r.torpedoStartCounts[0] = -1; }},
        {"a description that is not UTF-8", [](ShipDataRecord& r) { r.longDesc = "hull \xff\xfe"; }},
    };
    const ShipDataRecord whole = received;
    for (const auto& c : cases) {
        received = whole;
        c.spoil(received);
        EXPECT_FALSE(console.StoreReceivedRecord("raider_mk2")) << c.what;
        EXPECT_FALSE(std::filesystem::exists(Fetched())) << c.what;
    }
    EXPECT_FALSE(console.StoreReceivedRecord("never_received"));
    EXPECT_FALSE(std::filesystem::exists(Fetched()));
}

// The game's own list wins over a kept record of the same key, and a damaged
// document costs only the kept records, which are then asked for again.
TEST_F(ShipDataFetchedTest, the_game_list_wins_and_a_damaged_document_is_left_out)
{
    data.Write(kFetchedFile, List(HullEntry("tern_frigate", "Kept") + HullEntry("raider_mk2", "Kept")));
    ShipData restarted;
    ShipData::LoadDocument(restarted.mainRecords, restarted.mainKeys,
                           Hjson::Unmarshal(List(HullEntry("tern_frigate", "Own"))), "main");
    restarted.LoadFetched();
    EXPECT_EQ(restarted.Find("tern_frigate")->artFileRoot, "Own");
    EXPECT_EQ(restarted.Find("raider_mk2")->artFileRoot, "Kept");

    for (const std::string& damaged : {std::string("{ \"#ship-list\": [ { key: "), List("{ key: \"x\" }"),
                                      std::string("\x01\x02\x03", 3)}) {
        data.Write(kFetchedFile, damaged);
        ShipData again;
        EXPECT_NO_THROW(again.LoadFetched());
        EXPECT_TRUE(again.receivedRecords.empty());
    }
}

}  // namespace
