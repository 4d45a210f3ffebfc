# First Watch: the frigate Tern takes her first patrol beside Halcyon Station.
# The crew flies out to Patrol East, where science scans a Skarn spotter
# running dark; comms reports what it carried to Halcyon; the Tern holds the
# Picket Line, where two Skarn raiders fall on her; with the raiders gone she
# returns to Halcyon Approach and the watch is kept. Should her systems fail
# first, she is lost. Either ending pauses the game and stands on every
# screen.
#
# Consoles take the bridge stations in turn (bridge_stations); the host's own
# screen is the game master's, with controls that move the story on. The
# patrol route is marked with nav points, the Skarn depot's anchorage with a
# nav area; the map keeps the depot's last sighting.
import zmx

import bridge_stations
import bridge_strings
import damage_control

PLAYER_SHIP_TYPE = "tern_frigate"
PLAYER_SHIP_NAME = "Tern"
FIGHTER = ("behav_playership", "kestrel_fighter", "Kestrel", "meridian", (350.0, 0.0, -250.0), 0)

# (behaviour, ship type, name, side, position, static)
STATION = ("behav_station", "starbase_civil", "Halcyon Station", "meridian", (0.0, 0.0, 2500.0), 1)
WARDEN = ("behav_npcship", "fleet_light_cruiser", "Meridian Warden", "meridian", (1500.0, 0.0, -3000.0), 0)
SPOTTER = ("behav_npcship", "skarn_raider", "Skarn Spotter", "skarn", (5700.0, 0.0, 6300.0), 0)
# The raiders wait on standby, out of the world, until the raid; then they
# break cover RAIDERS_AHEAD ahead of the Tern, RAIDERS_APART to either side of
# her course.
RAIDERS = [
    ("behav_npcship", "skarn_raider", "Skarn Talon", "skarn", (2200.0, 0.0, 12500.0), 0),
    ("behav_npcship", "skarn_raider", "Skarn Fang", "skarn", (-2200.0, 0.0, 12800.0), 0),
]
RAIDERS_AHEAD = 3500.0
RAIDERS_APART = 1200.0
DEPOT = ("behav_station", "skarn_depot", "Skarn Depot", "skarn", (9000.0, 0.0, 12000.0), 1)

# The patrol: out past the station, round both flanks, and the picket line.
# (text, position, colour)
APPROACH, EAST, WEST, PICKET = "Halcyon Approach", "Patrol East", "Patrol West", "Picket Line"
NAV_POINTS = [
    (APPROACH, (0.0, 0.0, 1800.0), "#7fd4ff"),
    (EAST, (5000.0, 0.0, 5500.0), "gold"),
    (WEST, (-5500.0, 0.0, 5000.0), "gold"),
    (PICKET, (0.0, 0.0, 9000.0), "orange"),
]
OBJECTIVE_COLOUR = "#40ff70"
# The depot's anchorage, corner by corner on the plane.
DEPOT_ANCHORAGE = ("Skarn Anchorage", [(7500.0, 10500.0), (10500.0, 10500.0), (10500.0, 13500.0),
                                       (7500.0, 13500.0)], "#ff5533")

# (side, icon colour, icon index)
SIDES = [("meridian", "#4aa3ff", 0), ("skarn", "#ff5533", 1)]
WARS = [("meridian", "skarn")]

# A nav point is reached within this distance.
REACH = 900.0
# The raiders go for the Tern, and hit harder than their hull records say.
BEAM_DAMAGES = (1.0, 1.5, 1.0)  # player ships, computer ships, stations
RAIDER_SPEED = 1.0  # throttle
# The Tern is lost once her systems have taken this share of what they can.
LOST_AT_WEAR = 0.6
# The spotter carries the raid's orders; its other scans are the usual ones.
SPOTTER_NOTES = {
    "scan": "Skarn Spotter: a Skarn raider running dark, engines cold, sensors hot.",
    "intel": "Spotter logs: two raiders wait beyond the Picket Line for word that Halcyon is unguarded.",
}

# Colours of the crew's messages: the ship's own, Halcyon's, alarms.
SHIP_COLOUR, HALCYON_COLOUR, ALARM_COLOUR = "#d8e4f0", "#7fd4ff", "#ff6050"
HALCYON_FACE = ("backdrop #24303c 0 0;head #e6b594 0 0;uniform #2a5aa8 0 0;trim #e8c866 0 0;eyes white 0 0;"
                "iris #3a78b8 0 0;brows #4a2e1c 0 0;nose #e6b594 0 0;mouth #e6b594 1 0;hair #4a2e1c 0 0")
HALCYON = "Halcyon Control"

# Halcyon's comms buttons: (text, colour, tag); "report" only once there is
# something to report.
REPORT = ("Report the Skarn spotter", "#ffd24a", "halcyon_report")
HALCYON_BUTTONS = [("Request status", "#7fd4ff", "halcyon_status"), ("Request docking", "#40ff70", "halcyon_dock")]
HALCYON_ANSWERS = {
    "halcyon_status": "All quiet at Halcyon, Tern. Keep to your patrol.",
    "halcyon_dock": "No berth for you today, Tern. Your watch is out there.",
}
OTHER_CONTACT_ANSWER = "No answer on that channel."

# The story's steps, in order: (name, what the crew is told to do).
STEPS = [
    ("east", "Helm: lay in a course for Patrol East."),
    ("scan", "Science: a dark contact near Patrol East. Run an intel scan of the Skarn Spotter."),
    ("report", "Comms: report what the spotter carried to Halcyon Station."),
    ("picket", "Helm: hold the Picket Line."),
    ("raid", "Red alert! Two Skarn raiders inbound. Weapons: engage. Engineering: keep us in the fight."),
    ("home", "The raiders are gone. Helm: bring us home to Halcyon Approach."),
]
# The game master's controls on the host's screen.
NEXT_STEP, RAIDERS_NOW, END_KEPT = "gm_next_step", "gm_raiders_now", "gm_end_kept"
CONTROLS = [(NEXT_STEP, "Next Objective"), (RAIDERS_NOW, "Send the Raiders"), (END_KEPT, "End the Watch")]

ENDINGS = {
    "kept": ("The watch is kept", "The raiders are scattered and Halcyon stands. Well flown, Tern.", "#1e6e38"),
    "lost": ("The Tern is lost", "Her systems fail one by one. Halcyon's tugs will bring her crew home.",
             "#8a1e1e"),
}

player_ship_id = 0
game = {"step": 0, "raiders": {}, "spotter": 0, "station": 0, "over": "", "bridge": None, "interior": None,
        "nav": {}}


def place(sim, behaviour, ship_type, name, side, position, static):
    object_id = sim.create_space_object(behaviour, ship_type, static)
    obj = sim.get_space_object(object_id)
    obj.side = side
    obj.data_set.set("name_tag", name, 0)
    sim.reposition_space_object(obj, *position)
    return object_id


def mark_the_patrol(sim):
    for text, (x, y, z), colour in NAV_POINTS:
        game["nav"][text] = sim.add_navpoint(x, y, z, text, colour)
    text, corners, colour = DEPOT_ANCHORAGE
    flat = [coordinate for corner in corners for coordinate in corner]
    sim.add_navarea(*flat, text, colour)


def build_world(sim):
    """A new game: the Tern at the origin facing +z, her station ahead, the
    Warden astern, the spotter out east; the raiders wait out of sight."""
    global player_ship_id
    zmx.create_new_sim()
    bridge_strings.set_sides(sim, SIDES, WARS)
    zmx.set_beam_damages(0, *BEAM_DAMAGES)
    mark_the_patrol(sim)
    player_ship_id = place(sim, "behav_playership", PLAYER_SHIP_TYPE, PLAYER_SHIP_NAME, "meridian",
                           (0.0, 0.0, 0.0), 0)
    fighter_id = place(sim, *FIGHTER)
    game["station"] = place(sim, *STATION)
    place(sim, *WARDEN)
    game["spotter"] = place(sim, *SPOTTER)
    for raider in RAIDERS:
        raider_id = place(sim, *raider)
        zmx.push_to_standby_list_id(raider_id)
        game["raiders"][raider_id] = raider[2]
    # The depot sits at the edge of sensor range: the map keeps its last sighting.
    depot_id = place(sim, *DEPOT)
    sim.add_navproxy(depot_id, "Skarn Depot (last sighting)", DEPOT[1], "#ff5533")
    types = bridge_strings.name_torpedo_types(sim, [player_ship_id, fighter_id])
    bridge_strings.select_torpedo_type(sim, player_ship_id, types)
    game["interior"] = damage_control.DamageControl(sim, player_ship_id, tell_crew)
    game["bridge"] = bridge_stations.Bridge(player_ship_id, fighter_id, CONTROLS, game_master, console_seated)
    game["bridge"].show_host(bridge_stations.GAME_MASTER)
    zmx.resume_sim()
    print("first_watch: the Tern is on station as ship %d" % player_ship_id, flush=True)
    offer_halcyon()
    begin_step(sim, 0)


# --- telling the crew ------------------------------------------------------

def tell_crew(text, colour=SHIP_COLOUR):
    zmx.send_message_to_player_ship(player_ship_id, colour, text)


def halcyon_says(text):
    zmx.send_comms_message_to_player_ship(player_ship_id, game["station"], HALCYON_FACE, HALCYON, HALCYON_COLOUR,
                                          text, SHIP_COLOUR)
    tell_crew("%s: %s" % (HALCYON, text), HALCYON_COLOUR)


def dialog_to_everyone(title, text, colour):
    for client_id in [0] + zmx.get_client_ID_list():
        zmx.send_story_dialog(client_id, title, text, HALCYON_FACE, colour)


def offer_halcyon():
    """Halcyon's panel on the comms console: its heading, portrait and buttons."""
    zmx.send_comms_selection_info(player_ship_id, HALCYON_FACE, HALCYON_COLOUR, "Halcyon Station")
    buttons = ([REPORT] if step_name() == "report" else []) + HALCYON_BUTTONS
    for text, colour, tag in buttons:
        zmx.send_comms_button_info(player_ship_id, colour, text, tag)


def offer_other(sim, contact_id):
    name = sim.get_space_object(contact_id).data_set.get("name_tag", 0) or "Unknown contact"
    zmx.send_comms_selection_info(player_ship_id, "", "#b0b8c0", name)
    zmx.send_comms_button_info(player_ship_id, "#b0b8c0", "Hail", "hail")


# --- the story's steps -----------------------------------------------------

def step_name():
    return STEPS[game["step"]][0] if game["step"] < len(STEPS) else ""


def begin_step(sim, index):
    game["step"] = index
    name, order = STEPS[index]
    print("first_watch: objective %s" % name, flush=True)
    mark_objective(sim)
    if name == "raid":
        release_the_raiders(sim)
        dialog_to_everyone(HALCYON, "Skarn raiders breaking cover beyond the Picket Line. They are coming for you, "
                                    "Tern.", ALARM_COLOUR)
    tell_crew(order, ALARM_COLOUR if name == "raid" else SHIP_COLOUR)
    if name in ("report", "picket"):
        offer_halcyon()


def next_step(sim):
    if game["step"] + 1 < len(STEPS):
        begin_step(sim, game["step"] + 1)
    else:
        end_the_watch(sim, "kept")


def mark_objective(sim):
    """The nav point the crew heads for shows in the objective colour."""
    goals = {"east": EAST, "scan": EAST, "picket": PICKET, "home": APPROACH}
    goal = goals.get(step_name())
    for text, _, colour in NAV_POINTS:
        nav = sim.get_navpoint_by_id(game["nav"][text])
        if nav:
            nav.SetColor(OBJECTIVE_COLOUR if text == goal else colour)
            nav.has_changed_flag = 1


def release_the_raiders(sim):
    """The raiders break cover ahead of the Tern, one to each side of her bow."""
    tern = sim.get_space_object(player_ship_id)
    ahead, across = tern.forward_vector(), tern.right_vector()
    for side, raider_id in zip((-1.0, 1.0), game["raiders"]):
        if zmx.in_standby_list_id(raider_id):
            zmx.retrieve_from_standby_list_id(raider_id)
        where = tern.pos + ahead * RAIDERS_AHEAD + across * (side * RAIDERS_APART)
        sim.reposition_space_object(sim.get_space_object(raider_id), where.x, 0.0, where.z)
    zmx.set_music_tension(0, 80.0)


def reached(sim, nav_name):
    return zmx.distance_to_navpoint(game["nav"][nav_name], player_ship_id) < REACH


def raiders_left(sim):
    return [r for r in game["raiders"] if alive(sim, r)]


def alive(sim, object_id):
    if not sim.space_object_exists(object_id):
        return False
    return not sim.get_space_object(object_id).data_set.get("deathTick", 0)


def check_progress(sim):
    """Once a mission tick: the objectives that are met by where the Tern is
    and what is left of the raiders."""
    name = step_name()
    if name == "east" and reached(sim, EAST):
        next_step(sim)
    elif name == "picket" and reached(sim, PICKET):
        next_step(sim)
    elif name == "raid" and not raiders_left(sim):
        next_step(sim)
    elif name == "home" and reached(sim, APPROACH):
        end_the_watch(sim, "kept")


def drive_the_raiders(sim):
    """The raiders close on the Tern and fight her."""
    if step_name() not in ("raid", "home"):
        return
    target = sim.get_space_object(player_ship_id)
    for raider_id in raiders_left(sim):
        data = sim.get_space_object(raider_id).data_set
        data.set("target_id", player_ship_id, 0)
        data.set("target_pos_x", target.pos.x, 0)
        data.set("target_pos_y", target.pos.y, 0)
        data.set("target_pos_z", target.pos.z, 0)
        data.set("throttle", RAIDER_SPEED, 0)


def scan_complete(sim, event):
    notes = {game["spotter"]: SPOTTER_NOTES}
    bridge_strings.record_scan(sim, event, notes)
    if event.selected_id == game["spotter"] and step_name() == "scan":
        if event.extra_tag == "intel":
            tell_crew("Science: the spotter's logs name a raid on Halcyon.")
            next_step(sim)
        elif event.extra_tag != "scan":
            tell_crew("Science: that tells us little. Its intel is what we need.")


def spotter_destroyed(sim):
    if step_name() in ("east", "scan"):
        tell_crew("The spotter is gone, and what it knew with it. Halcyon must hear of it all the same.")
        begin_step(sim, [n for n, _ in STEPS].index("report"))


def comms_pressed(sim, event):
    if event.origin_id != player_ship_id:
        return
    if event.sub_tag == REPORT[2] and step_name() == "report":
        halcyon_says("Understood, Tern. The Warden will cover the station. Hold the Picket Line and draw them out.")
        next_step(sim)
    elif event.sub_tag in HALCYON_ANSWERS:
        halcyon_says(HALCYON_ANSWERS[event.sub_tag])
    elif event.sub_tag == "hail":
        zmx.send_comms_message_to_player_ship(player_ship_id, event.selected_id, "", "No reply", "#b0b8c0",
                                              OTHER_CONTACT_ANSWER, SHIP_COLOUR)


def comms_target_chosen(sim, event):
    if event.extra_tag != "comms_target_UID" or event.origin_id != player_ship_id:
        return
    if event.selected_id == game["station"] or not sim.space_object_exists(event.selected_id):
        offer_halcyon()
    else:
        offer_other(sim, event.selected_id)


def console_seated(client_id, station):
    """A console new to its station gets what the station shows of the story
    so far: the crew's order of the moment, comms the contact's panel, the
    interior the team's buttons."""
    if step_name() and not game["over"]:
        zmx.send_message_to_client(client_id, SHIP_COLOUR, STEPS[game["step"]][1])
    if station == bridge_stations.COMMS:
        offer_halcyon()
    elif station in (bridge_stations.ENGINEERING, bridge_stations.DAMAGE_CONTROL):
        game["interior"].offer_buttons()


# --- endings and the game master -------------------------------------------

def check_the_ship(sim):
    if damage_control.system_wear(sim, player_ship_id) >= LOST_AT_WEAR:
        end_the_watch(sim, "lost")


def end_the_watch(sim, how):
    """Stands the ending on every screen and stops the game."""
    if game["over"]:
        return
    game["over"] = how
    title, text, colour = ENDINGS[how]
    print("first_watch: %s" % title.lower(), flush=True)
    tell_crew("%s. %s" % (title, text), OBJECTIVE_COLOUR if how == "kept" else ALARM_COLOUR)
    dialog_to_everyone(title, text, colour)
    game["bridge"].announce("%s. %s" % (title, text), colour)
    zmx.pause_sim()


def game_master(sim, control):
    if game["over"]:
        return
    if control == NEXT_STEP:
        next_step(sim)
    elif control == RAIDERS_NOW and step_name() != "raid":
        begin_step(sim, [n for n, _ in STEPS].index("raid"))
    elif control == END_KEPT:
        end_the_watch(sim, "kept")


# --- events ----------------------------------------------------------------

def mission_tick(sim):
    if game["over"]:
        return
    game["interior"].tick()
    drive_the_raiders(sim)
    check_progress(sim)
    check_the_ship(sim)


def halvex_event_handler(sim, event):
    if player_ship_id == 0:
        build_world(sim)
        game["bridge"].seat_everyone()
    if game["bridge"].handle(sim, event) or game["interior"].handle(event):
        return
    if event.tag == "mission_tick":
        mission_tick(sim)
    elif event.tag == "science_scan_complete":
        scan_complete(sim, event)
    elif event.tag == "press_comms_button":
        comms_pressed(sim, event)
    elif event.tag == "select_space_object":
        comms_target_chosen(sim, event)
    elif event.tag == "npc_killed" and event.selected_id == game["spotter"]:
        spotter_destroyed(sim)
    elif event.tag == "npc_killed" and event.selected_id in game["raiders"]:
        tell_crew("%s destroyed." % game["raiders"][event.selected_id])
    elif event.tag == "fighter_requests_dock":
        tell_crew("Tern: the bay stays sealed on this watch, Kestrel.")
