#!/usr/bin/python3
"""The comms console as a crew works it: a server hosts the first mission; a
console joins and is given the comms station (the contact's portrait, the
mission's buttons, the message list and the contact list). The mission offers
Halcyon Station's buttons; on the console a person clicks "Request docking"
and then presses the digit 2 for "Report status". The mission hears each
press with the ship and answers with a comms message, which the console's
message list shows. Then the server's own screen is given the comms console
too, and its click reaches the mission through the server's loopback.

The mission is the first one with additions of the test's own, made in the
test's copy of the data folder: joining consoles take the comms station and
are offered the station's buttons of the test, and each of those the mission
hears is printed and answered.

usage: halvex_comms.py HALVEX SCREENSHOT_FOLDER
  (the game's data folder in QEL_DATA_DIR, the test's own copy)

Own displays, settings folders, port and discovery port; every wait is
bounded and every process started is ended by its id.
"""

import re

from halvex_bridge import (Crew, Display, Failure, crew_order_additions, free_udp_port, host_first_mission, join,
                           mission_with_additions, press_key_until, run_as_main, station_box, wait_until)
from screens import hex_colour, near

DOCK_GREEN = hex_colour("#40ff70")  # the docking button's colour, as the mission sends it
ANSWER_GOLD = hex_colour("#ffd24a")  # the answer's title colour

# The comms station's boxes: the portrait, the buttons, the message list.
FACE_BOX = station_box("comms", "comms_face")
CONTROL_BOX = station_box("comms", "comms_control")
WATERFALL_BOX = station_box("comms", "comms_waterfall")
# The first button's row lies under the 30-pixel heading band, left of the
# 40-pixel scroll slider.
FIRST_BUTTON = ((CONTROL_BOX[0] + CONTROL_BOX[2] - 40) // 2, CONTROL_BOX[1] + 30 + 22)

MISSION_ADDITIONS = crew_order_additions("comms", ["comms"]) + '''
STATION_FACE = ("backdrop #24303c 0 0;head #e6b594 0 0;uniform #2a5aa8 0 0;trim #e8c866 0 0;eyes white 0 0;"
                "iris #3a78b8 0 0;brows #4a2e1c 0 0;nose #e6b594 0 0;mouth #e6b594 1 0;hair #4a2e1c 0 0")
ANSWERS = {"dock": "Bay two is clear, Tern. Come in slow.", "status": "All quiet at Halcyon. Keep your shields up."}
_story_seated = console_seated


def console_seated(client_id, station):
    _story_seated(client_id, station)
    offer_the_station()
    print("comms test: console %d takes comms" % client_id, flush=True)


def offer_the_station():
    zmx.send_comms_selection_info(player_ship_id, STATION_FACE, "#ffd24a", "Halcyon Station")
    zmx.send_comms_button_info(player_ship_id, "#40ff70", "Request docking", "dock")
    zmx.send_comms_button_info(player_ship_id, "#7fd4ff", "Report status", "status")


_mission_handler = halvex_event_handler


def halvex_event_handler(sim, event):
    _mission_handler(sim, event)
    if event.tag == "press_comms_button":
        print("comms test: %s pressed on ship %d by console %d" % (event.sub_tag, event.origin_id, event.client_id),
              flush=True)
        zmx.send_comms_message_to_player_ship(player_ship_id, event.selected_id, STATION_FACE, "Halcyon Station",
                                              "#ffd24a", ANSWERS.get(event.sub_tag, "Say again?"), "#d8e4f0")
        if event.sub_tag == "status":
            # The server's own screen becomes a comms console of the ship too.
            game["bridge"].show_host(bridge_stations.COMMS)
            offer_the_station()
'''

PRESSED = re.compile(r"comms test: (\w+) pressed on ship (\d+) by console (\d+)")
SHIP = re.compile(r"the Tern is on station as ship (\d+)")


def presses(server):
    """(command, ship, the pressing console: 0 for the server's own screen)"""
    return [(command, int(ship), int(console)) for command, ship, console in PRESSED.findall(server.log_all())]


def buttons_shown(pixels):
    return near(pixels, DOCK_GREEN, CONTROL_BOX) > 50 and near(pixels, ANSWER_GOLD, FACE_BOX) > 50


def gold_in_waterfall(pixels):
    return near(pixels, ANSWER_GOLD, WATERFALL_BOX) > 60


def run(halvex, source_data, shots, work_folder):
    port = free_udp_port()
    discovery = "127.255.255.255:%d" % free_udp_port()
    data = mission_with_additions(source_data, work_folder, port, "first_watch", MISSION_ADDITIONS)
    with Crew(shots) as crew:
        crew.displays = [Display(work_folder) for _ in range(2)]
        server, ship = host_first_mission(crew, halvex, data, work_folder, discovery, shots,
                                          lambda game: (SHIP.findall(game.log_all()) or [None])[0])
        ship = int(ship)

        comms = join(crew, "comms", halvex, crew.displays[1], data, work_folder, discovery, shots, server,
                     "takes comms")
        comms.wait_for_screen("the station's portrait and buttons", buttons_shown, shots, "comms-3-buttons")

        comms.click(FIRST_BUTTON)
        wait_until("the mission hearing the docking button", lambda: presses(server) or None)
        (_, _, console), = presses(server)
        if presses(server) != [("dock", ship, console)] or console == 0:
            raise Failure("the mission heard %s, not the console's docking button" % presses(server))
        answered = comms.wait_for_screen("the station's answer in the message list", gold_in_waterfall, shots,
                                         "comms-4-answer")
        one_title = near(answered, ANSWER_GOLD, WATERFALL_BOX)

        press_key_until(comms, "2", "the mission hearing the status button",  # "comms_button_2"
                        lambda: len(presses(server)) > 1)
        if presses(server) != [("dock", ship, console), ("status", ship, console)]:
            raise Failure("the mission heard %s, not one press of each button" % presses(server))
        comms.wait_for_screen("both answers in the message list",
                              lambda p: near(p, ANSWER_GOLD, WATERFALL_BOX) > one_title * 3 // 2, shots,
                              "comms-5-answers")


        # The server's own screen, given the comms console, presses through its loopback.
        server.wait_for_screen("the server's own comms console", buttons_shown, shots, "server-4-comms")
        server.click(FIRST_BUTTON)
        wait_until("the mission hearing the server's docking button", lambda: len(presses(server)) > 2)
        if presses(server)[2:] != [("dock", ship, 0)]:
            raise Failure("the mission heard %s, not the server's docking button" % presses(server)[2:])
        server.wait_for_screen("the answer in the server's message list", gold_in_waterfall, shots, "server-5-answer")

        crew.end(comms)
        crew.end(server)


def main():
    run_as_main(__doc__, run, "halvex-comms-", "the comms console pressed the mission's buttons; the mission answered")


if __name__ == "__main__":
    main()
