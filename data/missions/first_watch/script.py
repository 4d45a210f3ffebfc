# First Watch: the frigate Tern on patrol beside Halcyon Station, with a few
# Skarn raiders and a depot out at the edge of sensor range. The patrol route
# is marked with nav points, the depot's anchorage with a nav area, and the
# Meridian Compact and the Skarn know each other as enemies. Every console
# that connects is given the Tern and a helm; the world runs from the first
# event on.
import zmx

PLAYER_SHIP_TYPE = "tern_frigate"
PLAYER_SHIP_NAME = "Tern"
HELM_CONSOLE = "helm"
HELM_WIDGETS = "helm_simple^throttle^2dview^ship_data^text_waterfall^red_alert"

# (behaviour, ship type, name, side, position, static)
STATION = ("behav_station", "starbase_civil", "Halcyon Station", "meridian", (0.0, 0.0, 2500.0), 1)
COMPUTER_SHIPS = [
    ("behav_npcship", "skarn_raider", "Skarn Talon", "skarn", (6000.0, 0.0, 7000.0), 0),
    ("behav_npcship", "skarn_raider", "Skarn Fang", "skarn", (-6500.0, 0.0, 6500.0), 0),
    ("behav_npcship", "fleet_light_cruiser", "Meridian Warden", "meridian", (1500.0, 0.0, -3000.0), 0),
]
DEPOT = ("behav_station", "skarn_depot", "Skarn Depot", "skarn", (9000.0, 0.0, 12000.0), 1)

# The patrol: out past the station, round both Skarn raiders, and home.
# (text, position, colour)
NAV_POINTS = [
    ("Halcyon Approach", (0.0, 0.0, 1800.0), "#7fd4ff"),
    ("Patrol East", (5000.0, 0.0, 5500.0), "gold"),
    ("Patrol West", (-5500.0, 0.0, 5000.0), "gold"),
    ("Picket Line", (0.0, 0.0, 9000.0), "orange"),
]
# The depot's anchorage, corner by corner on the plane.
DEPOT_ANCHORAGE = ("Skarn Anchorage", [(7500.0, 10500.0), (10500.0, 10500.0), (10500.0, 13500.0),
                                       (7500.0, 13500.0)], "#ff5533")

# (side, icon colour, icon index)
SIDES = [("meridian", "#4aa3ff", 0), ("skarn", "#ff5533", 1)]
ENEMIES = ("meridian", "skarn")

player_ship_id = 0


def place(sim, behaviour, ship_type, name, side, position, static):
    object_id = sim.create_space_object(behaviour, ship_type, static)
    obj = sim.get_space_object(object_id)
    obj.side = side
    obj.data_set.set("name_tag", name, 0)
    sim.reposition_space_object(obj, *position)
    return object_id


def mark_the_patrol(sim):
    for text, (x, y, z), colour in NAV_POINTS:
        sim.add_navpoint(x, y, z, text, colour)
    text, corners, colour = DEPOT_ANCHORAGE
    flat = [coordinate for corner in corners for coordinate in corner]
    sim.add_navarea(*flat, text, colour)


def set_the_sides(sim):
    for side, colour, icon in SIDES:
        sim.set_side_icon_color(side, colour)
        sim.set_side_icon_index(side, icon)
        sim.set_side_relationship(side, side, zmx.ALLIED)
    first, second = ENEMIES
    sim.set_side_relationship(first, second, zmx.HOSTILE)
    sim.set_side_relationship(second, first, zmx.HOSTILE)


def build_world(sim):
    """A new game: the Tern at the origin facing +z, her station ahead, the others around."""
    global player_ship_id
    zmx.create_new_sim()
    set_the_sides(sim)
    mark_the_patrol(sim)
    player_ship_id = place(sim, "behav_playership", PLAYER_SHIP_TYPE, PLAYER_SHIP_NAME, "meridian",
                           (0.0, 0.0, 0.0), 0)
    for entry in [STATION] + COMPUTER_SHIPS:
        place(sim, *entry)
    # The depot sits at the edge of sensor range: the map keeps its last sighting.
    depot_id = place(sim, *DEPOT)
    sim.add_navproxy(depot_id, "Skarn Depot (last sighting)", DEPOT[1], "#ff5533")
    zmx.resume_sim()
    print("first_watch: the Tern is on station as ship %d" % player_ship_id)


def crew_console(client_id):
    zmx.assign_client_to_ship(client_id, player_ship_id)
    zmx.send_client_widget_list(client_id, HELM_CONSOLE, HELM_WIDGETS)
    print("first_watch: console %d takes the helm of the Tern" % client_id)


def halvex_event_handler(sim, event):
    if player_ship_id == 0:
        build_world(sim)
        for client_id in zmx.get_client_ID_list():
            if client_id != event.client_id:
                crew_console(client_id)
    if event.tag == "client_connect":
        crew_console(event.client_id)
