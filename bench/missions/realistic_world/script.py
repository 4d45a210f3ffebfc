# A benchmark world, not a game: ships cruising between waypoints among
# asteroids scattered over a 40 km square. HALVEX_BENCH_OBJECTS sets the
# number of objects (5000 when unset), a third of them ships. At every
# mission tick it prints the tick and the CPU time the server process has
# used so far, which the realistic-world benchmark reads.
import os
import random
import time

import zmx

HALF_SIZE = 20000.0
OBJECTS = int(os.environ.get("HALVEX_BENCH_OBJECTS", "5000"))
SHIP_TYPES = ("fleet_light_cruiser", "skarn_raider")
ASTEROID_TYPE = "asteroid_rock"
STATIC_BIT = 1
CRUISE_THROTTLE = 0.6
# A ship this close to its waypoint is given the next one.
ARRIVED = 800.0
# Each mission tick looks at this share of the ships, in turn, so the
# mission's own cost stays small beside the server's.
SHIPS_CHECKED_PER_TICK = 0.1

random_points = random.Random(20261210)
state = {"built": False, "ships": [], "next": 0}


def anywhere():
    return (random_points.uniform(-HALF_SIZE, HALF_SIZE), 0.0, random_points.uniform(-HALF_SIZE, HALF_SIZE))


def send_to_next_waypoint(data):
    x, y, z = anywhere()
    data.set("target_pos_x", x, 0)
    data.set("target_pos_y", y, 0)
    data.set("target_pos_z", z, 0)
    data.set("throttle", CRUISE_THROTTLE, 0)


def build(sim):
    zmx.create_new_sim()
    ship_count = OBJECTS // 3
    for i in range(ship_count):
        ship_id = sim.create_space_object("behav_npcship", SHIP_TYPES[i % len(SHIP_TYPES)], 0)
        ship = sim.get_space_object(ship_id)
        ship.data_set.set("name_tag", "Trader %d" % i, 0)
        sim.reposition_space_object(ship, *anywhere())
        send_to_next_waypoint(ship.data_set)
        state["ships"].append(ship_id)
    for _ in range(OBJECTS - ship_count):
        rock = sim.get_space_object(sim.create_space_object("behav_asteroid", ASTEROID_TYPE, STATIC_BIT))
        sim.reposition_space_object(rock, *anywhere())
    zmx.resume_sim()
    state["built"] = True
    print("bench: %d ships and %d asteroids" % (ship_count, OBJECTS - ship_count))


def redirect_arrivals(sim):
    ships = state["ships"]
    for _ in range(max(1, int(len(ships) * SHIPS_CHECKED_PER_TICK))):
        ship_id = ships[state["next"] % len(ships)]
        state["next"] += 1
        if not sim.space_object_exists(ship_id):
            continue
        ship = sim.get_space_object(ship_id)
        data = ship.data_set
        dx = ship.pos.x - data.get("target_pos_x", 0)
        dz = ship.pos.z - data.get("target_pos_z", 0)
        if dx * dx + dz * dz < ARRIVED * ARRIVED:
            send_to_next_waypoint(data)


def halvex_event_handler(sim, event):
    if not state["built"]:
        build(sim)
    if event.tag == "mission_tick":
        redirect_arrivals(sim)
        print("bench: tick %d cpu %.6f" % (event.event_time, time.process_time()))
