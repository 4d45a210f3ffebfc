# The bridge of a player ship as the shipped missions seat it: the standard
# stations, each a console name and a set of widget boxes, and the seating of
# the consoles. A console that joins takes the first station nobody holds;
# its Options -> Change Console moves it on to the next station in the same
# order, held or not. The host's own screen shows the game master's view (the
# whole area on the radar, the ship's camera and status, and the mission's
# own controls) or the main screen, switched with a button on each.
#
# Each station's boxes lie where the game's own layout puts them
# (data/GUIBoxDefaults.txt): one dominant element, its radar, view or main
# panel, with compact controls beside it, the top-left corner left to the
# Options button. A crew that moves them keeps its own layout.
#
# A console's name carries meaning to the game: "sci" in it makes a science
# console, "main" or "cockpit" one that follows its ship in the 3D view, and
# "helm" one whose selections steer.
import zmx

import bridge_strings

HELM = "helm"
WEAPONS = "weapons"
ENGINEERING = "engineering"
SCIENCE = "science"
COMMS = "comms"
MAIN_SCREEN = "main_screen"
DAMAGE_CONTROL = "damage_control"
FIGHTER_COCKPIT = "fighter_cockpit"
GAME_MASTER = "gamemaster"

STATIONS = {
    HELM: [
        "2dview",
        "throttle",
        "helm_normal",
        "helm_jump",
        "request_dock",
        "red_alert",
        "radar_zoom_ctrl",
        "main_screen_control",
        "text_waterfall",
    ],
    WEAPONS: [
        "weapon_2d_view",
        "weapon_control",
        "weap_beam_freq",
        "weap_beam_speed",
        "weap_torp_conversion",
        "shield_control",
        "red_alert",
        "radar_zoom_ctrl",
        "main_screen_control",
        "text_waterfall",
    ],
    ENGINEERING: [
        "eng_power_controls",
        "eng_heat_controls",
        "eng_presets",
        "ship_data",
        "text_waterfall",
    ],
    SCIENCE: [
        "science_2d_view",
        "radar_zoom_ctrl",
        "science_sorted_list",
        "science_data_tabs",
        "science_data",
        "science_data_freq",
        "text_waterfall",
    ],
    COMMS: [
        "comms_2d_view",
        "comms_sorted_list",
        "comms_face",
        "comms_control",
        "comms_waterfall",
        "text_waterfall",
    ],
    MAIN_SCREEN: [
        "3dview",
        "text_waterfall",
    ],
    DAMAGE_CONTROL: [
        "ship_internal_view",
        "grid_object_list",
        "grid_face",
        "grid_control",
        "ship_data",
        "text_waterfall",
    ],
    FIGHTER_COCKPIT: [
        "3dview",
        "helm_free_3d",
        "fighter_control",
        "quick_jump",
        "2dview",
        "text_waterfall",
    ],
    GAME_MASTER: [
        "2dview",
        "3dview_camera",
        "ship_data",
        "text_waterfall",
    ],
}

# The crew's stations in the order consoles take them; a fighter's cockpit
# only when the mission has a fighter for it.
CREW_ORDER = (HELM, WEAPONS, ENGINEERING, SCIENCE, COMMS, MAIN_SCREEN, DAMAGE_CONTROL, FIGHTER_COCKPIT)
# A station more than one console may show at once without crowding anyone.
SHARED_STATION = MAIN_SCREEN

# The host's own controls, retained widgets of the server's screen: the panel
# below the game master's status boxes, and the corner button of the main
# screen. Percent of the window.
HOST_PANEL = "bridge_host_panel"
HOST_PANEL_BOX = (65, 81, 100, 100)
TO_MAIN_SCREEN = "bridge_to_main_screen"
TO_GAME_MASTER = "bridge_to_game_master"
TO_GAME_MASTER_BOX = (84, 1, 99, 5)
# A notice in front of the crew, on every screen, the host's and the
# consoles': its words over a panel of its colour.
NOTICE = "bridge_notice"
NOTICE_PANEL = "bridge_notice_panel"
NOTICE_BOX = (20, 30, 80, 52)
NOTICE_TEXT_BOX = (3, 10, 97, 90)  # percent of the panel
NOTICE_PANEL_STYLE = "color:%s"
NOTICE_TEXT_STYLE = "font:gui-3;color:white;justify:center;draw_layer:1010;$text:%s"


def widget_list(station):
    return "^".join(STATIONS[station])


def lay_out(client_id, station):
    """Gives a screen the station's console."""
    zmx.send_client_widget_list(client_id, station, widget_list(station))


class Bridge:
    """The consoles of one player ship (and of her fighter, when she has one)
    and the host's screen. The mission hands every event to handle(); the
    mission's own controls are (tag, label) pairs, and a press of one on the
    host's screen calls on_control(sim, tag). on_seated(client_id, station),
    when given, hears of every console given a station, so the mission can
    send it what the station shows of the story so far."""

    def __init__(self, ship_id, fighter_id=0, controls=(), on_control=None, on_seated=None):
        self.ship_id = ship_id
        self.fighter_id = fighter_id
        self.controls = list(controls)
        self.on_control = on_control
        self.on_seated = on_seated
        self.seats = {}  # client id -> station
        self.host_station = GAME_MASTER
        self.notice = None  # (text, colour) shown on every screen, or None
        # What the main screen shows: (view, angle, camera mode), as the
        # main-screen control last chose it; None keeps the screen's own.
        self.view_modes = None

    # --- seating ------------------------------------------------------------

    def crew_order(self):
        return [station for station in CREW_ORDER if station != FIGHTER_COCKPIT or self.fighter_id]

    def seat(self, client_id):
        """The first station that no connected console holds, else the main
        screen, which any number of consoles may show."""
        self.forget_departed()
        held = set(self.seats.values())
        free = [station for station in self.crew_order() if station not in held]
        self.give(client_id, free[0] if free else SHARED_STATION)

    def move_on(self, client_id):
        """The station after the console's own, whether or not it is held."""
        order = self.crew_order()
        current = self.seats.get(client_id)
        following = order[(order.index(current) + 1) % len(order)] if current in order else order[0]
        self.give(client_id, following)

    def seat_everyone(self):
        """Seats the consoles that joined before the ship existed."""
        for client_id in zmx.get_client_ID_list():
            if client_id not in self.seats:
                self.seat(client_id)

    def give(self, client_id, station):
        self.seats[client_id] = station
        zmx.assign_client_to_ship(client_id, self.ship_of(station))
        lay_out(client_id, station)
        self.show_screen_extras(client_id, station)
        print("bridge: console %d takes the %s station" % (client_id, station), flush=True)
        if self.on_seated:
            self.on_seated(client_id, station)

    def ship_of(self, station):
        return self.fighter_id if station == FIGHTER_COCKPIT else self.ship_id

    def forget_departed(self):
        connected = set(zmx.get_client_ID_list())
        for client_id in [c for c in self.seats if c not in connected]:
            del self.seats[client_id]

    # --- the host's screen ----------------------------------------------------

    def show_host(self, station):
        """The host's screen as a station of the ship: the game master's view,
        the main screen or any other."""
        self.host_station = station
        zmx.assign_client_to_ship(0, self.ship_id)
        lay_out(0, station)
        self.show_screen_extras(0, station)

    def build_host_controls(self):
        zmx.send_gui_clear(0, "")
        if self.host_station == GAME_MASTER:
            left, top, right, bottom = HOST_PANEL_BOX
            zmx.send_gui_sub_region(0, "", HOST_PANEL, "", left, top, right, bottom)
            buttons = self.controls + [(TO_MAIN_SCREEN, "Main Screen")]
            height = 100.0 / len(buttons)
            for row, (tag, label) in enumerate(buttons):
                style = "font:gui-1;$text:%s" % bridge_strings.style_text(label)
                zmx.send_gui_button(0, HOST_PANEL, tag, style, 0, row * height, 100, (row + 1) * height - 1)
        else:
            left, top, right, bottom = TO_GAME_MASTER_BOX
            zmx.send_gui_button(0, "", TO_GAME_MASTER, "font:gui-1;text:Game Master", left, top, right, bottom)
        self.build_notice(0)
        zmx.send_gui_complete(0, "")

    def show_screen_extras(self, client_id, station):
        """What a screen shows besides its boxes: the main screen's chosen
        view, the host's controls, the standing notice."""
        if station == MAIN_SCREEN and self.view_modes:
            zmx.set_main_view_modes(client_id, *self.view_modes)
        if client_id == 0:
            self.build_host_controls()
        else:
            zmx.send_gui_clear(client_id, "")
            self.build_notice(client_id)
            zmx.send_gui_complete(client_id, "")

    # --- notices to the whole crew --------------------------------------------

    def announce(self, text, colour):
        """A notice that stands in front of every screen, the host's included,
        from now on (consoles that join later see it too)."""
        self.notice = (text, colour)
        self.forget_departed()
        for client_id in self.seats:
            self.show_screen_extras(client_id, self.seats[client_id])
        self.build_host_controls()

    def build_notice(self, client_id):
        if not self.notice:
            return
        text, colour = self.notice
        left, top, right, bottom = NOTICE_BOX
        zmx.send_gui_sub_region(client_id, "", NOTICE, "", left, top, right, bottom)
        zmx.send_gui_colorbutton(client_id, NOTICE, NOTICE_PANEL, NOTICE_PANEL_STYLE % colour, 0, 0, 100, 100)
        left, top, right, bottom = NOTICE_TEXT_BOX
        zmx.send_gui_text(client_id, NOTICE, NOTICE + "_text", NOTICE_TEXT_STYLE % bridge_strings.style_text(text),
                          left, top, right, bottom)

    # --- events ---------------------------------------------------------------

    def handle(self, sim, event):
        """Acts on the events that concern the bridge; True when it took one."""
        if event.tag == "client_connect":
            if event.client_id not in self.seats:
                self.seat(event.client_id)
        elif event.tag == "client_change" and event.sub_tag == "change_console":
            self.move_on(event.client_id)
        elif event.tag == "main_screen_change":
            self.relay_view(event)
        elif event.tag == "gui_message" and event.client_id == 0:
            return self.host_pressed(sim, event.sub_tag)
        else:
            return False
        return True

    def relay_view(self, event):
        """The main-screen control's choice reaches the main screens of its ship."""
        self.view_modes = (event.sub_tag, event.value_tag, event.extra_tag)
        screens = [c for c, station in self.seats.items() if station == MAIN_SCREEN]
        if self.host_station == MAIN_SCREEN:
            screens.append(0)
        for client_id in screens:
            zmx.set_main_view_modes(client_id, *self.view_modes)

    def host_pressed(self, sim, tag):
        if tag == TO_MAIN_SCREEN:
            self.show_host(MAIN_SCREEN)
        elif tag == TO_GAME_MASTER:
            self.show_host(GAME_MASTER)
        elif self.on_control and tag in [control for control, _ in self.controls]:
            self.on_control(sim, tag)
        else:
            return False
        return True
