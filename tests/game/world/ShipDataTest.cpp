#include "game/world/ShipData.h"

#include "helper/Hjson.h"
#include "tests/game/world/ShipRecordExpect.h"
#include "tests/support/ErrorText.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The keys every record must hold, with a value each.
const std::pair<const char*, const char*> kRequired[] = {
    {"name", "Hull"}, {"side", "Meridian"}, {"origin", "Core"}, {"artfileroot", "ArtRoot"},
    {"long_desc", "A hull."}, {"meshscale", "2"}, {"radarscale", "0.5"}, {"defaultside", "1"},
    {"meshrotate", "3"}, {"hullpoints", "250"}, {"movespeed", "4"}, {"exclusionradius", "60"},
    {"interactionradius", "90"}, {"monster_style", "glow"}};

// A record holding every required key but the one omitted, plus the extra
// Hjson lines given.
std::string Record(const std::string& key, const std::string& extra = "", const std::string& omit = "") {
    std::string text = "{ key: \"" + key + "\"\n";
    for (const auto& [name, value] : kRequired)
        if (name != omit) text += std::string(name) + ": " + value + "\n";
    return text + extra + "\n}\n";
}

std::string List(const std::string& records) { return "{ \"#ship-list\": [\n" + records + "] }"; }

void LoadText(ShipData& sd, const std::string& text, const std::string& name = "test") {
    ShipData::LoadDocument(sd.mainRecords, sd.mainKeys, Hjson::Unmarshal(text), name);
}

const ShipDataRecord& Only(ShipData& sd, const std::string& records) {
    LoadText(sd, List(records));
    return *sd.mainRecords.back();
}

const glm::vec4 kRed{1, 0, 0, 1};
const glm::vec4 kBlue{0, 0, 1, 1};
const glm::vec4 kLime{0, 1, 0, 1};

TEST(ShipDataLoad, game_ship_list_loads_and_defines_the_unknown_record) {
    qeltest::ScopedEnv dataDir("QEL_DATA_DIR", std::string(QEL_SOURCE_DIR) + "/data");
    ShipData sd;
    sd.LoadMain();
    ASSERT_FALSE(sd.mainRecords.empty());
    EXPECT_EQ(sd.mainKeys.size(), sd.mainRecords.size());
    const ShipDataRecord* unknown = sd.Find("unknown");
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->key, "unknown");
    EXPECT_TRUE(sd.missCounters.empty());
    for (const auto& rec : sd.mainRecords) {
        EXPECT_FALSE(rec->roles.empty()) << rec->key;
        EXPECT_EQ(rec->torpedoStartTypes.size(), rec->torpedoStartCounts.size()) << rec->key;
    }
}

TEST(ShipDataLoad, optional_keys_take_their_defaults) {
    ShipData sd;
    const ShipDataRecord& rec = Only(sd, Record("plain", "internalmapw: 12"));
    EXPECT_EQ(rec.turn_rate, 1.0f);
    EXPECT_EQ(rec.speed_coeff, 1.0f);
    EXPECT_EQ(rec.ship_energy_cost, 1.0f);
    EXPECT_EQ(rec.warp_energy_cost, 1.0f);
    EXPECT_EQ(rec.jump_energy_cost, 1.0f);
    EXPECT_EQ(rec.scan_strength_coeff, 1.0f);
    EXPECT_EQ(rec.drone_launch_timer, 0.0f);
    EXPECT_EQ(rec.bayCount, 1);
    EXPECT_EQ(rec.tubeCount, 0);
    EXPECT_TRUE(rec.shields.empty());
    EXPECT_TRUE(rec.torpedoStartTypes.empty());
    EXPECT_THAT(rec.roles, ElementsAre("none"));
    // Without a scale the grid's size is not read at all.
    EXPECT_EQ(rec.internalMapScale, 0.0f);
    EXPECT_EQ(rec.internalMapW, 0);
    EXPECT_EQ(rec.beamPorts[0].range, 0.0f);
    EXPECT_EQ(rec.exhaustPorts[0].color, glm::vec4(0.0f));
}

TEST(ShipDataLoad, given_values_are_read_and_texts_lower_cased_except_the_art_root) {
    ShipData sd;
    const ShipDataRecord& rec = Only(
        sd, Record("Big_Hull",
                   "internalmapscale: 1.5\n internalmapw: 12.9\n internalmaph: 24\n internalsymmetry: 1\n"
                   "turn_rate: 2.5\n baycount: 3.7\n tubecount: 2\n shields: [120, 90.5]\n"
                   "roles: \"fighter,carrier\"\n drone_launch_timer: 7"));
    EXPECT_EQ(rec.key, "big_hull");
    EXPECT_EQ(rec.name, "hull");
    EXPECT_EQ(rec.side, "meridian");
    EXPECT_EQ(rec.origin, "core");
    EXPECT_EQ(rec.artFileRoot, "ArtRoot");
    EXPECT_EQ(rec.longDesc, "A hull.");
    EXPECT_EQ(rec.monsterStyle, "glow");
    EXPECT_EQ(rec.meshScale, 2.0f);
    EXPECT_EQ(rec.radarScale, 0.5f);
    EXPECT_EQ(rec.defaultSide, 1.0f);
    EXPECT_EQ(rec.meshRotate, 3.0f);
    EXPECT_EQ(rec.hullPoints, 250.0f);
    EXPECT_EQ(rec.moveSpeed, 4.0f);
    EXPECT_EQ(rec.exclusionRadius, 60.0f);
    EXPECT_EQ(rec.interactionRadius, 90.0f);
    EXPECT_EQ(rec.internalMapScale, 1.5f);
    EXPECT_EQ(rec.internalMapW, 12);
    EXPECT_EQ(rec.internalMapH, 24);
    EXPECT_EQ(rec.internalSymmetry, 1);
    EXPECT_EQ(rec.turn_rate, 2.5f);
    EXPECT_EQ(rec.bayCount, 3);
    EXPECT_EQ(rec.tubeCount, 2);
    EXPECT_EQ(rec.drone_launch_timer, 7.0f);
    EXPECT_THAT(rec.shields, ElementsAre(120.0f, 90.5f));
    EXPECT_THAT(rec.roles, ElementsAre("fighter", "carrier"));
}

TEST(ShipDataLoad, torpedo_start_keeps_document_order_across_maps) {
    ShipData sd;
    const ShipDataRecord& rec = Only(sd, Record("t", "torpedostart: [ { Homing: 8, Nuke: 2 }, { EMP: 4 } ]"));
    EXPECT_THAT(rec.torpedoStartTypes, ElementsAre("Homing", "Nuke", "EMP"));
    EXPECT_THAT(rec.torpedoStartCounts, ElementsAre(8, 2, 4));
}

TEST(ShipDataFind, looks_up_lower_case_keys_extra_first_and_answers_misses_with_unknown) {
    ShipData sd;
    LoadText(sd, List(Record("unknown") + Record("Cruiser", "hullpoints: 100", "hullpoints")));
    ShipData::LoadDocument(sd.extraRecords, sd.extraKeys,
                           Hjson::Unmarshal(List(Record("cruiser", "hullpoints: 300", "hullpoints"))), "extra");
    const ShipDataRecord* unknown = sd.mainKeys.at("unknown");

    EXPECT_EQ(sd.Find("cruiser")->hullPoints, 300.0f);
    EXPECT_EQ(sd.Find("Cruiser"), unknown);  // no case folding on look-up
    EXPECT_EQ(sd.Find("nothing"), unknown);
    EXPECT_EQ(sd.Find("nothing"), unknown);
    EXPECT_EQ(sd.missCounters.at("nothing"), 2);
    EXPECT_EQ(sd.missCounters.at("Cruiser"), 1);
    EXPECT_EQ(sd.missCounters.count("cruiser"), 0u);
}

TEST(ShipDataFind, miss_without_an_unknown_record_gives_null) {
    ShipData sd;
    LoadText(sd, List(Record("only")));
    EXPECT_EQ(sd.Find("other"), nullptr);
    EXPECT_EQ(sd.missCounters.at("other"), 1);
}

// The ship viewer frees the main list and reads it again; a key the new file
// no longer has must not lead to a freed record.
TEST(ShipDataFind, cleared_records_leave_no_key_behind) {
    ShipData sd;
    LoadText(sd, List(Record("gone")));
    ShipData::LoadDocument(sd.extraRecords, sd.extraKeys, Hjson::Unmarshal(List(Record("extra"))), "extra");
    sd.extraKeys["alias"] = sd.mainRecords[0].get();
    sd.ClearRecords(sd.mainRecords);
    EXPECT_TRUE(sd.mainKeys.empty());
    EXPECT_EQ(sd.extraKeys.count("alias"), 0u);
    EXPECT_EQ(sd.Find("gone"), nullptr);
    EXPECT_EQ(sd.Find("extra")->key, "extra");
}

TEST(ShipDataLoad, later_record_of_a_key_wins_the_look_up_and_both_are_kept) {
    ShipData sd;
    LoadText(sd, List(Record("dup", "hullpoints: 1", "hullpoints") + Record("dup", "hullpoints: 2", "hullpoints")));
    EXPECT_EQ(sd.mainRecords.size(), 2u);
    EXPECT_EQ(sd.Find("dup")->hullPoints, 2.0f);
}

TEST(ShipDataPorts, old_form_fills_defaults_and_caps_the_slots) {
    std::string beams;
    for (int i = 0; i < 15; ++i) beams += "{ position: [" + std::to_string(i) + ", 0, 0] }\n";
    std::string exhausts;
    for (int i = 0; i < 12; ++i) exhausts += "{ position: [0, " + std::to_string(i) + ", 0] }\n";
    ShipData sd;
    const ShipDataRecord& rec = Only(
        sd, Record("old", "hull_port_sets: { beam: [\n{ position: [1, 2, 3], arcwidth: 90, damage_coeff: 12,"
                          " cycle_time: 3, range: 1500, barrel_angle: 0, color: \"lime\", arccolor: \"blue\" }\n" +
                              beams + "]\n exhaust: [\n" + exhausts + "] }\n"
                              "hullportsets: [ { type: \"beam\", position: [[0, 0, 0], [1, 0, 0], [2, 0, 0],"
                              " [3, 0, 0], [4, 0, 0]] } ]"));
    // damage, arc width, cycle time, range, barrel angle, position, colour, arc colour
    qeltest::ExpectSameBeamPort(rec.beamPorts[0], {12, 90, 3, 1500, 0, {1, 2, 3}, kLime, kBlue});
    qeltest::ExpectSameBeamPort(rec.beamPorts[1], {1, 60, 1, 1000, 1000, {0, 0, 0}, kRed, kRed});

    // Slots run on into the new form's sets and stop at 20: the old list gave 16.
    EXPECT_EQ(rec.beamPorts[16].position, glm::vec3(0, 0, 0));
    EXPECT_EQ(rec.beamPorts[16].range, 0.0f);  // the new form has no default range
    EXPECT_EQ(rec.beamPorts[17].position, glm::vec3(1, 0, 0));
    EXPECT_EQ(rec.beamPorts[19].position, glm::vec3(3, 0, 0));

    EXPECT_EQ(rec.exhaustPorts[9].position, glm::vec3(0, 9, 0));
    EXPECT_EQ(rec.exhaustPorts[9].color, kBlue);
}

TEST(ShipDataPorts, new_form_engine_beam_and_torpedo_sets) {
    ShipData sd;
    const ShipDataRecord& rec = Only(
        sd, Record("new", "tubecount: 1\n hullportsets: [\n"
                          "{ type: \"engine\", exhaust: [[1, 2, 3, \"lime\"], [4, 5, 6, \"red\"]], exhaustcolor: [\"blue\"] }\n"
                          "{ type: \"beam\", uiname: \"Main\", damage: 5, cycletime: 2, range: 900,"
                          "  beamcolor: [\"lime\"], arccolor: [\"blue\", \"lime\", \"red\"], position: [[1, 0, 0], [2, 0, 0]] }\n"
                          "{ type: \"beam\", damage: 7, position: [[3, 0, 0]], beamcolor: [\"blue\"] }\n"
                          "{ type: \"torpedo\", position: [[9, 9, 9], [8, 8, 8]] }\n"
                          "{ type: \"torpedo\", position: [[7, 7, 7]] }\n"
                          "{ type: \"shuttle\", position: [[5, 5, 5]] }\n]"));
    EXPECT_EQ(rec.exhaustPorts[0].position, glm::vec3(1, 2, 3));
    EXPECT_EQ(rec.exhaustPorts[0].color, kBlue);  // the colour list overrides
    EXPECT_EQ(rec.exhaustPorts[1].color, kRed);

    EXPECT_EQ(rec.beamPorts[0].position, glm::vec3(1, 0, 0));
    EXPECT_EQ(rec.beamPorts[0].damageCoeff, 5.0f);
    EXPECT_EQ(rec.beamPorts[0].cycleTime, 2.0f);
    EXPECT_EQ(rec.beamPorts[0].range, 900.0f);
    EXPECT_EQ(rec.beamPorts[0].arcWidth, 60.0f);
    EXPECT_EQ(rec.beamPorts[0].color, kLime);
    EXPECT_EQ(rec.beamPorts[0].barrelAngle, 1000.0f);
    EXPECT_EQ(rec.beamPorts[1].arcColor, kLime);
    EXPECT_EQ(rec.beamPorts[1].barrelAngle, 0.0f);  // no beam colour, no barrel angle
    // The second set's first port is slot 2; the first set's third arc colour
    // had no port of its own and touches nothing.
    EXPECT_EQ(rec.beamPorts[2].position, glm::vec3(3, 0, 0));
    EXPECT_EQ(rec.beamPorts[2].damageCoeff, 7.0f);
    EXPECT_EQ(rec.beamPorts[2].color, kBlue);
    EXPECT_EQ(rec.beamPorts[2].arcColor, glm::vec4(0.0f));

    // Each torpedo set writes from tube slot 0 and adds its tubes to the count.
    EXPECT_EQ(rec.tubeCount, 1 + 2 + 1);
    EXPECT_EQ(rec.torpedoTubePositions[0], glm::vec3(7, 7, 7));
    EXPECT_EQ(rec.torpedoTubePositions[1], glm::vec3(8, 8, 8));
    EXPECT_EQ(rec.torpedoTubePositions[2], glm::vec3(0, 0, 0));
}

TEST(ShipDataLoad, missing_required_key_names_record_and_key_and_keeps_nothing) {
    for (const auto& required : kRequired) {
        const char* key = required.first;
        ShipData sd;
        const std::string error = qeltest::ErrorText(
            [&] { LoadText(sd, List(Record("fine") + Record("broken", "", key)), "/data/shipData.yaml"); });
        EXPECT_THAT(error, ::testing::StartsWith("/data/shipData.yaml: record 1 (\"broken\"): \"" +
                                                 std::string(key) + "\" is missing; expected ")) << key;
        EXPECT_TRUE(sd.mainRecords.empty()) << key;
        EXPECT_TRUE(sd.mainKeys.empty()) << key;
    }
}

// One line per broken ship list, read through the document loader from a
// data folder: the record's extra keys (or the whole list) and the error.
// "<path>" stands for the path of the file read.
TEST(ShipDataLoad, each_broken_ship_list_is_refused_with_one_line_naming_file_record_key_and_value) {
    std::string manyShields;
    for (int i = 0; i < 65; ++i) manyShields += "10, ";
    struct Case {
        std::string extra;      // keys added to record 0, whose key is "k"
        std::string message;
        std::string omit = "";  // a required key left out of the record
    };
    const Case cases[] = {
        {"movespeed: \"\"", "record 0 (\"k\"): \"movespeed\" is \"\" (text); expected a number from 0 to 1000.",
         "movespeed"},
        {"exclusionradius: null", "record 0 (\"k\"): \"exclusionradius\" is null; expected a number from 0 to 100000.",
         "exclusionradius"},
        {"shields: 'x'", "record 0 (\"k\"): \"shields\" is \"x\" (text); expected a list."},
        {"radarscale: NaN", "record 0 (\"k\"): \"radarscale\" is \"NaN\" (text); expected a number from 0 to 100.",
         "radarscale"},
        {"meshscale: 1e999",
         "record 0 (\"k\"): \"meshscale\" is \"1e999\" (text); expected a number from 0.001 to 1000.", "meshscale"},
        {"speed_coeff: 1e38", "record 0 (\"k\"): \"speed_coeff\" is 1e+38; expected a number from 0 to 1000."},
        {"hullpoints: -1", "record 0 (\"k\"): \"hullpoints\" is -1; expected a number from 0 to 1000000.",
         "hullpoints"},
        {"hullpoints: 5", "Found a duplicate of the key 'hullpoints' at line 17, column 1"},
        {"tubecount: 21", "record 0 (\"k\"): \"tubecount\" is 21; expected a whole number from 0 to 20."},
        {"internalmapscale: 1", "record 0 (\"k\"): \"internalmapw\" is missing; expected a whole number from 1 to 256."},
        {"shields: [" + manyShields + "]",
         "record 0 (\"k\"): \"shields\" is a list of 65 elements; expected a list of at most 64 shield strengths."},
        {"hull_port_sets: { beam: [ { position: [{}, 0, 0] } ] }",
         "record 0 (\"k\"): \"hull_port_sets.beam[0].position\" is a list of 3 elements; expected a list of three "
         "numbers from -100000 to 100000."},
        {"hull_port_sets: { exhaust: [ { position: [0, 0, 0], color: \"bluish\" } ] }",
         "record 0 (\"k\"): \"hull_port_sets.exhaust[0].color\" is \"bluish\" (text); expected a colour such as "
         "\"red\", \"#40c0ff\" or \"rgb(64, 192, 255)\"."},
        {"hullportsets: [ { type: \"beam\", position: [[0, 0, 0]], beamcolor: [5] } ]",
         "record 0 (\"k\"): \"hullportsets[0].beamcolor[0]\" is 5; expected a colour such as \"red\", \"#40c0ff\" or "
         "\"rgb(64, 192, 255)\"."},
        {"hullportsets: [ { position: [[0, 0, 0]] } ]",
         "record 0 (\"k\"): \"hullportsets[0].type\" is missing; expected text."},
        {"torpedostart: [ { Homing: -3 } ]",
         "record 0 (\"k\"): \"torpedostart[0].Homing\" is -3; expected a whole number from 0 to 10000."},
        {"key: \"\"", "record 0: \"key\" is \"\" (text); expected a ship key (not empty)."},
    };
    for (const Case& c : cases) {
        qeltest::TempFolder data;
        qeltest::ScopedEnv dataDir("QEL_DATA_DIR", data.Path().string());
        std::string record = Record("k", c.extra, c.omit);
        if (c.extra.rfind("key:", 0) == 0) record.replace(0, record.find('\n'), "{");
        data.Write("shipData.yaml", List(record));
        ShipData sd;
        const std::string error = qeltest::ErrorText([&] { sd.LoadMain(); });
        EXPECT_EQ(error, data / "shipData.yaml" + ": " + c.message) << c.extra;
        EXPECT_TRUE(sd.mainRecords.empty()) << c.extra;
    }
}

TEST(ShipDataLoad, a_list_that_is_not_one_of_records_is_refused) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"{ ships: [] }", ": \"#ship-list\" is missing; expected the list of ship records."},
        {"{ \"#ship-list\": \"none\" }", ": \"#ship-list\" is \"none\" (text); expected the list of ship records."},
        {"{ \"#ship-list\": [5] }", ": \"#ship-list[0]\" is 5; expected a map of the record's keys."},
    };
    for (const Case& c : cases) {
        ShipData sd;
        EXPECT_EQ(qeltest::ErrorText([&] { LoadText(sd, c.text, "ships.yaml"); }), std::string("ships.yaml") + c.message);
        EXPECT_TRUE(sd.mainRecords.empty()) << c.text;
    }
}

// A mission folder's extra list replaces the last mission's; what the server
// sent stays.
TEST(ShipDataExtra, load_extra_replaces_file_records_and_keeps_received_ones) {
    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir("QEL_DATA_DIR", data.Path().string());
    data.Write("missions/one/extraShipData.json", List(Record("from_one") + Record("shared", "hullpoints: 1", "hullpoints")));
    data.Write("missions/two/extraShipData.json", List(Record("from_two")));

    ShipData sd;
    LoadText(sd, List(Record("unknown")));
    auto received = std::make_unique<ShipDataRecord>();
    received->key = "shared";
    received->hullPoints = 42;
    sd.extraKeys["shared"] = received.get();
    sd.receivedRecords.push_back(std::move(received));

    sd.LoadExtra("missions/one/");
    EXPECT_EQ(sd.Find("from_one")->key, "from_one");
    EXPECT_EQ(sd.Find("shared")->hullPoints, 1.0f);

    sd.LoadExtra("");  // no mission path: nothing changes
    EXPECT_EQ(sd.Find("from_one")->key, "from_one");

    sd.LoadExtra("missions/two/");
    EXPECT_EQ(sd.extraRecords.size(), 1u);
    EXPECT_EQ(sd.Find("from_two")->key, "from_two");
    EXPECT_EQ(sd.Find("from_one")->key, "unknown");
    EXPECT_EQ(sd.Find("shared")->hullPoints, 42.0f);

    sd.LoadExtra("missions/none/");  // a mission without its own list
    EXPECT_TRUE(sd.extraRecords.empty());
    EXPECT_EQ(sd.Find("from_two")->key, "unknown");
    EXPECT_EQ(sd.Find("shared")->hullPoints, 42.0f);
}

// A mission the operator hosts from a folder outside the data folder brings
// its ship types from there.
TEST(ShipDataExtra, a_mission_folder_outside_the_data_folder_is_read_by_its_path) {
    qeltest::TempFolder data;
    qeltest::TempFolder elsewhere;
    qeltest::ScopedEnv dataDir("QEL_DATA_DIR", data.Path().string());
    elsewhere.Write("drill/extraShipData.json", List(Record("drill_target")));

    ShipData sd;
    LoadText(sd, List(Record("unknown")));
    sd.LoadExtra((elsewhere.Path() / "drill/").string());
    EXPECT_EQ(sd.Find("drill_target")->key, "drill_target");
}

}  // namespace
