#!/usr/bin/python3
"""A click made while the game loads is not lost: a halvex on an Xvfb display
of its own is clicked once on "Start Server" as soon as its window maps,
while it still sets itself up behind (or before) its first screen; the
server set-up screen with its mission chooser must follow from that one
click, with no second try. The screens are saved as PNGs in the screenshot
folder.

usage: halvex_loading_click.py HALVEX SCREENSHOT_FOLDER
  (the game's data folder in QEL_DATA_DIR, the test's own copy)

The test keeps to itself: its own data folder (the game's, with a free port),
settings folder, display and discovery port. Every wait is bounded, and
every process it starts is ended by its id.
"""

import os

from halvex_bridge import (START_SERVER, Crew, Display, Game, free_udp_port, game_data, mission_chooser,
                           run_as_main, start_screen)
from screens import save_png


def run(halvex, source_data, shots, work_folder):
    data = game_data(source_data, work_folder, free_udp_port())
    with Crew(shots) as crew:
        crew.displays.append(Display(work_folder))
        game = Game("server", halvex, crew.displays[0], data, work_folder, str(free_udp_port()))
        crew.games.append(game)
        before = game.screen()
        # Once, at once: no wait for a frame to show the pointer, and a lost
        # click is never made again.
        left, top = game.origin
        game.xdotool("mousemove", "--sync", str(left + START_SERVER[0]), str(top + START_SERVER[1]))
        game.xdotool("click", "1")
        save_png(before, os.path.join(shots, "loading-1-when-clicked.png"))
        print("the start screen was %s when the click was made" %
              ("already drawn" if start_screen(before) else "not drawn yet"))
        game.wait_for_screen("the mission chooser, from the one click", mission_chooser, shots,
                             "loading-2-mission-chooser")
        crew.end(game)


def main():
    run_as_main(__doc__, run, "halvex-loading-click-", "the click made while the game loaded was kept")


if __name__ == "__main__":
    main()
