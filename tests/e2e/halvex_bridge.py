#!/usr/bin/python3
"""Whole programs on one machine: a server and a console, each a halvex on an
Xvfb display of its own, reach a running mission and a connected console
through the screens a person uses, clicked with xdotool:

  server: start screen -> "Start Server" -> the mission chooser -> the first
          mission ticked -> "Initialize Mission" -> the server's console
  console: start screen -> "Start Client" -> the connect screen, which finds
          the server on the (loopback) network -> "Connect To Server" with
          the address it shows, 127.0.0.1 -> the console with the boxes the
          mission chose

Then the server is ended (SIGTERM): it ends cleanly, and the console is back
at its connect screen saying why; the console ends cleanly too. Each screen is
saved as a PNG in the screenshot folder and checked for drawn content.

usage: halvex_bridge.py HALVEX SCREENSHOT_FOLDER
  (the game's data folder in QEL_DATA_DIR, the test's own copy)

The test keeps to itself: its own data folder (the game's, with a free port),
settings folders, displays and discovery port. Every wait is bounded, and
every process it starts is ended by its id.
"""

import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

from screens import colour_count, hex_colour, near, save_png, screenshot

WAIT_SECONDS = 120         # any one screen; software GL on a busy machine is slow
# A frame that takes this long is a hang: a wait for a control's shade ends
# here when the control shows none.
SHADE_SECONDS = 5
# One xdotool command: a pointer move it waits for takes long only when the
# display server is starved of processor time, as on a busy machine.
XDOTOOL_SECONDS = WAIT_SECONDS
# Asked to stop, a game says goodbye to its peers and takes down its
# services; one that is still running after this long hangs in its shutdown.
STOP_SECONDS = 20
PATCH = 4                  # pixels around a clicked point that show its shade
WINDOW_WIDTH, WINDOW_HEIGHT = 1024, 768
SCREEN = "1280x1024x24"

MAIN = hex_colour("#35c0e8")       # "gui-color-main"
ORDER_WHITE = hex_colour("#d8e4f0")  # the mission's orders to the crew
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
NOTICE = (255, 115, 89)            # the connect screen's notice

def window_box(left, top, right, bottom):
    """A box of a console station, in percent of the window, as window pixels."""
    return (WINDOW_WIDTH * left // 100, WINDOW_HEIGHT * top // 100, WINDOW_WIDTH * right // 100,
            WINDOW_HEIGHT * bottom // 100)


def station_boxes():
    """The game's own layout of its stations (data/GUIBoxDefaults.txt: ten
    lines a box, console name, widget name and eight edges in percent), as
    {(console, widget): (left, top, right, bottom)} in percent."""
    boxes = {}
    path = os.path.join(os.environ.get("QEL_DATA_DIR", "data"), "GUIBoxDefaults.txt")
    with open(path, encoding="utf-8") as layout:
        lines = layout.read().splitlines()
    for first in range(0, len(lines) - 9, 10):
        edges = tuple(int(edge) for edge in lines[first + 2:first + 6])
        boxes[(lines[first], lines[first + 1])] = edges
    return boxes


STATION_BOXES = station_boxes()


def station_box(console, widget):
    """Where the game's layout puts a widget of a station, as window pixels."""
    return window_box(*STATION_BOXES[(console, widget)])


# The helm station's boxes.
HELM_RADAR = station_box("helm", "2dview")
HELM_THROTTLE = station_box("helm", "throttle")
HELM_STEERING = station_box("helm", "helm_normal")
HELM_JUMP = station_box("helm", "helm_jump")
HELM_DOCK = station_box("helm", "request_dock")
HELM_WATERFALL = station_box("helm", "text_waterfall")

# Window coordinates of what is clicked, from the screens' layouts.
START_SERVER = (92, 708)
START_CLIENT = (235, 708)
FIRST_MISSION = (200, 168)
INITIALIZE_MISSION = (952, 737)
CONNECT_TO_SERVER = (699, 628)


class Failure(Exception):
    pass


def wait_until(what, predicate, seconds=None):
    """The predicate's first answer; a test with more games on the machine
    may raise WAIT_SECONDS for all its waits."""
    deadline = time.monotonic() + (seconds or WAIT_SECONDS)
    while time.monotonic() < deadline:
        result = predicate()
        if result is not None and result is not False:  # a picture has no truth value
            return result
        time.sleep(0.25)
    raise Failure("gave up waiting for " + what)


def act_until(what, done, act):
    """Acts (drags, clicks) until done() has an answer, which it returns: an
    act that fell inside one slow frame is simply made again. done() is asked
    first, so an act that took effect late is not repeated."""
    def attempt():
        result = done()
        if result is None or result is False:
            act()
            return None
        return result
    return wait_until(what, attempt)


def free_udp_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Display:
    """An Xvfb server on the first free display number, of the screen size
    and depth given ("WIDTHxHEIGHTxDEPTH")."""

    def __init__(self, log_folder, screen=SCREEN):
        read_end, write_end = os.pipe()
        # A log of its own: the pipe's descriptor numbers repeat from one display to the next.
        log_fd, _ = tempfile.mkstemp(prefix="xvfb-", suffix=".log", dir=log_folder)
        self.log = os.fdopen(log_fd, "w")
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=self.log, stderr=subprocess.STDOUT)
        os.close(write_end)
        with os.fdopen(read_end) as reader:
            number = reader.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.name = ":" + number

    def stop(self):
        stop_process(self.process)
        self.log.close()


def stop_process(process, on_hang=lambda: None):
    """Asks the process to stop and waits; one still running after
    STOP_SECONDS is first shown to on_hang, then killed."""
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=STOP_SECONDS)
        except subprocess.TimeoutExpired:
            on_hang()
            process.kill()
            process.wait()
    return process.returncode


def how_it_ended(status):
    """A process's exit status in words: a negative status is the signal
    that ended it (SIGKILL: it did not stop within STOP_SECONDS of being
    asked)."""
    if status >= 0:
        return "ended with status %d" % status
    name = signal.Signals(-status).name
    if -status == signal.SIGKILL:
        return "did not stop within %d s of being asked and was killed" % STOP_SECONDS
    return "was ended by %s" % name


class Game:
    """One halvex on its display, with its own settings folder and logs."""

    def __init__(self, role, halvex, display, data_folder, work_folder, discovery):
        self.role = role
        self.display = display
        settings = os.path.join(work_folder, "settings-" + role)
        os.makedirs(settings)
        self.output_path = os.path.join(work_folder, role + ".log")
        self.output = open(self.output_path, "w")
        environment = dict(os.environ, DISPLAY=display.name, QEL_DATA_DIR=data_folder,
                           QEL_SETTINGS_DIR=settings, QEL_NONINTERACTIVE="1", SDL_AUDIODRIVER="dummy",
                           QEL_DISCOVERY=discovery)
        environment.pop("SDL_VIDEODRIVER", None)
        self.process = subprocess.Popen([halvex], env=environment, cwd=work_folder, stdout=self.output,
                                        stderr=subprocess.STDOUT)
        self.last_search = None
        self.hang_report = ""
        try:
            self.window = wait_until(role + "'s window", self.find_window)
        except Failure as failure:
            raise Failure("%s\n%s\n%s" % (failure, self.what_the_display_holds(), self.where_it_waits())) from None
        self.origin = self.window_origin()

    def where_it_waits(self):
        """The stacks of the game's threads, read with gdb when the machine
        has it: what a game that shows no window is doing."""
        if shutil.which("gdb") is None:
            return "(no gdb to show where %s waits)" % self.role
        try:
            stacks = subprocess.run(["gdb", "-batch", "-p", str(self.process.pid), "-ex", "thread apply all bt 25"],
                                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=XDOTOOL_SECONDS,
                                    universal_newlines=True).stdout
        except subprocess.TimeoutExpired:
            return "(gdb could not read where %s waits)" % self.role
        frames = [line for line in stacks.splitlines() if line.startswith(("#", "Thread"))]
        return "where %s waits:\n%s" % (self.role, "\n".join(frames))

    def what_the_display_holds(self):
        """The windows on the game's display and what the last search for
        the game's window answered: why a window the game made was not found."""
        search = self.last_search
        said = "last search: status %s, %r" % (search.returncode, search.stderr.strip()) if search else "no search"
        if shutil.which("xwininfo") is None:
            return said
        tree = subprocess.run(["xwininfo", "-root", "-tree"], env=dict(os.environ, DISPLAY=self.display.name),
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=XDOTOOL_SECONDS,
                              universal_newlines=True).stdout
        return "%s\nwindows on %s:\n%s" % (said, self.display.name, tree)

    def xdotool(self, *arguments):
        return subprocess.run(["xdotool"] + list(arguments), env=dict(os.environ, DISPLAY=self.display.name),
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=XDOTOOL_SECONDS,
                              universal_newlines=True)

    def find_window(self):
        self.check_running()
        self.last_search = self.xdotool("search", "--onlyvisible", "--name", "^Engine$")
        found = self.last_search.stdout.split()
        return found[0] if found else None

    def window_origin(self):
        geometry = self.xdotool("getwindowgeometry", "--shell", self.window).stdout
        values = dict(line.split("=", 1) for line in geometry.split())
        return int(values["X"]), int(values["Y"])

    def check_running(self):
        if self.process.poll() is not None:
            raise Failure("%s %s:\n%s" % (self.role, how_it_ended(self.process.returncode), self.log()))

    def log(self):
        return self.log_all()[-4000:]

    def log_all(self):
        if not self.output.closed:
            self.output.flush()
        with open(self.output_path) as text:
            return text.read()

    def click(self, point):
        """A click the game cannot miss: the pointer over the point, then the
        press and the release, each seen by a frame of its own (see
        move_pointer and press_button)."""
        self.move_pointer(point)
        self.press_button(point)
        self.xdotool("mouseup", "1")

    def click_radar(self, point):
        """A click on a radar, which redraws itself every frame: the pointer
        over the point, then the press and the release at once, as a quick
        hand makes them. The game keeps both edges of a click that falls
        within one frame and times the press by its events, so however slowly
        frames come it stays a click, never a hold."""
        self.move_pointer(point)
        self.xdotool("click", "1")

    def move_pointer(self, point):
        """Moves the pointer to the window point and waits until a frame has
        drawn the control under it lit as the pointer's."""
        self.check_running()
        before = self.patch(point)
        x, y = point
        self.xdotool("mousemove", "--sync", str(self.origin[0] + x), str(self.origin[1] + y))
        self.wait_for_change(point, before)

    def press_button(self, point):
        """Presses the left button and waits until a frame has drawn the
        control at the point pressed: a release in the same frame would be
        no click."""
        before = self.patch(point)
        self.xdotool("mousedown", "1")
        self.wait_for_change(point, before)

    def patch(self, point):
        """The few pixels of the window around the point."""
        x, y = point
        return self.screen()[max(y - PATCH, 0):y + PATCH + 1, max(x - PATCH, 0):x + PATCH + 1].copy()

    def wait_for_change(self, point, before):
        """Waits until the pixels around the point differ from before, which
        is a frame drawn: a control shades itself when the pointer is over it
        and when it is pressed. Under a control that does not, or that shows
        no change, the wait ends after a while with no failure."""
        deadline = time.monotonic() + SHADE_SECONDS
        while time.monotonic() < deadline:
            if (self.patch(point) != before).any():
                return
            time.sleep(0.05)

    def screen(self):
        self.check_running()
        pixels = screenshot(self.display.name)
        left, top = self.origin
        return pixels[top:top + WINDOW_HEIGHT, left:left + WINDOW_WIDTH]

    def wait_for_screen(self, what, predicate, shots, name):
        """Waits until the window shows what the predicate looks for; saves it."""
        last = []

        def shown():
            last[:] = [self.screen()]
            return last[0] if predicate(last[0]) else None
        try:
            pixels = wait_until("%s: %s" % (self.role, what), shown)
        except Failure:
            if last:  # what the window showed instead, for a look
                save_png(last[0], os.path.join(shots, name + "-not-reached.png"))
            raise
        save_png(pixels, os.path.join(shots, name + ".png"))
        return pixels

    def save_last_screen(self, path):
        """What the window shows now, when the game still shows one."""
        if getattr(self, "origin", None) is None or self.process.poll() is not None:
            return
        try:
            save_png(self.screen(), path)
        except (Failure, OSError, subprocess.SubprocessError):
            pass  # the failure itself is what the test reports

    def stop(self):
        """Stops the game and returns its exit status; when it hangs in its
        shutdown, where its threads wait is kept in hang_report."""
        def keep_where_it_waits():
            self.hang_report = self.where_it_waits()
        status = stop_process(self.process, keep_where_it_waits)
        self.output.close()
        return status



class Crew:
    """The displays and games of one test. On a failure every game's log is
    printed and what each game's window shows is saved in the screenshot
    folder (<role>-at-failure.png); on leaving, every game still running and
    every display is ended."""

    def __init__(self, shots):
        self.shots = shots
        self.displays, self.games = [], []

    def __enter__(self):
        return self

    def __exit__(self, kind, value, traceback):
        if kind is not None and issubclass(kind, Failure):
            for game in self.games:
                print("--- what the %s wrote:\n%s" % (game.role, game.log()))
                game.save_last_screen(os.path.join(self.shots, game.role + "-at-failure.png"))
        for game in self.games:
            game.stop()
        for display in self.displays:
            display.stop()
        return False

    def end(self, game):
        """Ends one game, which must end cleanly."""
        self.games.remove(game)
        status = game.stop()
        if status != 0:
            raise Failure("the %s %s:\n%s\n%s" % (game.role, how_it_ended(status), game.log(), game.hang_report))


def run_as_main(doc, run, folder_prefix, success):
    """The command line of a whole-program test: HALVEX SCREENSHOT_FOLDER,
    with the game's data folder in QEL_DATA_DIR (the test's own copy, as the
    test sandbox gives it), a work folder of its own removed afterwards, exit
    1 on a failure."""
    if len(sys.argv) != 3 or not os.environ.get("QEL_DATA_DIR"):
        sys.exit(doc)
    halvex, shots = (os.path.abspath(argument) for argument in sys.argv[1:])
    data = os.path.abspath(os.environ["QEL_DATA_DIR"])
    os.makedirs(shots, exist_ok=True)
    work_folder = tempfile.mkdtemp(prefix=folder_prefix)
    try:
        run(halvex, data, shots, work_folder)
    except Failure as failure:
        print("FAILED:", failure)
        print("screenshots so far in", shots)
        sys.exit(1)
    finally:
        shutil.rmtree(work_folder, ignore_errors=True)
    print(success)


def host_first_mission(crew, halvex, data, work_folder, discovery, shots, started):
    """The server game on the crew's first display, through its screens to the
    first mission of the chooser: returns the game once its console shows,
    and what started(server) gave when the mission had begun."""
    server = Game("server", halvex, crew.displays[0], data, work_folder, discovery)
    crew.games.append(server)
    server.wait_for_screen("the start screen", start_screen, shots, "server-1-start-screen")
    server.click(START_SERVER)
    server.wait_for_screen("the mission chooser", mission_chooser, shots, "server-2-mission-chooser")
    server.click(FIRST_MISSION)
    server.click(INITIALIZE_MISSION)
    begun = wait_until("the mission running", lambda: started(server))
    server.wait_for_screen("the server's console", server_console, shots, "server-3-console")
    return server, begun


def game_data(source, work_folder, port):
    """The game's data beside a preferences file of the test's own port."""
    data = os.path.join(work_folder, "data")
    os.makedirs(data)
    for entry in os.listdir(source):
        if entry != "preferences.yaml":
            os.symlink(os.path.join(source, entry), os.path.join(data, entry))
    with open(os.path.join(source, "preferences.yaml")) as original:
        preferences = original.read()
    preferences, count = re.subn(r"serverNetworkPort: \d+", "serverNetworkPort: %d" % port, preferences)
    if count != 1:
        raise Failure("the preferences hold no serverNetworkPort to change")
    with open(os.path.join(data, "preferences.yaml"), "w") as changed:
        changed.write(preferences)
    return data


def mission_with_additions(source, work_folder, port, mission, additions):
    """The game's data with the test's port and the mission's script with the
    test's additions appended (in the test's copy of the data folder)."""
    data = game_data(source, work_folder, port)
    missions = os.path.join(data, "missions")
    os.unlink(missions)
    os.makedirs(os.path.join(missions, mission))
    source_missions = os.path.join(source, "missions")
    for entry in os.listdir(source_missions):
        if entry != mission:
            os.symlink(os.path.join(source_missions, entry), os.path.join(missions, entry))
    original_folder = os.path.join(source_missions, mission)
    for entry in os.listdir(original_folder):
        if entry != "script.py":
            os.symlink(os.path.join(original_folder, entry), os.path.join(missions, mission, entry))
    with open(os.path.join(original_folder, "script.py")) as original:
        script = original.read()
    with open(os.path.join(missions, mission, "script.py"), "w") as changed:
        changed.write(script + additions)
    return data


def crew_order_additions(test, stations):
    """Mission lines that seat the consoles at the test's stations alone, in
    that order, so the second console to join takes the second of them."""
    return """

# --- Added by the %(test)s test ---
bridge_stations.CREW_ORDER = %(stations)r
""" % {"test": test, "stations": tuple(stations)}


def press_keys(game, *keys):
    """Taps the keys in turn; the game latches a tap shorter than a frame, so
    each is seen once. A caller that needs the effect waits for it."""
    game.check_running()
    game.xdotool("windowfocus", "--sync", game.window)
    game.xdotool("key", "--delay", "120", *keys)


def press_key_until(game, key, what, done):
    """Holds the key down until done() has an answer, which it returns: the
    game reads its keys once a frame, so a key let go before a frame saw it
    down would never have been pressed."""
    game.check_running()
    game.xdotool("windowfocus", "--sync", game.window)
    game.xdotool("keydown", key)
    try:
        return wait_until(what, done)
    finally:
        game.xdotool("keyup", key)


def join(crew, name, halvex, display, data, work_folder, discovery, shots, server, expected):
    """A console game that connects to the server until the server's log
    says it is expected; it belongs to the crew from its start, so it is
    ended even when it fails to join."""
    console = Game(name, halvex, display, data, work_folder, discovery)
    crew.games.append(console)
    console.wait_for_screen("the start screen", start_screen, shots, name + "-1-start-screen")
    console.click(START_CLIENT)
    console.wait_for_screen("the connect screen listing the server", connect_screen_with_server_found, shots,
                            name + "-2-connect-screen")
    console.click(CONNECT_TO_SERVER)
    wait_until(name + " crewed", lambda: expected in server.log_all())
    return console


# --- What each screen must show ---------------------------------------------

def start_screen(pixels):
    buttons = (22, 658, 308, 758)
    logo = (256, 166, 768, 346)
    return colour_count(pixels) > 50 and near(pixels, MAIN, buttons) > 100 and near(pixels, WHITE, logo) > 500


def mission_chooser(pixels):
    first_rows = (37, 100, 827, 191)
    return near(pixels, MAIN, first_rows) > 100


def server_console(pixels):
    help_box = (102, 77, 922, 691)
    return near(pixels, WHITE, help_box) > 1000


def connect_screen_with_server_found(pixels):
    found_list = (20, 20, 700, 123)
    address_panel = (172, 528, 852, 648)
    return near(pixels, MAIN, found_list) > 100 and near(pixels, MAIN, address_panel) > 100


def console_boxes(pixels):
    """The helm station, the first console's: its radar, throttle, steering,
    jump and dock boxes each show the main colour; its text waterfall
    (at the foot of the right-hand column) is a dark panel with the mission's
    first order in it."""
    boxes = [HELM_RADAR, HELM_THROTTLE, HELM_STEERING, HELM_JUMP, HELM_DOCK]
    left, top, right, bottom = HELM_WATERFALL
    area = (right - left) * (bottom - top)
    return (all(near(pixels, MAIN, box) > 100 for box in boxes)
            and near(pixels, BLACK, HELM_WATERFALL, tolerance=24) > area // 2
            and near(pixels, ORDER_WHITE, HELM_WATERFALL, tolerance=30) > 40)


def connect_screen_saying_server_gone(pixels):
    notice = (172, 558, 852, 606)
    return near(pixels, NOTICE, notice) > 50


# --- The run ----------------------------------------------------------------------

def run(halvex, source_data, shots, work_folder):
    port = free_udp_port()
    discovery = "127.255.255.255:%d" % free_udp_port()
    data = game_data(source_data, work_folder, port)
    with Crew(shots) as crew:
        crew.displays = [Display(work_folder), Display(work_folder)]
        server, _ = host_first_mission(crew, halvex, data, work_folder, discovery, shots,
                                       lambda game: "the Tern is on station" in game.log())

        console = Game("console", halvex, crew.displays[1], data, work_folder, discovery)
        crew.games.append(console)
        console.wait_for_screen("the start screen", start_screen, shots, "4-console-start-screen")
        console.click(START_CLIENT)
        console.wait_for_screen("the connect screen listing the server", connect_screen_with_server_found, shots,
                                "5-console-connect-screen")
        console.click(CONNECT_TO_SERVER)
        wait_until("the console at the helm", lambda: "takes the helm station" in server.log())
        console.wait_for_screen("the console's boxes", console_boxes, shots, "6-console-boxes")
        server.wait_for_screen("the server's console with a console connected",
                               lambda pixels: not server_console(pixels), shots, "7-server-console-crewed")

        crew.end(server)
        console.wait_for_screen("the connect screen saying the server went away", connect_screen_saying_server_gone,
                                shots, "8-console-server-gone")
        crew.end(console)


def main():
    run_as_main(__doc__, run, "halvex-bridge-", "server and console reached the mission and the console; both ended cleanly")


if __name__ == "__main__":
    main()
