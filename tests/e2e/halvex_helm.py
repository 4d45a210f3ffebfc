#!/usr/bin/python3
"""The helm as a crew flies it: a server hosts the first mission; console A
joins and is given the helm station (steering, throttle, radar); console B
joins as the main screen with the 3D view. On A a person presses full impulse and
holds the right arrow; the mission's own report shows the ship gathering
speed and turning right, A's helm and radar and B's view of space change as
she moves, and closing A leaves the server running and still reporting.

The mission is the first one with two additions of the test's own, made in
the test's copy of the data folder: the consoles take the helm and the main
screen alone, in that order, and every mission tick prints the Tern's speed
and heading.

usage: halvex_helm.py HALVEX SCREENSHOT_FOLDER
  (the game's data folder in QEL_DATA_DIR, the test's own copy)

Own displays, settings folders, port and discovery port; every wait is
bounded and every process started is ended by its id.
"""

import re

import numpy as np

from halvex_bridge import (HELM_RADAR, HELM_STEERING, Crew, Display, crew_order_additions, free_udp_port,
                           host_first_mission, join, mission_with_additions, press_key_until, run_as_main, wait_until,
                           window_box)
from screens import colour_count, hex_colour, near

MAIN = hex_colour("#35c0e8")  # "gui-color-main"

# Console A's steering and radar boxes (the helm station), B's view of
# space above its text waterfall (the main screen station).
HELM_BOX = HELM_STEERING
RADAR_BOX = HELM_RADAR
VIEW_BOX = window_box(0, 0, 100, 82)

# What the test adds to the mission (appended to its script in the test's
# data folder).
MISSION_ADDITIONS = crew_order_additions("helm", ["helm", "main_screen"]) + '''
import math as _math

_mission_handler = halvex_event_handler


def halvex_event_handler(sim, event):
    _mission_handler(sim, event)
    if event.tag == "mission_tick" and player_ship_id:
        ship = sim.get_space_object(player_ship_id)
        q = ship.rot_quat
        heading = _math.degrees(_math.atan2(2 * (q.x * q.z + q.w * q.y), 1 - 2 * (q.x * q.x + q.y * q.y))) % 360
        print("helm test: speed %.3f heading %.2f" % (ship.cur_speed, heading), flush=True)
'''

REPORT = re.compile(r"helm test: speed (-?[0-9.]+) heading ([0-9.]+)")
# Full impulse soon gives well over this; the ship starts at rest.
SPEED_GAINED = 1.0
# The turn key is held until the mission reports the ship turned this far.
DEGREES_TURNED = 10.0
# A screen region "changed" when this many of its pixels differ.
PIXELS_CHANGED = 200


def reports(server):
    return [(float(speed), float(heading)) for speed, heading in REPORT.findall(server.log_all())]


def turned(start, now):
    """Degrees from start to now, to the right (heading grows turning right)."""
    return (now - start + 540.0) % 360.0 - 180.0


def region(pixels, box):
    left, top, right, bottom = box
    return pixels[top:bottom, left:right].astype(np.int32)


def changed_pixels(before, after, box):
    return int(np.count_nonzero(np.any(np.abs(region(before, box) - region(after, box)) > 24, axis=2)))


def run(halvex, source_data, shots, work_folder):
    port = free_udp_port()
    discovery = "127.255.255.255:%d" % free_udp_port()
    data = mission_with_additions(source_data, work_folder, port, "first_watch", MISSION_ADDITIONS)
    with Crew(shots) as crew:
        crew.displays = [Display(work_folder) for _ in range(3)]
        server, _ = host_first_mission(crew, halvex, data, work_folder, discovery, shots,
                                       lambda game: "the Tern is on station" in game.log_all())

        helm = join(crew, "helm", halvex, crew.displays[1], data, work_folder, discovery, shots, server,
                    "takes the helm station")
        view = join(crew, "view", halvex, crew.displays[2], data, work_folder, discovery, shots, server,
                    "takes the main_screen station")
        helm_before = helm.wait_for_screen("the helm drawn", lambda p: near(p, MAIN, HELM_BOX) > 300, shots,
                                           "helm-3-before")
        view_before = view.wait_for_screen("the view of space drawn",
                                           lambda p: colour_count(p[VIEW_BOX[1]:VIEW_BOX[3], VIEW_BOX[0]:VIEW_BOX[2]]) > 20,
                                           shots, "view-3-before")
        start_speed, start_heading = wait_until("a report of the ship at rest", lambda: (reports(server) or [None])[-1])

        press_key_until(helm, "shift", "the ship gathering speed",  # "impulse-full"
                        lambda: reports(server)[-1][0] > start_speed + SPEED_GAINED or None)
        press_key_until(helm, "Right", "the ship turning %.0f degrees right" % DEGREES_TURNED,  # "steer_right"
                        lambda: turned(start_heading, reports(server)[-1][1]) >= DEGREES_TURNED or None)
        speed, heading = reports(server)[-1]
        print("ship: speed %.2f -> %.2f, heading %.1f -> %.1f" % (start_speed, speed, start_heading, heading))
        helm.wait_for_screen("the helm and the radar changed",
                             lambda p: changed_pixels(helm_before, p, HELM_BOX) > PIXELS_CHANGED
                             and changed_pixels(helm_before, p, RADAR_BOX) > PIXELS_CHANGED, shots, "helm-4-after")
        view.wait_for_screen("the view of space changed",
                             lambda p: changed_pixels(view_before, p, VIEW_BOX) > PIXELS_CHANGED, shots,
                             "view-4-after")

        crew.end(helm)
        reported = len(reports(server))
        wait_until("the server going on without the helm", lambda: len(reports(server)) > reported + 2)
        server.check_running()
        crew.end(view)
        crew.end(server)


def main():
    run_as_main(__doc__, run, "halvex-helm-",
                "the helm steered the ship from a console; the view followed; the server outlived the helm")


if __name__ == "__main__":
    main()
