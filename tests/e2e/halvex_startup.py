#!/usr/bin/python3
"""The game's start-up as a person sees it:
1. With the game's data, halvex opens its window on an Xvfb display of its
   own and draws frames until its start screen shows, which writes the list
   of console widgets into the data folder; SIGTERM then ends it cleanly.
2. With a malformed preferences file (tests/fixtures/bad-preferences) it
   stops at start-up, non-zero, and the message names the file and the line.
3. With no display to show on (and no video driver named) it says so and
   stops, non-zero, instead of running where nobody sees it.

usage: halvex_startup.py HALVEX SCREENSHOT_FOLDER
  (the game's data folder in QEL_DATA_DIR, the test's own copy)

Own display, settings folders and discovery port; every wait is bounded and
every process started is ended by its id.
"""

import os
import re
import shutil
import subprocess

from halvex_bridge import (Crew, Display, Failure, Game, free_udp_port, run_as_main, start_screen)

BAD_PREFERENCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures", "bad-preferences")
# Only a start-up that hangs takes this long to give up.
BAD_START_SECONDS = 120


def starts_and_ends_cleanly(halvex, data, shots, work_folder):
    discovery = "127.255.255.255:%d" % free_udp_port()
    with Crew(shots) as crew:
        crew.displays = [Display(work_folder)]
        game = Game("game", halvex, crew.displays[0], data, work_folder, discovery)
        crew.games.append(game)
        game.wait_for_screen("the start screen", start_screen, shots, "startup-start-screen")
        crew.end(game)
    if not os.path.isfile(os.path.join(data, "GUIWidgetList.txt")):
        raise Failure("the start screen wrote no list of console widgets")


def stopped_output(halvex, environment, work_folder, why):
    """Runs halvex until it stops by itself, which it must, non-zero, for the
    given reason; returns what it wrote."""
    try:
        run = subprocess.run([halvex], env=environment, cwd=work_folder, stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, universal_newlines=True, timeout=BAD_START_SECONDS)
    except subprocess.TimeoutExpired:
        raise Failure("halvex did not stop %s within %d s" % (why, BAD_START_SECONDS))
    if run.returncode == 0:
        raise Failure("halvex did not stop %s:\n%s" % (why, run.stdout))
    return run.stdout


def stops_on_bad_preferences(halvex, work_folder):
    data = os.path.join(work_folder, "bad-data")
    shutil.copytree(BAD_PREFERENCES, data)
    environment = dict(os.environ, QEL_DATA_DIR=data, QEL_SETTINGS_DIR=os.path.join(work_folder, "settings-bad"),
                       QEL_NONINTERACTIVE="1", SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
    output = stopped_output(halvex, environment, work_folder, "on malformed preferences")
    if "preferences.yaml" not in output or not re.search(r"line [0-9]", output):
        raise Failure("the error does not name the file and the line:\n" + output)


def stops_without_a_display(halvex, data, work_folder):
    environment = {name: value for name, value in os.environ.items()
                   if name not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    environment.update(QEL_DATA_DIR=data, QEL_SETTINGS_DIR=os.path.join(work_folder, "settings-no-display"),
                       QEL_NONINTERACTIVE="1", SDL_AUDIODRIVER="dummy")
    output = stopped_output(halvex, environment, work_folder, "without a display")
    if "no display" not in output:
        raise Failure("halvex did not say there is no display:\n" + output)


def run(halvex, data, shots, work_folder):
    starts_and_ends_cleanly(halvex, data, shots, work_folder)
    stops_on_bad_preferences(halvex, work_folder)
    stops_without_a_display(halvex, data, work_folder)


def main():
    run_as_main(__doc__, run, "halvex-startup-", "halvex drew its start screen, ended cleanly on SIGTERM and "
                "stopped on malformed preferences naming the file and the line, and without a display")


if __name__ == "__main__":
    main()
