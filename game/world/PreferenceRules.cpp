#include "game/world/PreferenceRules.h"

#include "engine/base/QelDataFolder.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

using Kind = PreferenceKind;

// Bounds shared by many preferences, each with its reason.
// The world is a few tens of thousands of units across; a million is room for any map.
constexpr double kMaxDistance = 1e6;
// Seconds of a delay or a timer: an hour is longer than any scan or mission step.
constexpr double kMaxSeconds = 3600;
// Ticks (33 ms) of a delay: a hundred hours, far past the end of any game.
constexpr double kMaxTicks = 1e7;
// Multipliers of energy, speed or size: a thousandfold is already a different game.
constexpr double kMaxCoefficient = 1000;
// Messages dispatched per frame: a frame that handles more than this never ends
// in time, and 0 would leave every message waiting forever.
constexpr double kMaxMessagesPerFrame = 100000;
// Pixels of a render target's side: the largest texture OpenGL 3.3 drivers offer.
constexpr double kMaxTexturePixels = 16384;
// Pixels of a reticle or a list row: more than any screen is tall.
constexpr double kMaxScreenPixels = 4096;
// Bytes of the name a server announces: the discovery answer is one small datagram.
constexpr double kMaxServerNameBytes = 100;
// Pixels of a font's glyphs: a glyph taller than a large window is a typo, and its
// glyph atlas would not fit in a texture.
constexpr int kMaxFontPixels = 1024;

constexpr PreferenceRule Required(std::string_view key, Kind kind, double low, double high)
{
    return {key, kind, true, low, high};
}

constexpr PreferenceRule Optional(std::string_view key, Kind kind, double low = 0, double high = 0)
{
    return {key, kind, false, low, high};
}

constexpr PreferenceRule kRules[] = {
    // Network. The port is UDP's whole range less 0, which would leave the
    // consoles no port to connect to.
    Required("serverNetworkPort", Kind::Integer, 1, 65535),
    Optional("server-network-name", Kind::Text, 0, kMaxServerNameBytes),
    Required("client-network-mess-per-frame", Kind::Integer, 1, kMaxMessagesPerFrame),
    Required("server-network-mess-per-frame", Kind::Integer, 1, kMaxMessagesPerFrame),
    // Contacts are updated at least every 300 ticks; a shorter delay makes
    // distant ships blink out between updates.
    Required("clientContactDecayDelay", Kind::Integer, 300, kMaxTicks),
    Optional("clientContactOldThreshold", Kind::Integer, 0, kMaxTicks),
    // 0 keeps the default of 30 ticks.
    Required("scriptTickDelay", Kind::Integer, 0, kMaxTicks),
    Optional("obscure_ip_typein_box_flag", Kind::Integer, 0, 1),

    // Server and missions
    Optional("default_mission_folder", Kind::FolderName),
    Optional("suppress_no_client_big_dialog", Kind::Integer, 0, 1),

    // Vision and scanning
    Optional("player-vision-base-distance", Kind::Number, 0, kMaxDistance),
    Optional("player-vision-science-coeff", Kind::Number, 0, kMaxCoefficient),
    Optional("closest_scan_delay", Kind::Number, 0, kMaxSeconds),
    Optional("farthest_scan_delay", Kind::Number, 0, kMaxSeconds),

    // Player ships: energy, heat and drives
    Optional("player-fuel-use-coeff", Kind::Number, 0, kMaxCoefficient),
    Optional("player-base-energy-use-coeff", Kind::Number, 0, kMaxCoefficient),
    Optional("player-shields-raised-energy-coeff", Kind::Number, 0, kMaxCoefficient),
    // A share of the drive's speed.
    Optional("player-no_energy-speed-coeff", Kind::Number, 0, 1),
    Optional("ship_apu_assistance_per_tick", Kind::Number, 0, kMaxDistance),
    Optional("ship_apu_assistance_ceiling", Kind::Number, 0, kMaxDistance),
    // Heat 1 is critical; a step of more than that per half second is no
    // heating, it is an explosion.
    Optional("player_heat_up_coeff", Kind::Number, 0, 1),
    Optional("player_coolant_coeff", Kind::Number, 0, 1),
    Optional("energyCostOfOneBeamShot", Kind::Number, 0, kMaxDistance),
    Optional("mine_trigger_radius", Kind::Number, 0, kMaxDistance),
    Optional("station-dock-drag-speed", Kind::Number, 0, kMaxDistance),

    // Engineering display colours
    Optional("internal_color_ship_sillouette", Kind::Colour),
    Optional("internal_color_ship_lines", Kind::Colour),
    Optional("internal_color_ship_nodes", Kind::Colour),
    Optional("coolant_dot_active_color", Kind::Colour),
    Optional("coolant_dot_reserve_color", Kind::Colour),

    // Interface colours
    Optional("gui-color-main", Kind::Colour),
    Optional("gui-color-dragbar-knob", Kind::Colour),
    Optional("gui-color-dragbar-knob-text", Kind::Colour),
    Optional("gui-color-deep-background", Kind::Colour),
    Optional("gui-color-deep-background-image", Kind::DataName),
    Optional("gui-color-red-alert", Kind::Colour),
    Optional("gui-radar-side-colors-from-selected-ship", Kind::YesNo),

    // Radar and object colours; the two ally colours may be empty, which
    // leaves the colour of the side relation.
    Optional("gui-color-your-ship", Kind::Colour),
    Optional("gui-color-player-ship", Kind::Colour),
    Optional("gui-color-ally-ship", Kind::ColourOrEmpty),
    Optional("gui-color-unscanned-object", Kind::Colour),
    Optional("gui-color-surrendered-ship", Kind::Colour),
    Optional("gui-color-hostile-ship", Kind::Colour),
    Optional("gui-color-ally-station", Kind::ColourOrEmpty),
    Optional("gui-color-hostile-station", Kind::Colour),
    Optional("gui-color-torpedo", Kind::Colour),
    Optional("gui-color-drone", Kind::Colour),
    Optional("gui-color-mine", Kind::Colour),
    Optional("gui-color-buoy", Kind::Colour),
    Optional("gui-color-asteroid", Kind::Colour),
    Optional("gui-color-monster", Kind::Colour),
    Optional("gui-color-black-hole", Kind::Colour),
    Optional("gui-color-planet", Kind::Colour),
    Optional("gui-color-nebula", Kind::Colour),
    Optional("gui-color-pickup", Kind::Colour),
    Optional("gui-color-weapon-reticle", Kind::Colour),
    Optional("gui-color-science-reticle", Kind::Colour),
    Optional("gui-color-comms-reticle", Kind::Colour),
    Optional("gui-color-waypoint", Kind::Colour),

    // Radar and 3D view. A render target needs at least a few pixels a side,
    // and the nebula target's divisor must not be 0.
    Optional("main-buff-width", Kind::Integer, 16, kMaxTexturePixels),
    Optional("main-buff-height", Kind::Integer, 16, kMaxTexturePixels),
    Optional("nebula-buff-size-div", Kind::Integer, 1, 64),
    Optional("render-distance-objects", Kind::Number, 0, kMaxDistance),
    Optional("render-distance-large-objects", Kind::Number, 0, kMaxDistance),
    Optional("render-distance-nebulae", Kind::Number, 0, kMaxDistance),
    Optional("render-distance-asteroids", Kind::Number, 0, kMaxDistance),
    Optional("render-distance-effects", Kind::Integer, 0, kMaxDistance),
    // 0 keeps 4000.
    Optional("render-distance-beams", Kind::Integer, 0, kMaxDistance),
    Optional("space-object-size-coeff", Kind::Number, 0, kMaxCoefficient),
    Optional("ship-in-box-size-coeff", Kind::Number, 0, kMaxCoefficient),
    Optional("shield_splash_brightness_coeff", Kind::Number, 0, kMaxCoefficient),
    Optional("lock-reticle-size-3D", Kind::Number, 0, kMaxScreenPixels),
    Optional("lock-reticle-size-2D", Kind::Number, 0, kMaxScreenPixels),
    Optional("terrainDrawScaleLimit", Kind::Number, 0, kMaxCoefficient),
    Optional("mouseWheelScaleCoeff", Kind::Number, 0, kMaxCoefficient),

    // Interface layout and text. A row must be tall enough to hold a line of
    // the smallest font; 0 would make a list of endless empty rows.
    Optional("object-sorted-list-button-h", Kind::Integer, 8, kMaxScreenPixels),
    Optional("standby-text", Kind::TextList),

    // Fonts
    Optional("use_large_fonts", Kind::Integer, 0, 1),
    Optional("fonts", Kind::FontList),
    Optional("large_fonts", Kind::FontList),

    // Music and ship sounds
    Optional("music_base_folder", Kind::FolderName),
    Optional("jump_sfx_start", Kind::DataName),
    Optional("jump_sfx_end", Kind::DataName),
    Optional("player_engine_loop_base", Kind::DataName),
    Optional("player_engine_loop_tone", Kind::DataName),
    Optional("shield_damage_1", Kind::DataName),
    Optional("shield_damage_2", Kind::DataName),
    Optional("shield_damage_3", Kind::DataName),
    Optional("shield_damage_4", Kind::DataName),
    Optional("shield_damage_5", Kind::DataName),
    Optional("shield_damage_6", Kind::DataName),
    Optional("player_beam_weapon_shot_1", Kind::DataName),
    Optional("player_beam_weapon_shot_2", Kind::DataName),
    Optional("player_beam_weapon_shot_3", Kind::DataName),
    Optional("player_beam_weapon_shot_4", Kind::DataName),
    Optional("hull_damage", Kind::DataName),
    Optional("torp_impact", Kind::DataName),
    Optional("torpedo_launch", Kind::DataName),
    Optional("tractor_beam", Kind::DataName),
    Optional("shld_up", Kind::DataName),
    Optional("shld_down", Kind::DataName),
    Optional("red_alert_horn", Kind::DataName),

    // Interface sounds
    Optional("gui-sounds", Kind::SoundMapList),
};

// CheckPreference relies on this: the reads of the other kinds accept an
// absent value.
constexpr bool OnlyNumbersAreRequired()
{
    for (const PreferenceRule& rule : kRules) {
        if (rule.required && rule.kind != Kind::Integer && rule.kind != Kind::Number)
            return false;
    }
    return true;
}
static_assert(OnlyNumbersAreRequired(), "a required preference must be an integer or a number");

constexpr const char* kDataNameForm = "a file name inside the data folder (no \"..\", not absolute), or \"\"";

void CheckDataName(const DocumentField& value)
{
    const std::string name = value.Text();
    if (!name.empty() && !qel::CheckDataName(name))
        value.Fail(kDataNameForm);
}

void CheckFolderName(const DocumentField& value)
{
    const std::string name = value.Text();
    if (!name.empty() && (!qel::CheckDataName(name) || name.find_first_of("/\\") != std::string::npos))
        value.Fail("one folder name (no \"/\", no \"..\"), or \"\"");
}

void CheckKind(const PreferenceRule& rule, const DocumentField& value)
{
    switch (rule.kind) {
    case Kind::Integer:
        value.Integer({static_cast<int64_t>(rule.low), static_cast<int64_t>(rule.high)});
        return;
    case Kind::Number: value.Number({rule.low, rule.high}); return;
    case Kind::Text:
        if (value.Text().size() > static_cast<size_t>(rule.high))
            value.Fail("text of at most " + std::to_string(static_cast<int>(rule.high)) + " bytes");
        return;
    case Kind::Colour: value.Colour(); return;
    case Kind::ColourOrEmpty:
        if (value.Raw().type() != Hjson::Type::String || !value.Raw().to_string().empty())
            value.Colour();
        return;
    case Kind::DataName: CheckDataName(value); return;
    case Kind::FolderName: CheckFolderName(value); return;
    case Kind::YesNo:
        if (value.Raw().type() != Hjson::Type::String || (value.Text() != "yes" && value.Text() != "no"))
            value.Fail("\"yes\" or \"no\"");
        return;
    case Kind::FontList: ReadFontList(value); return;
    case Kind::TextList: ReadTextList(value); return;
    case Kind::SoundMapList: ReadSoundMaps(value); return;
    }
}

}  // namespace

const PreferenceRule* FindPreferenceRule(std::string_view key)
{
    const auto found = std::find_if(std::begin(kRules), std::end(kRules),
                                    [key](const PreferenceRule& rule) { return rule.key == key; });
    return found != std::end(kRules) ? found : nullptr;
}

// Only integers and numbers are required, and their reads refuse an absent
// value with the expected range in the message.
void CheckPreference(const PreferenceRule& rule, const DocumentField& value)
{
    if (value.Present() || rule.required)
        CheckKind(rule, value);
}

void CheckPreferences(const DocumentReader& preferences)
{
    for (const PreferenceRule& rule : kRules)
        CheckPreference(rule, preferences[rule.key]);
    for (const std::string& key : preferences.Keys()) {
        if (!FindPreferenceRule(key))
            std::fprintf(stderr, "%s: \"%s\" is not a preference of this game; it is ignored\n",
                         preferences.Origin().c_str(), key.c_str());
    }
}

std::vector<PreferenceFont> ReadFontList(const DocumentField& list)
{
    std::vector<PreferenceFont> fonts;
    for (const DocumentField& element : list.Elements()) {
        const DocumentReader font = element.Fields();
        const DocumentField fileName = font["filename"];
        const std::optional<std::string> checkedName = qel::CheckDataName(fileName.Text());
        if (!checkedName)
            fileName.Fail("a font file name inside the data folder (no \"..\", not absolute)");
        fonts.push_back({font["tag"].Text(), *checkedName, font["size"].Integer({1, kMaxFontPixels})});
    }
    return fonts;
}

std::vector<std::string> ReadTextList(const DocumentField& list)
{
    std::vector<std::string> texts;
    for (const DocumentField& element : list.Elements())
        texts.push_back(element.Text());
    if (list.Present() && texts.empty())
        list.Fail("a list of at least one text");
    return texts;
}

std::vector<std::pair<std::string, std::string>> ReadSoundMaps(const DocumentField& list)
{
    std::vector<std::pair<std::string, std::string>> sounds;
    for (const DocumentField& element : list.Elements()) {
        const DocumentReader map = element.Fields();
        for (const std::string& event : map.Keys()) {
            CheckDataName(map[event]);
            sounds.emplace_back(event, map[event].Text());
        }
    }
    return sounds;
}
