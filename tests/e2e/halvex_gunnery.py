#!/usr/bin/python3
"""Science and weapons as a crew works them: a server hosts the gunnery drill
(the frigate Tern and a Skarn raider adrift ahead of her, beyond her beams);
console A joins as the Tern's science station, console B as her weapons
station. On A a person picks the raider from the object list (Page Down),
chooses the status scan's tab and starts it with the science panel's button;
on B she clicks the raider on the weapons radar, loads tube 1 and fires it.
The mission's own report shows each step reaching the server: the targets
chosen, the scan complete, the tube loaded, the torpedo launched and the
raider struck; the screenshots show the scan's findings and the raider's
shields falling on A, and the lock and the tube on B.

usage: halvex_gunnery.py HALVEX SCREENSHOT_FOLDER
  (the game's data folder in QEL_DATA_DIR, the test's own copy)

Own displays, settings folders, port and discovery port; every wait is
bounded and every process started is ended by its id.
"""

import os
import re

import numpy as np

from halvex_bridge import (Crew, Display, act_until, free_udp_port, game_data, host_first_mission, join,
                           press_key_until, run_as_main, wait_until)
from halvex_helm import changed_pixels
from screens import hex_colour, near

MISSION = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures", "missions", "gunnery_drill")

MAIN = hex_colour("#35c0e8")             # "gui-color-main"
HOSTILE_ICON = (255, 0, 0)               # the radar's mark of a ship of an enemy side
WEAPON_RETICLE = hex_colour("#ff5040")   # "gui-color-weapon-reticle"

# Science shows three boxes side by side: the object list, the scan tabs and
# the panel, whose button runs along its bottom (35 pixels) under the rows of
# what the scans found.
LIST_BOX = (102, 76, 368, 691)
STATUS_TAB = (497, 90)
PANEL_BOX = (634, 76, 900, 691)
PANEL_ROWS = (634, 76, 900, 656)
SHIELD_ROW = (634, 151, 900, 176)
SCAN_BUTTON = (767, 673)
START_GREEN = hex_colour("#44ff44")
# The shield read-out's digits redrawn show in this many pixels at least.
SHIELD_DIGITS_CHANGED = 20
# Weapons shows two: the torpedo control and the radar. The tube rows grow up
# from the bottom of the control, an eighth of its height each; tube 1's Load
# button is at the row's left end, FIRE at its right.
RADAR_BOX = (512, 76, 922, 691)
LOAD_TUBE_1 = (155, 653)
FIRE_TUBE_1 = (459, 653)
# Tube 1's load bar between its buttons, filled with the main colour as the
# tube loads; most of it once loaded.
LOAD_BAR = (210, 618, 404, 688)
LOAD_BAR_FULL = 9000
# The weapons reticle turns about the locked mark within this many pixels;
# a mark on the radar is at least this many pixels of its colour.
RETICLE_REACH = 30
MARK_PIXELS = 6

REPORT = re.compile(r"gunnery drill: (.+)")


def drill_data(source, work_folder, port):
    """The game's data with the test's port and the drill as the one mission."""
    data = game_data(source, work_folder, port)
    missions = os.path.join(data, "missions")
    os.unlink(missions)
    os.makedirs(missions)
    os.symlink(os.path.abspath(MISSION), os.path.join(missions, "gunnery_drill"))
    return data


def reports(server):
    return REPORT.findall(server.log_all())


def reported(server, pattern):
    """The first report matching the pattern, as its match, or None."""
    for line in reports(server):
        found = re.fullmatch(pattern, line)
        if found:
            return found
    return None


def wait_for_report(server, what, pattern):
    return wait_until(what, lambda: reported(server, pattern))


def colour_centre(pixels, colour, box, tolerance=30):
    """The window point at the middle of the pixels of that colour in the box,
    or None when there are too few to be an icon."""
    left, top, right, bottom = box
    region = pixels[top:bottom, left:right].astype(np.int32)
    mask = np.all(np.abs(region - np.array(colour, dtype=np.int32)) <= tolerance, axis=2)
    rows, columns = np.nonzero(mask)
    if len(rows) < MARK_PIXELS:
        return None
    return left + int(np.median(columns)), top + int(np.median(rows))


def run(halvex, source_data, shots, work_folder):
    port = free_udp_port()
    discovery = "127.255.255.255:%d" % free_udp_port()
    data = drill_data(source_data, work_folder, port)
    with Crew(shots) as crew:
        crew.displays = [Display(work_folder) for _ in range(3)]
        server, ships = host_first_mission(crew, halvex, data, work_folder, discovery, shots,
                                           lambda game: reported(game, r"the Tern is ship (\d+), the raider ship (\d+)"))
        raider = ships.group(2)

        science = join(crew, "science", halvex, crew.displays[1], data, work_folder, discovery, shots, server,
                       "takes drill_science")
        weapons = join(crew, "weapons", halvex, crew.displays[2], data, work_folder, discovery, shots, server,
                       "takes drill_weapons")

        # Science: the raider is the last object of the list, known by sight
        # already (its initial scan); the status scan is the officer's.
        science.wait_for_screen("the object list drawn", lambda p: near(p, MAIN, LIST_BOX) > 300, shots,
                                "science-3-list")
        press_key_until(science, "Next", "science targeting the raider",
                        lambda: reported(server, "science target " + raider))
        identified = science.wait_for_screen("the raider on the panel", lambda p: near(p, MAIN, PANEL_ROWS) > 600,
                                             shots, "science-4-selected")
        science.click(STATUS_TAB)
        science.wait_for_screen("the status scan's button", lambda p: near(p, START_GREEN, PANEL_BOX) > 300, shots,
                                "science-5-status-tab")
        science.click(SCAN_BUTTON)
        wait_for_report(server, "the raider's status scanned", r"status scan of ship %s complete" % raider)
        # The status scan adds the raider's four systems to the panel.
        rows_before = near(identified, MAIN, PANEL_ROWS)
        science.wait_for_screen("the raider's systems on the panel",
                                lambda p: near(p, MAIN, PANEL_ROWS) > rows_before + 300, shots, "science-6-scanned")

        # Weapons: the raider's mark on the radar is the target; the lock
        # draws the weapons reticle over it.
        radar = weapons.wait_for_screen("the raider on the radar",
                                        lambda p: colour_centre(p, HOSTILE_ICON, RADAR_BOX) is not None, shots,
                                        "weapons-3-radar")
        x, y = colour_centre(radar, HOSTILE_ICON, RADAR_BOX)
        around_raider = (x - RETICLE_REACH, y - RETICLE_REACH, x + RETICLE_REACH, y + RETICLE_REACH)
        unlocked = near(radar, WEAPON_RETICLE, around_raider, tolerance=24)
        # The radar moves under the pointer; a click a frame missed is made again.
        act_until("weapons targeting the raider", lambda: reported(server, "weapons target " + raider),
                  lambda: weapons.click_radar((x, y)))
        weapons.wait_for_screen("the lock on the raider",
                                lambda p: near(p, WEAPON_RETICLE, around_raider, tolerance=24) > unlocked + 40, shots,
                                "weapons-4-locked")
        weapons.click(LOAD_TUBE_1)
        wait_for_report(server, "tube 1 loaded", "tube 0 loaded")
        weapons.wait_for_screen("tube 1 shown loaded", lambda p: near(p, MAIN, LOAD_BAR) > LOAD_BAR_FULL, shots,
                                "weapons-5-loaded")
        # A click a slow frame missed is made again; FIRE on the emptied tube does nothing.
        act_until("the torpedo launched", lambda: reported(server, r"Homing torpedo \d+ launched"),
                  lambda: weapons.click(FIRE_TUBE_1))
        struck = wait_for_report(server, "the raider struck", r"raider struck by (\S+) for ([0-9.]+)")
        print("raider struck by %s for %s" % (struck.group(1), struck.group(2)))
        science.wait_for_screen("the raider's shields down on the science panel",
                                lambda p: changed_pixels(identified, p, SHIELD_ROW) > SHIELD_DIGITS_CHANGED, shots,
                                "science-7-struck")
        weapons.wait_for_screen("tube 1 empty again", lambda p: near(p, MAIN, LOAD_BAR) < LOAD_BAR_FULL // 10, shots,
                                "weapons-6-fired")

        crew.end(weapons)
        crew.end(science)
        crew.end(server)


def main():
    run_as_main(__doc__, run, "halvex-gunnery-",
                "science scanned the raider; weapons locked it, loaded a tube, fired, and the torpedo struck")


if __name__ == "__main__":
    main()
