#!/usr/bin/python3
"""Engineering as a crew runs it: a server hosts the first mission; console A
joins and takes the helm, console B joins as engineering (power sliders,
coolant and heat, presets). On A a person presses full impulse and the ship
gathers speed until it holds steady; on B a person drags the impulse slider
to its far end, the server takes 300 %, and the ship speeds up well past the
speed it held. B then stores its settings as preset 1; closing B writes them
to the presets file.

The mission is the first one with two additions of the test's own, made in
the test's copy of the data folder: the consoles take the helm and
engineering alone, in that order, and every mission tick prints the Tern's
speed and impulse power.

usage: halvex_engineering.py HALVEX SCREENSHOT_FOLDER
  (the game's data folder in QEL_DATA_DIR, the test's own copy)

Own displays, settings folders, port and discovery port; every wait is
bounded and every process started is ended by its id.
"""

import os
import re

from halvex_bridge import (MAIN, Crew, Display, Failure, act_until, crew_order_additions, free_udp_port,
                           host_first_mission, join, mission_with_additions, press_key_until, run_as_main, wait_until,
                           station_box)
from screens import near

# Console B's boxes (the engineering station): the power sliders, the heat
# columns, the presets. The power box holds eight tall controls side by side,
# each with its slider upright along its left 25 pixels, 40 pixels of label
# below; IMPULSE is the third. Its slider runs from no power at its foot to
# 300 % at its top; 100 % stands a third of the way up. The presets are one
# column of 11 cells: STORE, then presets 0 to 9; STORE's tick is at its left.
POWER_BOX = station_box("engineering", "eng_power_controls")
HEAT_BOX = station_box("engineering", "eng_heat_controls")
PRESETS_BOX = station_box("engineering", "eng_presets")
CONTROL_WIDTH = (POWER_BOX[2] - POWER_BOX[0]) // 8
IMPULSE_SLIDER_X = POWER_BOX[0] + 2 * CONTROL_WIDTH + 12
IMPULSE_SLIDER_NORMAL_Y = POWER_BOX[3] - 40 - (POWER_BOX[3] - 40 - POWER_BOX[1]) // 3
PRESET_CELL = (PRESETS_BOX[3] - PRESETS_BOX[1]) // 11
STORE_BUTTON = ((PRESETS_BOX[0] + PRESETS_BOX[2]) // 2, PRESETS_BOX[1] + PRESET_CELL // 2)
STORE_TICK = (PRESETS_BOX[0] + 2, PRESETS_BOX[1] + 2, PRESETS_BOX[0] + PRESET_CELL - 6, PRESETS_BOX[1] + PRESET_CELL - 4)
PRESET_1_BUTTON = (STORE_BUTTON[0], PRESETS_BOX[1] + 2 * PRESET_CELL + PRESET_CELL // 2)

MISSION_ADDITIONS = crew_order_additions("engineering", ["helm", "engineering"]) + '''
_mission_handler = halvex_event_handler


def halvex_event_handler(sim, event):
    _mission_handler(sim, event)
    if event.tag == "mission_tick" and player_ship_id:
        ship = sim.get_space_object(player_ship_id)
        print("engineering test: speed %.3f impulse %.3f"
              % (ship.cur_speed, ship.data_set.get("eng_control_value", 2)), flush=True)
'''

REPORT = re.compile(r"engineering test: speed (-?[0-9.]+) impulse ([0-9.]+)")
# The speed holds steady once it grows by less than this share over this many
# reports (a mission tick, and so a report, comes about once a second).
STEADY_SHARE = 0.01
STEADY_REPORTS = 2
# At 300 % the ship heads for three times the speed it held at 100 %.
SPEED_UP = 1.5


def reports(server):
    return [(float(speed), float(impulse)) for speed, impulse in REPORT.findall(server.log_all())]


def steady_speed(server):
    seen = reports(server)
    if len(seen) <= STEADY_REPORTS or seen[-1][0] <= 1.0:
        return None
    now, before = seen[-1][0], seen[-1 - STEADY_REPORTS][0]
    return now if now - before < STEADY_SHARE * now else None


def drag(game, start, end):
    """Presses at the start, moves to the end and lets go, each step seen by
    a frame of its own (the slider's knob follows the pointer)."""
    game.move_pointer(start)
    game.press_button(start)
    game.move_pointer(end)
    game.xdotool("mouseup", "1")


def store_ticked(pixels):
    return near(pixels, MAIN, STORE_TICK) > 300


def preset_line(data, preset):
    """The power values of a preset in the presets file, or None before it is written."""
    path = os.path.join(data, "Engineering-Presets.txt")
    if not os.path.exists(path):
        return None
    with open(path) as presets:
        lines = presets.read().split("\n")
    return [float(value) for value in lines[1 + 2 * preset].split()]


def run(halvex, source_data, shots, work_folder):
    port = free_udp_port()
    discovery = "127.255.255.255:%d" % free_udp_port()
    data = mission_with_additions(source_data, work_folder, port, "first_watch", MISSION_ADDITIONS)
    with Crew(shots) as crew:
        crew.displays = [Display(work_folder) for _ in range(3)]
        server, _ = host_first_mission(crew, halvex, data, work_folder, discovery, shots,
                                       lambda server: "the Tern is on station" in server.log_all() or None)

        helm = join(crew, "helm", halvex, crew.displays[1], data, work_folder, discovery, shots, server,
                    "takes the helm station")
        engineering = join(crew, "engineering", halvex, crew.displays[2], data, work_folder, discovery, shots, server,
                           "takes the engineering station")
        engineering.wait_for_screen("the engineering console drawn",
                                    lambda p: near(p, MAIN, POWER_BOX) > 300 and near(p, MAIN, HEAT_BOX) > 300,
                                    shots, "engineering-3-console")

        press_key_until(helm, "shift", "the ship under way", lambda: reports(server)[-1][0] > 0.0)  # "impulse-full"
        held = wait_until("the ship holding a steady speed at full impulse", lambda: steady_speed(server))
        act_until("the server taking 300 % impulse power", lambda: reports(server)[-1][1] > 2.99 or None,
                  lambda: drag(engineering, (IMPULSE_SLIDER_X, IMPULSE_SLIDER_NORMAL_Y),
                               (IMPULSE_SLIDER_X, POWER_BOX[1] - 30)))  # past the top: 300 %
        speed = wait_until("the ship speeding up",
                           lambda: next((s for s, _ in reports(server)[-1:] if s > SPEED_UP * held), None))
        print("ship: speed %.2f at 100 %% impulse power, %.2f and rising at 300 %%" % (held, speed))
        engineering.wait_for_screen("the engineering console after the change",
                                    lambda p: near(p, MAIN, POWER_BOX) > 300, shots, "engineering-4-after")

        # Each clicked once: STORE is a toggle, which a second click would undo.
        engineering.click(STORE_BUTTON)
        wait_until("STORE ticked", lambda: store_ticked(engineering.screen()))
        engineering.click(PRESET_1_BUTTON)
        wait_until("preset 1 stored and STORE unticked", lambda: not store_ticked(engineering.screen()))
        crew.end(engineering)
        stored = preset_line(data, 1)
        if stored is None or len(stored) != 100 or stored[2] != 3.0:
            raise Failure("preset 1 in the presets file is %r, not impulse at 3.0" % (stored,))
        crew.end(helm)
        crew.end(server)


def main():
    run_as_main(__doc__, run, "halvex-engineering-",
                "engineering raised the impulse power from a console; the helm's ship sped up; the preset was saved")


if __name__ == "__main__":
    main()
