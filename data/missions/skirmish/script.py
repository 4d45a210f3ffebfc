# Skirmish at Corrin Reach: Meridian cruisers and Corrin Station against a
# Skarn raiding party, with a void serpent hostile to both. Each mission tick
# every combatant takes the nearest live enemy of its side as its target; the
# fight plays out with or without a crew. Consoles that join crew the Tern,
# one bridge station each (bridge_stations); the host's screen is the game
# master's. When one side holds the field, every screen says so.
import zmx

import bridge_stations
import bridge_strings
import damage_control

PLAYER_SHIP_TYPE = "tern_frigate"

# (side, icon colour, icon index)
SIDES = [("meridian", "#4aa3ff", 0), ("skarn", "#ff5533", 1), ("monster", "#c05cff", 2)]
# Pairs of sides at war, both ways round.
WARS = [("meridian", "skarn"), ("meridian", "monster"), ("skarn", "monster")]

# (ship type, name, side, position); every ship turns to its enemy itself
SHIPS = [
    ("fleet_light_cruiser", "Meridian Warden", "meridian", (-800.0, 0.0, 1000.0)),
    ("fleet_light_cruiser", "Meridian Vigil", "meridian", (800.0, 0.0, 1000.0)),
    ("skarn_raider", "Skarn Talon", "skarn", (-900.0, 0.0, 3600.0)),
    ("skarn_raider", "Skarn Fang", "skarn", (0.0, 0.0, 3800.0)),
    ("skarn_raider", "Skarn Claw", "skarn", (900.0, 0.0, 3600.0)),
    ("skarn_carrier", "Skarn Brood", "skarn", (0.0, 0.0, 6500.0)),
]
STATION = ("starbase_civil", "Corrin Station", "meridian", (0.0, 0.0, 600.0))
MONSTER = ("monster_dragon", "Void Serpent", "monster", (4000.0, 0.0, 2500.0))
PLAYER = ("Tern", "meridian", (0.0, 0.0, -3500.0))

# The station's two beam mounts, its drone bay and its torpedo launcher.
STATION_BEAMS = [  # (range, damage, cycle seconds, colour)
    (2200.0, 12.0, 3.0, (0.3, 0.8, 1.0)),
    (2200.0, 12.0, 4.0, (0.3, 0.8, 1.0)),
]
STATION_DRONES = (12.0, 3500.0, 20.0)  # seconds between launches, range, drone damage
STATION_TORPEDOES = (15.0, 3000.0, "Homing")  # seconds between launches, range, torpedo type

# Computer ships hit twice as hard as a hull record says: the fight is short.
BEAM_DAMAGES = (1.0, 2.0, 1.0)  # player ships, computer ships, stations
# Beyond this nobody is worth chasing; a ship keeps its enemy until another
# is this much nearer, so it does not flit between two at equal range.
PURSUIT_RANGE = 12000.0
SWITCH_RATIO = 0.7

# The side that holds the field, in the colour its notice stands in.
OUTCOME_COLOURS = {"meridian": "#1e6e38"}
OTHER_OUTCOME_COLOUR = "#8a1e1e"

game = {"built": False, "player": 0, "over": False, "bridge": None, "interior": None}
combatants = {}  # id -> {"name", "side", "kind", "target"}


def hostile(first, second):
    return (first, second) in WARS or (second, first) in WARS


def place(sim, behaviour, ship_type, name, side, position, kind):
    object_id = sim.create_space_object(behaviour, ship_type, 0)
    obj = sim.get_space_object(object_id)
    obj.side = side
    obj.data_set.set("name_tag", name, 0)
    sim.reposition_space_object(obj, *position)
    combatants[object_id] = {"name": name, "side": side, "kind": kind, "target": 0}
    return obj


def arm_the_station(station):
    data = station.data_set
    data.set("beamCount", len(STATION_BEAMS), 0)
    for index, (reach, damage, cycle, colour) in enumerate(STATION_BEAMS):
        data.set("beamRange", reach, index)
        data.set("beamDamage", damage, index)
        data.set("beamCycleTime", cycle, index)
        for key, value in zip(("beamColorR", "beamColorG", "beamColorB"), colour):
            data.set(key, value, index)
    interval, reach, damage = STATION_DRONES
    data.set("drone_launch_timer", interval, 0)
    data.set("drone_launch_max_range", reach, 0)
    data.set("drone_damage", damage, 0)
    interval, reach, definition = STATION_TORPEDOES
    data.set("torp_launch_timer", interval, 0)
    data.set("torp_launch_max_range", reach, 0)
    data.set("torpedoLaunchType", definition, 0)


def build_world(sim):
    zmx.create_new_sim()
    bridge_strings.set_sides(sim, SIDES, WARS)
    zmx.set_beam_damages(0, *BEAM_DAMAGES)
    name, side, position = PLAYER
    player = place(sim, "behav_playership", PLAYER_SHIP_TYPE, name, side, position, "player")
    game["player"] = player.unique_ID
    for ship_type, name, side, position in SHIPS:
        place(sim, "behav_npcship", ship_type, name, side, position, "ship")
    ship_type, name, side, position = STATION
    arm_the_station(place(sim, "behav_station", ship_type, name, side, position, "station"))
    ship_type, name, side, position = MONSTER
    place(sim, "behav_monster", ship_type, name, side, position, "monster")
    types = bridge_strings.name_torpedo_types(sim, [game["player"]], [STATION_TORPEDOES[2]])
    bridge_strings.select_torpedo_type(sim, game["player"], types)
    game["interior"] = damage_control.DamageControl(sim, game["player"], tell_crew)
    game["bridge"] = bridge_stations.Bridge(game["player"], on_seated=console_seated)
    game["bridge"].show_host(bridge_stations.GAME_MASTER)
    zmx.resume_sim()
    game["built"] = True
    print("skirmish: %d combatants take the field" % len(combatants))


def tell_crew(text, colour):
    zmx.send_message_to_player_ship(game["player"], colour, text)


def console_seated(client_id, station):
    if station in (bridge_stations.ENGINEERING, bridge_stations.DAMAGE_CONTROL):
        game["interior"].offer_buttons()


def alive(sim, object_id):
    if not sim.space_object_exists(object_id):
        return False
    # A monster never declares "deathTick": the key then reads as nothing.
    return not sim.get_space_object(object_id).data_set.get("deathTick", 0)


def choose_enemy(sim, object_id):
    """The nearest live combatant of a side at war with this one's (the one
    already engaged unless another is clearly nearer), or 0."""
    side = combatants[object_id]["side"]
    best, best_distance = 0, PURSUIT_RANGE
    engaged = combatants[object_id]["target"]
    if engaged and alive(sim, engaged) and zmx.distance_id(object_id, engaged) < PURSUIT_RANGE:
        best, best_distance = engaged, zmx.distance_id(object_id, engaged) * SWITCH_RATIO
    for other_id, other in combatants.items():
        if other_id == object_id or not hostile(side, other["side"]) or not alive(sim, other_id):
            continue
        distance = zmx.distance_id(object_id, other_id)
        if distance < best_distance:
            best, best_distance = other_id, distance
    return best


def give_orders(sim, object_id, target_id):
    me = combatants[object_id]
    data = sim.get_space_object(object_id).data_set
    data.set("target_id", target_id, 0)
    if target_id and me["kind"] in ("ship", "monster"):
        where = sim.get_space_object(target_id).pos
        data.set("target_pos_x", where.x, 0)
        data.set("target_pos_y", where.y, 0)
        data.set("target_pos_z", where.z, 0)
    if me["kind"] == "ship":
        data.set("throttle", 1.0 if target_id else 0.0, 0)
    if target_id != me["target"]:
        me["target"] = target_id
        if target_id:
            enemy = combatants[target_id]
            print("skirmish: %s (%s) engages %s (%s)" % (me["name"], me["side"], enemy["name"], enemy["side"]))


def choose_targets(sim):
    for object_id, me in list(combatants.items()):
        if me["kind"] != "player" and alive(sim, object_id):
            give_orders(sim, object_id, choose_enemy(sim, object_id))


def name_of(object_id):
    return combatants[object_id]["name"] if object_id in combatants else "a drone or torpedo"


def report_the_end(sim):
    standing = {combatants[i]["side"] for i in combatants if combatants[i]["kind"] != "player" and alive(sim, i)}
    if not game["over"] and len(standing) == 1:
        game["over"] = True
        side = standing.pop()
        print("skirmish: the %s hold the field" % side)
        text = "The %s hold Corrin Reach." % bridge_strings.side_name(side)
        colour = OUTCOME_COLOURS.get(side, OTHER_OUTCOME_COLOUR)
        tell_crew(text, colour)
        game["bridge"].announce(text, colour)


def halvex_event_handler(sim, event):
    if not game["built"]:
        build_world(sim)
        game["bridge"].seat_everyone()
    if game["bridge"].handle(sim, event) or game["interior"].handle(event):
        return
    if event.tag == "mission_tick":
        game["interior"].tick()
        choose_targets(sim)
        report_the_end(sim)
    elif event.tag == "science_scan_complete":
        bridge_strings.record_scan(sim, event, {})
    elif event.tag in ("npc_killed", "station_killed"):
        print("skirmish: %s destroyed by %s" % (name_of(event.selected_id), name_of(event.origin_id)))
    elif event.tag == "damage" and event.sub_tag == "beam" and event.sub_float > 0:
        print("skirmish: %s strikes %s for %.1f" % (name_of(event.origin_id), name_of(event.selected_id),
                                                     event.sub_float))
    elif event.tag == "damage" and event.sub_tag == "destroyed" and event.selected_id in combatants:
        if combatants[event.selected_id]["kind"] == "monster":
            print("skirmish: %s destroyed" % name_of(event.selected_id))
