#!/usr/bin/python3
"""A full bridge crew on the first mission, each game on an Xvfb display of
its own: a server hosts First Watch through its screens, six consoles join
from their connect screens, and each is given a station of its own, in turn:
helm, weapons, engineering, science, comms, main screen. On each the main
widget shows the world: the helm's radar its contacts, weapons the lock on a
raider (after the host's game master sends the raiders in), engineering its
power sliders, science the rows of a scanned contact, comms Halcyon's
buttons, the main screen space. The mission's first order stands in a
text waterfall. The main screen's Options -> Change Console moves it on to
damage control. Last the game master ends the watch, and the ending stands
on every console and on the host.

The test's data folder is the game's, with its own port and a smaller 3D
render target (seven software-drawn games share the machine).

usage: halvex_crew.py HALVEX SCREENSHOT_FOLDER
  (the game's data folder in QEL_DATA_DIR, the test's own copy)

Own displays, settings folders, port and discovery port; every wait is
bounded and every process started is ended by its id.
"""

import os
import re

import numpy as np

import halvex_bridge
from halvex_bridge import (CONNECT_TO_SERVER, HELM_RADAR, HELM_WATERFALL, START_CLIENT, Crew, Display, Failure, Game,
                           act_until, connect_screen_with_server_found, free_udp_port, game_data, host_first_mission,
                           press_keys, run_as_main, start_screen, station_box, wait_until, window_box)
from screens import colour_count, hex_colour, near

MAIN = hex_colour("#35c0e8")           # "gui-color-main"
ORDER_WHITE = hex_colour("#d8e4f0")    # the ship's own messages to the crew
STATUS_BLUE = hex_colour("#7fd4ff")    # Halcyon's "Request status" button
DOCK_GREEN = hex_colour("#40ff70")     # Halcyon's "Request docking" button
TARGET_RED = (255, 0, 0)               # the weapons control's mark of a locked target
HOSTILE_ICON = (255, 0, 0)             # the radar's mark of a ship of an enemy side
KEPT_GREEN = hex_colour("#1e6e38")     # the notice of the watch kept

STATIONS = ["helm", "weapons", "engineering", "science", "comms", "main_screen"]
# Any one screen, while six other software-drawn games run beside it.
CREW_WAIT_SECONDS = 120
# Each display just holds its game's window (the game's fixed size).
WINDOW_SCREEN = "1024x768x24"


# Boxes of the stations (the mission's bridge stations) and of the host's
# game master panel.
WEAPONS_RADAR = station_box("weapons", "weapon_2d_view")
# Where the raiders come in, ahead of the ship: the radar's upper part, clear
# of the story dialog at the foot of the window.
WEAPONS_RADAR_AHEAD = window_box(0, 6, 60, 60)
WEAPON_CONTROL = station_box("weapons", "weapon_control")
POWER_SLIDERS = station_box("engineering", "eng_power_controls")
SCIENCE_DATA = station_box("science", "science_data")
COMMS_CONTROL = station_box("comms", "comms_control")
MAIN_VIEW = window_box(0, 0, 100, 84)
GRID_CONTROL = station_box("damage_control", "grid_control")
SEAL_AMBER = hex_colour("#ffb040")     # the damage-control team's "Seal" button
NOTICE = window_box(20, 30, 80, 52)
HOST_PANEL = window_box(65, 81, 100, 100)
# The host panel's buttons, top to bottom, each a quarter of it.
SEND_THE_RAIDERS, END_THE_WATCH = 1, 2
# A mark on a radar is at least this many pixels of its colour, within this
# many pixels of its middle.
MARK_PIXELS = 6
MARK_REACH = 12

SEATED = re.compile(r"bridge: console (\d+) takes the (\w+) station")


def crew_data(source, work_folder, port):
    """The game's data with the test's port and a small 3D render target."""
    data = game_data(source, work_folder, port)
    path = os.path.join(data, "preferences.yaml")
    with open(path) as original:
        preferences = original.read()
    for key, value in (("main-buff-width", 512), ("main-buff-height", 288)):
        preferences, count = re.subn(r"%s: \d+" % key, "%s: %d" % (key, value), preferences)
        if count != 1:
            raise Failure("the preferences hold no %s to change" % key)
    with open(path, "w") as changed:
        changed.write(preferences)
    return data


def seatings(server):
    return SEATED.findall(server.log_all())


def host_button(row):
    left, top, right, bottom = HOST_PANEL
    height = (bottom - top) // 4
    return ((left + right) // 2, top + row * height + height // 2)


def nearest_mark(pixels, colour, area, centre, tolerance=30):
    """The window point amid the mark of that colour in the area that lies
    nearest the centre (the radar's own ship), or None when there is none."""
    left, top, right, bottom = area
    region = pixels[top:bottom, left:right].astype(np.int32)
    mask = np.all(np.abs(region - np.array(colour, dtype=np.int32)) <= tolerance, axis=2)
    rows, columns = np.nonzero(mask)
    if len(rows) < MARK_PIXELS:
        return None
    xs, ys = columns + left, rows + top
    nearest = np.argmin((xs - centre[0]) ** 2 + (ys - centre[1]) ** 2)
    mark = (xs - xs[nearest]) ** 2 + (ys - ys[nearest]) ** 2 <= MARK_REACH ** 2
    if np.count_nonzero(mark) < MARK_PIXELS:
        return None
    return int(np.median(xs[mark])), int(np.median(ys[mark]))


def join_crew(crew, halvex, data, work_folder, discovery, shots, server):
    """Six consoles started side by side, then connected one after another:
    each takes the next station. Returns them by station."""
    games = []
    for index, station in enumerate(STATIONS):
        game = Game(station, halvex, crew.displays[index + 1], data, work_folder, discovery)
        crew.games.append(game)
        games.append(game)
    consoles = {}
    for station, game in zip(STATIONS, games):
        game.wait_for_screen("the start screen", start_screen, shots, station + "-1-start-screen")
        game.click(START_CLIENT)
        game.wait_for_screen("the connect screen listing the server", connect_screen_with_server_found, shots,
                             station + "-2-connect-screen")
        seated = len(seatings(server))
        game.click(CONNECT_TO_SERVER)
        wait_until(station + " seated", lambda: len(seatings(server)) > seated)
        client, given = seatings(server)[seated]
        if given != station:
            raise Failure("console %s was given the %s station, not %s" % (client, given, station))
        consoles[station] = game
    return consoles


def check_stations(consoles, server, shots):
    """Each station's main widget shows the world it reads."""
    helm, weapons = consoles["helm"], consoles["weapons"]
    helm.wait_for_screen("contacts on the helm's radar", lambda p: near(p, MAIN, HELM_RADAR) > 300 and
                         colour_count(p[HELM_RADAR[1]:HELM_RADAR[3], HELM_RADAR[0]:HELM_RADAR[2]]) > 30,
                         shots, "helm-3-radar")
    helm.wait_for_screen("the first order in the text waterfall",
                         lambda p: near(p, ORDER_WHITE, HELM_WATERFALL, tolerance=30) > 40, shots, "helm-4-order")
    consoles["engineering"].wait_for_screen("the power sliders", lambda p: near(p, MAIN, POWER_SLIDERS) > 1000,
                                            shots, "engineering-3-sliders")
    consoles["comms"].wait_for_screen("Halcyon's buttons", lambda p: near(p, STATUS_BLUE, COMMS_CONTROL) > 100 and
                                      near(p, DOCK_GREEN, COMMS_CONTROL) > 100, shots, "comms-3-buttons")
    consoles["main_screen"].wait_for_screen("space on the main screen",
                                            lambda p: colour_count(p[MAIN_VIEW[1]:MAIN_VIEW[3],
                                                                     MAIN_VIEW[0]:MAIN_VIEW[2]]) > 40,
                                            shots, "main-screen-3-view")

    science = consoles["science"]
    before = science.wait_for_screen("the science panel", lambda p: near(p, MAIN, SCIENCE_DATA) > 100, shots,
                                     "science-3-panel")
    # To the foot of the object list (the far contact, not yet scanned), then
    # up it to a contact known by sight, whose rows the panel shows.
    empty = near(before, MAIN, SCIENCE_DATA)
    press_keys(science, "Next")
    act_until("a contact's rows on the science panel", lambda: near(science.screen(), MAIN, SCIENCE_DATA) > empty + 300,
              lambda: press_keys(science, "Prior"))
    science.wait_for_screen("the rows shown", lambda p: near(p, MAIN, SCIENCE_DATA) > empty + 300, shots,
                            "science-4-rows")

    # The game master sends the raiders in; weapons locks the nearest as it
    # closes on the ship.
    server.click(host_button(SEND_THE_RAIDERS))
    wait_until("the raid ordered", lambda: "first_watch: objective raid" in server.log_all())
    centre = ((WEAPONS_RADAR[0] + WEAPONS_RADAR[2]) // 2, (WEAPONS_RADAR[1] + WEAPONS_RADAR[3]) // 2)

    def raider(pixels):
        return nearest_mark(pixels, HOSTILE_ICON, WEAPONS_RADAR_AHEAD, centre)
    radar = weapons.wait_for_screen("a raider on the weapons radar", lambda p: raider(p) is not None, shots,
                                    "weapons-3-raider")
    unlocked = near(radar, TARGET_RED, WEAPON_CONTROL, tolerance=20)
    act_until("the lock on the raider",
              lambda: near(weapons.screen(), TARGET_RED, WEAPON_CONTROL, tolerance=20) > unlocked + 100,
              lambda: weapons.click_radar(raider(weapons.screen()) or centre))
    weapons.wait_for_screen("the lock shown", lambda p: near(p, TARGET_RED, WEAPON_CONTROL, tolerance=20) > unlocked,
                            shots, "weapons-4-locked")


def change_console(game, server, shots):
    """Options, then Change Console, by their hot keys: the console moves on."""
    seated = len(seatings(server))
    # Typed once: the game sees each key in a frame of its own, and a second
    # "o" typed while the first change was on its way would open Options again.
    press_keys(game, "o", "e")
    wait_until("the console changed", lambda: len(seatings(server)) > seated)
    _, station = seatings(server)[seated]
    if station != "damage_control":
        raise Failure("Change Console on the main screen gave %s, not damage_control" % station)
    game.wait_for_screen("the damage control station's team orders", lambda p: near(p, SEAL_AMBER, GRID_CONTROL) > 100,
                         shots, "main-screen-5-damage-control")


def run(halvex, source_data, shots, work_folder):
    # Seven games share the machine's processors: each draws with one
    # software rasterizer thread rather than one per processor, and every
    # screen may take longer to come.
    os.environ.setdefault("LP_NUM_THREADS", "1")
    halvex_bridge.WAIT_SECONDS = CREW_WAIT_SECONDS
    port = free_udp_port()
    discovery = "127.255.255.255:%d" % free_udp_port()
    data = crew_data(source_data, work_folder, port)
    with Crew(shots) as crew:
        crew.displays = [Display(work_folder, WINDOW_SCREEN) for _ in range(1 + len(STATIONS))]
        server, _ = host_first_mission(crew, halvex, data, work_folder, discovery, shots,
                                       lambda game: "the Tern is on station" in game.log_all())
        consoles = join_crew(crew, halvex, data, work_folder, discovery, shots, server)
        check_stations(consoles, server, shots)
        change_console(consoles["main_screen"], server, shots)

        server.wait_for_screen("the game master's panel", lambda p: near(p, MAIN, HOST_PANEL) > 300, shots,
                               "server-4-game-master")
        server.click(host_button(END_THE_WATCH))
        wait_until("the watch ended", lambda: "first_watch: the watch is kept" in server.log_all())
        notice_area = (NOTICE[2] - NOTICE[0]) * (NOTICE[3] - NOTICE[1])
        for station, game in list(consoles.items()) + [("server", server)]:
            game.wait_for_screen("the ending", lambda p: near(p, KEPT_GREEN, NOTICE, tolerance=24) > notice_area // 3,
                                 shots, station + "-9-ending")
        for game in list(consoles.values()):
            crew.end(game)
        crew.end(server)


def main():
    run_as_main(__doc__, run, "halvex-crew-",
                "six consoles crewed six stations of the first mission; one moved on; the ending reached them all")


if __name__ == "__main__":
    main()
