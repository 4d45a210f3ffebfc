// The game's own data files must parse and hold what the game reads from
// them: a typo in a preference key or a missing ship field only shows up much
// later as a failed assertion on some console, so it is caught here.

#include "helper/Hjson.h"
#include "helper/TinyYaml.h"
#include "tests/support/GameDataFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

Hjson::Value LoadDataDocument(const std::string& fileName) {
    const std::string path = (qeltest::GameDataFolder() / fileName).string();
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "cannot open " << path;
    std::stringstream text;
    text << in.rdbuf();
    return Hjson::Unmarshal(text.str());
}

const Hjson::Value& Preferences() {
    static const Hjson::Value doc = LoadDataDocument("preferences.yaml");
    return doc;
}

const Hjson::Value& ShipList() {
    static const Hjson::Value doc = LoadDataDocument("shipData.yaml");
    return doc["#ship-list"];
}

bool IsNumber(const Hjson::Value& v) {
    return v.type() == Hjson::Type::Int64 || v.type() == Hjson::Type::Double;
}

bool IsHexColour(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return false;
    return text.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
}

const Hjson::Value* FindShip(const std::string& key) {
    const Hjson::Value& list = ShipList();
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        if (list[i]["key"].type() == Hjson::Type::String && list[i]["key"].to_string() == key) return &list[i];
    }
    return nullptr;
}

bool HasRole(const Hjson::Value& record, const std::string& role) {
    std::stringstream roles(record["roles"].to_string());
    for (std::string item; std::getline(roles, item, ',');) {
        if (item == role) return true;
    }
    return false;
}

// Preferences read as integers must exist and be numbers (the integer reader
// has no default and rejects text).
const char* const kNumericPreferences[] = {
    "serverNetworkPort", "client-network-mess-per-frame", "server-network-mess-per-frame",
    "clientContactDecayDelay", "clientContactOldThreshold", "scriptTickDelay",
    "obscure_ip_typein_box_flag", "suppress_no_client_big_dialog", "use_large_fonts",
    "player-vision-base-distance", "player-vision-science-coeff", "closest_scan_delay",
    "farthest_scan_delay", "player-fuel-use-coeff", "player-base-energy-use-coeff",
    "player-shields-raised-energy-coeff", "player-no_energy-speed-coeff",
    "ship_apu_assistance_per_tick", "ship_apu_assistance_ceiling", "player_heat_up_coeff",
    "player_coolant_coeff", "energyCostOfOneBeamShot", "mine_trigger_radius",
    "station-dock-drag-speed", "main-buff-width", "main-buff-height", "nebula-buff-size-div",
    "render-distance-objects", "render-distance-large-objects", "render-distance-nebulae",
    "render-distance-asteroids", "render-distance-effects", "render-distance-beams",
    "space-object-size-coeff", "ship-in-box-size-coeff", "shield_splash_brightness_coeff",
    "lock-reticle-size-3D", "lock-reticle-size-2D", "terrainDrawScaleLimit",
    "mouseWheelScaleCoeff", "object-sorted-list-button-h",
};

// Colour preferences are parsed as colours; each must be a full hex colour.
const char* const kColourPreferences[] = {
    "gui-color-main", "gui-color-your-ship", "gui-color-player-ship", "gui-color-ally-ship",
    "gui-color-unscanned-object", "gui-color-surrendered-ship", "gui-color-hostile-ship",
    "gui-color-ally-station", "gui-color-hostile-station", "gui-color-torpedo",
    "gui-color-drone", "gui-color-mine", "gui-color-buoy", "gui-color-asteroid",
    "gui-color-monster", "gui-color-black-hole", "gui-color-planet", "gui-color-nebula",
    "gui-color-pickup", "gui-color-weapon-reticle", "gui-color-science-reticle",
    "gui-color-comms-reticle", "gui-color-waypoint", "gui-color-dragbar-knob",
    "gui-color-dragbar-knob-text", "gui-color-deep-background", "gui-color-red-alert",
    "internal_color_ship_sillouette", "internal_color_ship_lines", "internal_color_ship_nodes",
    "coolant_dot_active_color", "coolant_dot_reserve_color",
};

// Sound and name preferences: non-empty text.
const char* const kTextPreferences[] = {
    "server-network-name", "gui-color-deep-background-image", "gui-radar-side-colors-from-selected-ship",
    "music_base_folder", "jump_sfx_start", "jump_sfx_end", "player_engine_loop_base",
    "player_engine_loop_tone", "shield_damage_1", "shield_damage_2", "shield_damage_3",
    "shield_damage_4", "shield_damage_5", "shield_damage_6", "player_beam_weapon_shot_1",
    "player_beam_weapon_shot_2", "player_beam_weapon_shot_3", "player_beam_weapon_shot_4",
    "hull_damage", "torp_impact", "torpedo_launch", "tractor_beam", "shld_up", "shld_down",
    "red_alert_horn",
};

// Fields without a default in a ship record.
const char* const kRequiredTextFields[] = {"key", "name", "side", "origin", "artfileroot", "long_desc",
                                           "monster_style"};
const char* const kRequiredNumberFields[] = {"meshscale",  "radarscale",      "defaultside",
                                             "meshrotate", "hullpoints",      "movespeed",
                                             "exclusionradius", "interactionradius"};

}  // namespace

TEST(DataFilesParse, numeric_preferences_are_present_numbers) {
    for (const char* key : kNumericPreferences) {
        EXPECT_TRUE(IsNumber(Preferences()[key])) << key;
    }
    EXPECT_GE(Preferences()["clientContactDecayDelay"].to_double(), 300);
}

TEST(DataFilesParse, colour_preferences_are_hex_colours) {
    for (const char* key : kColourPreferences) {
        const Hjson::Value& v = Preferences()[key];
        ASSERT_EQ(v.type(), Hjson::Type::String) << key;
        EXPECT_TRUE(IsHexColour(v.to_string())) << key << " = " << v.to_string();
    }
}

TEST(DataFilesParse, text_preferences_are_present) {
    for (const char* key : kTextPreferences) {
        const Hjson::Value& v = Preferences()[key];
        ASSERT_EQ(v.type(), Hjson::Type::String) << key;
        EXPECT_FALSE(v.to_string().empty()) << key;
    }
    EXPECT_EQ(Preferences()["default_mission_folder"].type(), Hjson::Type::String);
}

TEST(DataFilesParse, both_font_lists_define_every_interface_tag) {
    const std::set<std::string> wanted = {"smallest", "gui-1", "gui-2", "gui-2A", "gui-3", "gui-4"};
    for (const char* list : {"fonts", "large_fonts"}) {
        const Hjson::Value& fonts = Preferences()[list];
        ASSERT_EQ(fonts.type(), Hjson::Type::Vector) << list;
        std::set<std::string> tags;
        for (int i = 0; i < static_cast<int>(fonts.size()); ++i) {
            const Hjson::Value& font = fonts[i];
            tags.insert(font["tag"].to_string());
            const std::string file = font["filename"].to_string();
            EXPECT_FALSE(file.empty()) << list << "[" << i << "]";
            // The font loader appends ".ttf" itself.
            EXPECT_EQ(file.find('.'), std::string::npos) << list << "[" << i << "] " << file;
            EXPECT_TRUE(IsNumber(font["size"])) << list << "[" << i << "]";
            EXPECT_GT(font["size"].to_double(), 0) << list << "[" << i << "]";
        }
        EXPECT_EQ(tags, wanted) << list;
    }
}

TEST(DataFilesParse, standby_texts_and_interface_sounds_are_lists) {
    const Hjson::Value& standby = Preferences()["standby-text"];
    ASSERT_EQ(standby.type(), Hjson::Type::Vector);
    ASSERT_GT(standby.size(), 0u);
    for (int i = 0; i < static_cast<int>(standby.size()); ++i) {
        EXPECT_EQ(standby[i].type(), Hjson::Type::String);
    }

    const Hjson::Value& sounds = Preferences()["gui-sounds"];
    ASSERT_EQ(sounds.type(), Hjson::Type::Vector);
    std::set<std::string> names;
    for (int i = 0; i < static_cast<int>(sounds.size()); ++i) {
        ASSERT_EQ(sounds[i].type(), Hjson::Type::Map);
        for (int k = 0; k < static_cast<int>(sounds[i].size()); ++k) {
            names.insert(sounds[i].key(k));
            EXPECT_EQ(sounds[i][k].type(), Hjson::Type::String);
        }
    }
    // Every name the game plays, so no click is silent.
    for (const char* name : {"gui_button", "gui_tab", "gui_lock", "gui_list_select", "gui_torp_load",
                             "gui_torp_fire", "gui_torp_fire_failure", "gui_comms", "gui_comms_open",
                             "gui_main_screen", "overheat_warning"}) {
        EXPECT_TRUE(names.count(name)) << name;
    }
}

TEST(DataFilesParse, ship_list_holds_the_records_the_game_creates_by_key) {
    ASSERT_EQ(ShipList().type(), Hjson::Type::Vector);
    // Looked up by the code itself: fallback, missiles, drones, mines, and
    // the reference hulls of the developer scenes.
    for (const char* key : {"unknown", "torpedo", "drone", "danger_1a", "fleet_light_cruiser",
                            "starbase_civil", "monster_dragon"}) {
        EXPECT_NE(FindShip(key), nullptr) << key;
    }
}

TEST(DataFilesParse, every_ship_record_has_the_required_fields_and_a_unique_lower_case_key) {
    std::set<std::string> keys;
    for (int i = 0; i < static_cast<int>(ShipList().size()); ++i) {
        const Hjson::Value& record = ShipList()[i];
        const std::string key = record["key"].to_string();
        for (const char* field : kRequiredTextFields) {
            EXPECT_EQ(record[field].type(), Hjson::Type::String) << key << "." << field;
        }
        for (const char* field : kRequiredNumberFields) {
            EXPECT_TRUE(IsNumber(record[field])) << key << "." << field;
        }
        EXPECT_EQ(key.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << key;
        EXPECT_TRUE(keys.insert(key).second) << "duplicate key " << key;
    }
}

TEST(DataFilesParse, ship_list_has_player_computer_and_station_hulls) {
    int fighters = 0;
    int withTubes = 0;
    int droneLaunchers = 0;
    for (int i = 0; i < static_cast<int>(ShipList().size()); ++i) {
        const Hjson::Value& record = ShipList()[i];
        fighters += HasRole(record, "fighter");
        withTubes += record["hullportsets"].size() > 0;
        droneLaunchers += record["drone_launch_timer"].to_double() > 0;
    }
    EXPECT_GE(fighters, 1);
    EXPECT_GE(withTubes, 1);
    EXPECT_GE(droneLaunchers, 1);
    EXPECT_FALSE((*FindShip("monster_dragon"))["monster_style"].to_string().empty());
}

TEST(DataFilesParse, ship_ports_fit_the_record_slots) {
    constexpr size_t kBeamSlots = 20;    // beam ports a record can hold
    constexpr size_t kExhaustSlots = 10; // exhaust ports a record can hold
    for (int i = 0; i < static_cast<int>(ShipList().size()); ++i) {
        const Hjson::Value& record = ShipList()[i];
        const std::string key = record["key"].to_string();
        const Hjson::Value& sets = record["hull_port_sets"];
        EXPECT_LE(sets["beam"].size(), kBeamSlots) << key;
        EXPECT_LE(sets["exhaust"].size(), kExhaustSlots) << key;
        for (const char* kind : {"beam", "exhaust"}) {
            const Hjson::Value& ports = sets[kind];
            for (int p = 0; p < static_cast<int>(ports.size()); ++p) {
                const Hjson::Value& position = ports[p]["position"];
                ASSERT_EQ(position.type(), Hjson::Type::Vector) << key << " " << kind << " " << p;
                EXPECT_EQ(position.size(), 3u) << key << " " << kind << " " << p;
            }
        }
        const Hjson::Value& shields = record["shields"];
        for (int s = 0; s < static_cast<int>(shields.size()); ++s) {
            EXPECT_TRUE(IsNumber(shields[s])) << key << " shield " << s;
        }
    }
}

// The mission chooser lists every mission folder by these keys of its
// description; a mission without them would show up blank.
TEST(DataFilesParse, every_mission_description_gives_the_chooser_its_keys) {
    const std::filesystem::path missions = qeltest::GameDataFolder() / "missions";
    int described = 0;
    for (const auto& folder : std::filesystem::directory_iterator(missions)) {
        if (!folder.is_directory() || folder.path().filename() == "common")
            continue;
        SCOPED_TRACE(folder.path().filename().string());
        TINY_YAML::NodeMap document;
        ASSERT_TRUE(TINY_YAML::ParseFile(document, (folder.path() / "description.yaml").string()));
        for (const char* key : {"Category", "Category Priority", "Visible Mission Name", "Description"}) {
            const TINY_YAML::NodePtr node = document.Find(key);
            ASSERT_TRUE(node && node->Text()) << key;
            EXPECT_FALSE(node->Text()->empty()) << key;
        }
        const TINY_YAML::NodePtr keywords = document.Find("Keywords");
        ASSERT_TRUE(keywords && keywords->Items());
        EXPECT_FALSE(keywords->Items()->empty());
        ++described;
    }
    EXPECT_GT(described, 0);
}
