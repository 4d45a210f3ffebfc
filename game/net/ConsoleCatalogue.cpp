#include "game/net/ConsoleCatalogue.h"

#include "helper/GeneralUtils.h"

#include <algorithm>

namespace {

// The documentation lines are the ones a person laying out consoles reads;
// they stand as written.
constexpr ConsoleWidgetName kWidgets[] = {
    {"2dview", "draws the 2d radar showing all the space objects"},
    {"3dview", "Draws the 3d view out the front of the player's ship"},
    {"3dview_camera", "Draws the 3d view; for use by manual beam view"},
    {"comms_2d_view", "shows the 2d radar view, but specifically for science"},
    {"comms_control", "Shows all the buttons that let the comms player send commands to other ships"},
    {"comms_face", "draws the face of the associated comms-selected space object"},
    {"comms_sorted_list", "shows the list of space objects that are available for comms to communicate with"},
    {"comms_waterfall", "shows all the messages recived by the comms player"},
    {"eng_heat_controls", "shows the coolant dot buttons and the heat values of the four ship systems"},
    {"eng_power_controls", "draws the sliders for engineering to control power to the systems."},
    {"eng_presets", "draws buttons for store/recall of engineering presets."},
    {"fighter_control", "request dock and undock button, for the helm console"},
    {"grid_control", "similar to the button list for comms, this is a list of buttons for eng to command grid objects"},
    {"grid_face", "this shows the face of the accociated selected grid object (in eng)"},
    {"grid_object_list", "this shows a vertical list of the grid objects, so the engeineer can click and select them"},
    {"helm_free_3d", "this is a helm control for when the ship must be controlled by full-3d movment"},
    {"helm_jump", "jump drive controls for helm"},
    {"helm_movement", "same as helm_normal_movement"},
    {"helm_normal",
     "this helm widget steers the ship, according to one of three options chosen by the player on the options "
     "screen.  For normal capital ships, use this."},
    {"helm_restrained_3d",
     "this helm control steers the ship in full 3d, but restrains it, pulling it back down to the galactic plane."},
    {"helm_simple", "this helm widget controls the ship, but in a very simple, 2D way.  For beginners."},
    {"main_screen_control", "this normally appears on helm and weap.  It controls the view of the main screen."},
    {"quick_jump",
     "helm widget that lets the player instant-jump small ships forward and backward, and see the cooldown state."},
    {"radar_zoom_ctrl", "buttons to adjust 2d radar zoom level."},
    {"red_alert", "simple red alert button; controls the red alert state of the players ship"},
    {"request_dock", "request dock and undock button, for the helm console"},
    {"science_2d_view", "shows the 2d radar view, but specifically for science"},
    {"science_data", "for the science console, this shows data about the current science space object selection"},
    {"science_data_freq", "for the science console, this shows data about the current science space object selection"},
    {"science_data_tabs",
     "for the science console, this shows tabs for data about the current science space object selection"},
    {"science_sorted_list", "shows a vertical list of space objects, for science to select"},
    {"shield_control", "button to toggle the shields up or down."},
    {"ship_data", "this widget should proably appear on every console.  It shows the data of the player's ship."},
    {"ship_internal_view",
     "this shows the grid view of the inside of the player's ship, and displays all the grid objects currently on "
     "the grid"},
    {"text_waterfall",
     "this widget should be on every console, including the main screen.  It shows terse messages sent to the "
     "player(s) by the script."},
    {"throttle", "helm widget to control the speed of the ship.  vertical and colorful."},
    {"weap_beam_freq", "weapons control to set the beam frequency of the player ship's beam shots."},
    {"weap_beam_speed",
     "weapon widget that sets the beam speed of the player's ship.  Slow shots are full-damage, fast shots are "
     "lower damage."},
    {"weap_torp_conversion",
     "this weapon console widget lets you trade a homing torpedo for energy, or energy for a torpedo."},
    {"weapon_2d_view",
     "like the other 2d views, this is the 2d radar display, but it's specifically for the weapons console."},
    {"weapon_control", "this is the control for the torpedoes.  Load, unload and fire them."},
};

constexpr ConsoleNameWord kNameWords[] = {
    {"helm", "a helm: a click on its radar steers the ship towards the point", true},
    {"sci", "the science console", false},
    {"main", "a main screen", false},
    {"cockpit", "a fighter's main screen", false},
    {"gamemaster", "the game master's console", false},
};

}  // namespace

std::span<const ConsoleWidgetName> ConsoleWidgetNames()
{
    return kWidgets;
}

bool IsConsoleWidgetName(std::string_view name)
{
    return std::any_of(std::begin(kWidgets), std::end(kWidgets),
                       [&](const ConsoleWidgetName& widget) { return name == widget.name; });
}

std::span<const ConsoleNameWord> ConsoleNameWords()
{
    return kNameWords;
}

std::vector<const ConsoleNameWord*> WordsMissedByCase(const std::string& consoleName)
{
    const std::string lower = LowerCaseAscii(consoleName);
    std::vector<const ConsoleNameWord*> missed;
    for (const ConsoleNameWord& word : kNameWords) {
        if (!word.anyCase && lower.find(word.word) != std::string::npos &&
            consoleName.find(word.word) == std::string::npos)
            missed.push_back(&word);
    }
    return missed;
}
