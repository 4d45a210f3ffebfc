# Damage inside a player ship and the teams that mend it. Once a ship has an
# interior, the game hands every hit that gets past her shields to the
# mission as "player_internal_damage", one event per share of the hit. Here
# each share damages the system on the side it came from (forward: weapons,
# aft: engines, port: sensors, starboard: shields; once that one is wrecked,
# the others) and may open a hull breach
# at that side of the interior, which keeps wearing its system down until a
# damage-control team seals it. Teams are grid objects that the engineering
# and damage-control consoles pick from their list (the pick becomes the
# ship's grid selection, which the grid face and buttons show and command)
# and send with the grid buttons; a team that reaches a breach seals it in a
# while and gives its system back most of what the breach cost it.
#
# A hull with no interior (no silhouette, or no walkable cell) gets no teams
# and no breaches: its hits damage its systems all the same.
import zmx

WEAPONS, ENGINES, SENSORS, SHIELDS = 0, 1, 2, 3
SYSTEM_NAMES = ("weapons", "engines", "sensors", "shields")
SYSTEM_COUNT = 4

# Points of system damage (of the hull record's "hullpoints" per system) that
# one share of a hit does, and that an open breach does every mission tick.
HIT_POINTS = 2.0
BREACH_BLEED_POINTS = 1.0
# A share of a hit opens a breach only where none is open within this many
# cells, so a volley opens one breach, not a dozen.
BREACH_SPACING = 4
# At most this many breaches are open at once; later hits only damage.
MOST_BREACHES = 6
# A team seals a breach in this many mission ticks (about a second each), and
# gives back this share of the damage the breach did.
SEALING_TICKS = 5
REPAIR_SHARE = 0.75
# Grid progress per game tick: a team crosses a cell in ten ticks.
TEAM_SPEED = 0.1

# (name, face, where it waits: a point of the hull's plane, as a fraction of
# its half-size from the centre)
TEAMS = [
    ("Team Alder", "backdrop #2a3440 0 0;head #d9a47c 0 0;uniform #c8782a 0 0;trim #f0d060 0 0;eyes white 0 0;"
                   "iris #6a4a2a 0 0;brows #3a2a1a 0 0;nose #d9a47c 0 0;mouth #d9a47c 0 0;hair #3a2a1a 0 0",
     (0.0, 0.0, 0.1)),
    ("Team Birch", "backdrop #2a3440 0 0;head #8a5a3c 0 0;uniform #c8782a 0 0;trim #f0d060 0 0;eyes white 0 0;"
                   "iris #2a1a10 0 0;brows #1a1010 0 0;nose #8a5a3c 0 0;mouth #8a5a3c 1 0;hair #1a1010 0 0",
     (0.0, 0.0, -0.3)),
]
TEAM_TYPE = "team"
BREACH_TYPE = "breach"
TEAM_ICON, BREACH_ICON = 123, 125
TEAM_COLOUR, BREACH_COLOUR = "#ffb040", "#ff4030"
ICON_SCALE = 1.5  # cells of the interior grid an icon spans

# The grid console's buttons: (text, colour, tag).
SEAL = "dc_seal"
STAND_DOWN = "dc_stand_down"
BUTTONS = [("Seal the nearest breach", "#ffb040", SEAL), ("Stand down", "#7fd4ff", STAND_DOWN)]
HEADER = ("Damage Control", "#ffd24a")


class DamageControl:
    """The interior of one player ship: her teams, her open breaches and what
    each team is doing. tell(text, colour) is how it reports to the crew."""

    def __init__(self, sim, ship_id, tell):
        self.sim = sim
        self.ship_id = ship_id
        self.tell = tell
        self.teams = {}     # grid object id -> {"name", "home", "breach", "sealing"}
        self.breaches = {}  # grid object id -> {"cell", "system", "cost"}
        hull = zmx.get_hull_map(ship_id, False)
        if hull and has_open_cell(hull):
            for name, face, where in TEAMS:
                self.add_team(hull, name, face, where)
        self.offer_buttons()

    # --- the interior ---------------------------------------------------------

    def interior(self):
        """The ship's hull map now, or None: a script must not keep one."""
        return zmx.get_hull_map(self.ship_id, False) if self.teams else None

    def free_cell(self, direction):
        x, y, z = direction
        cell = zmx.find_valid_unoccupied_grid_point_for_vector3(self.ship_id, zmx.vec3(x, y, z), 0)
        return tuple(cell) if len(cell) == 2 else None

    def add_team(self, hull, name, face, where):
        cell = self.free_cell(where)
        if not cell:
            return
        team = make_grid_object(hull, name, TEAM_TYPE, cell, TEAM_ICON, TEAM_COLOUR, "%s stands ready." % name)
        team.data_set.set("move_speed", TEAM_SPEED, 0)
        team.data_set.set("face", face, 0)
        self.teams[team.unique_ID] = {"name": name, "home": cell, "breach": 0, "sealing": 0}

    def offer_buttons(self):
        text, colour = HEADER
        zmx.send_grid_selection_info(self.ship_id, "", colour, text)
        for text, colour, tag in BUTTONS:
            zmx.send_grid_button_info(self.ship_id, colour, text, tag)

    # --- damage ---------------------------------------------------------------

    def take_hit(self, event):
        """One share of a hit that got past the shields; its point is the
        direction it came from, in the ship's own frame."""
        if event.origin_id != self.ship_id or not self.sim.space_object_exists(self.ship_id):
            return
        direction = event.source_point
        system = system_facing(direction.x, direction.z)
        self.damage_system(system, HIT_POINTS)
        breach = self.breach_near((direction.x, 0.0, direction.z), system)
        if breach:
            self.breaches[breach]["cost"] += HIT_POINTS

    def damage_system(self, system, points):
        """Damage to a system (or, negative, its repair); what a wrecked
        system cannot take goes on to the system with the most left."""
        data = self.sim.get_space_object(self.ship_id).data_set
        while points:
            most = data.get("system_max_damage", system) or 0.0
            now = data.get("system_damage", system) or 0.0
            after = max(0.0, min(most, now + points))
            data.set("system_damage", float(after), system)
            points -= after - now
            if points <= 0 or after < most:
                return
            system = max(range(SYSTEM_COUNT), key=lambda s: room_left(data, s))
            if room_left(data, system) <= 0:
                return

    def breach_near(self, direction, system):
        """The open breach near where the hit came in, or a new one there."""
        hull = self.interior()
        if not hull:
            return 0
        cell = self.free_cell(direction)
        if not cell:
            return 0
        for breach_id, breach in self.breaches.items():
            bx, by = breach["cell"]
            if abs(bx - cell[0]) <= BREACH_SPACING and abs(by - cell[1]) <= BREACH_SPACING:
                return breach_id
        if len(self.breaches) >= MOST_BREACHES:
            return 0
        breach = make_grid_object(hull, "Breach, %s" % SYSTEM_NAMES[system], BREACH_TYPE, cell, BREACH_ICON,
                                  BREACH_COLOUR, "Hull breach by the %s. Send a team to seal it." % SYSTEM_NAMES[system])
        self.breaches[breach.unique_ID] = {"cell": cell, "system": system, "cost": 0.0}
        self.tell("Hull breach by the %s: send a damage-control team." % SYSTEM_NAMES[system], BREACH_COLOUR)
        return breach.unique_ID

    # --- the teams ------------------------------------------------------------

    def press(self, event):
        """A grid button; the selected grid object is the team it commands."""
        team = self.teams.get(event.selected_id)
        if event.origin_id != self.ship_id or event.sub_tag not in (SEAL, STAND_DOWN):
            return False
        if not team:
            self.tell("Select a damage-control team first.", TEAM_COLOUR)
        elif event.sub_tag == SEAL:
            self.send_to_breach(event.selected_id, team)
        else:
            self.send_home(event.selected_id, team)
        return True

    def send_to_breach(self, team_id, team):
        taken = {other["breach"] for tid, other in self.teams.items() if tid != team_id}
        open_ones = [bid for bid in self.breaches if bid not in taken]
        if not open_ones:
            self.tell("%s: no breach needs us." % team["name"], TEAM_COLOUR)
            return
        here = self.cell_of(team_id)
        nearest = min(open_ones, key=lambda bid: cell_distance(here, self.breaches[bid]["cell"]))
        team.update(breach=nearest, sealing=0)
        self.walk(team_id, self.breaches[nearest]["cell"], "On our way to the breach by the %s." %
                  SYSTEM_NAMES[self.breaches[nearest]["system"]])

    def send_home(self, team_id, team):
        team.update(breach=0, sealing=0)
        self.walk(team_id, team["home"], "Standing down.")

    def walk(self, team_id, cell, saying):
        hull = self.interior()
        team = hull.get_grid_object_by_id(team_id) if hull else None
        if not team:
            return
        team.data_set.set("pathx", cell[0], 0)
        team.data_set.set("pathy", cell[1], 0)
        team.data_set.set("info_text", saying, 0)
        self.tell("%s: %s" % (self.teams[team_id]["name"], saying), TEAM_COLOUR)

    def cell_of(self, grid_id):
        hull = self.interior()
        found = hull.get_grid_object_by_id(grid_id) if hull else None
        if not found:
            return (0, 0)
        return (found.data_set.get("curx", 0) or 0, found.data_set.get("cury", 0) or 0)

    def arrived(self, event):
        """A grid object reached the end of its path: a team at its breach
        starts sealing it."""
        team = self.teams.get(event.origin_id)
        if team and team["breach"] in self.breaches:
            if self.cell_of(event.origin_id) == self.breaches[team["breach"]]["cell"]:
                team["sealing"] = SEALING_TICKS

    def tick(self):
        """Once a mission tick: open breaches wear their systems down, teams at
        work seal theirs."""
        if not self.sim.space_object_exists(self.ship_id):
            return
        for breach in self.breaches.values():
            self.damage_system(breach["system"], BREACH_BLEED_POINTS)
            breach["cost"] += BREACH_BLEED_POINTS
        for team_id, team in self.teams.items():
            if team["sealing"] > 0:
                team["sealing"] -= 1
                if team["sealing"] == 0:
                    self.seal(team_id, team)

    def seal(self, team_id, team):
        breach_id = team["breach"]
        breach = self.breaches.pop(breach_id, None)
        team["breach"] = 0
        if not breach:
            return
        self.damage_system(breach["system"], -REPAIR_SHARE * breach["cost"])
        zmx.delete_grid_object(self.ship_id, breach_id)
        self.tell("%s: breach by the %s sealed." % (team["name"], SYSTEM_NAMES[breach["system"]]), TEAM_COLOUR)

    def select(self, event):
        """The crew picked a grid object: the grid face and buttons follow it."""
        if event.origin_id == self.ship_id and self.sim.space_object_exists(self.ship_id):
            chosen = event.selected_id if event.selected_id in self.teams or event.selected_id in self.breaches else 0
            self.sim.get_space_object(self.ship_id).data_set.set("grid_selected_UID", chosen, 0)

    def handle(self, event):
        """Acts on the interior's events; True when it took one."""
        if event.tag == "player_internal_damage":
            self.take_hit(event)
        elif event.tag == "grid_object_selection":
            self.select(event)
        elif event.tag == "press_grid_button":
            return self.press(event)
        elif event.tag == "grid_object" and event.sub_tag == "finished_path":
            self.arrived(event)
        else:
            return False
        return True

    def open_breaches(self):
        return len(self.breaches)


def has_open_cell(hull):
    return any(hull.is_grid_point_open(x, y) for y in range(hull.h) for x in range(hull.w))


def make_grid_object(hull, name, kind, cell, icon, colour, info):
    """A grid object standing at the cell, with its icon and its line for the
    grid face, both in the colour."""
    made = hull.create_grid_object(name, name, kind)
    data = made.data_set
    place(data, cell)
    data.set("icon_index", icon, 0)
    data.set("icon_color", colour, 0)
    data.set("icon_scale", ICON_SCALE, 0)
    data.set("info_text", info, 0)
    data.set("info_text_color", colour, 0)
    return made


def place(data, cell):
    x, y = cell
    for key, value in (("curx", x), ("cury", y), ("lastx", x), ("lasty", y)):
        data.set(key, value, 0)
    data.set("percent", 1.0, 0)


def system_facing(x, z):
    """The system on the side a hit came from, in the ship's own frame (+z
    forward, +x to starboard)."""
    if abs(z) >= abs(x):
        return WEAPONS if z >= 0 else ENGINES
    return SHIELDS if x > 0 else SENSORS


def cell_distance(a, b):
    return abs(a[0] - b[0]) + abs(a[1] - b[1])


def room_left(data, system):
    return (data.get("system_max_damage", system) or 0.0) - (data.get("system_damage", system) or 0.0)


def system_wear(sim, ship_id):
    """How much of what her four systems can take the ship has taken, 0..1."""
    data = sim.get_space_object(ship_id).data_set
    taken = sum(data.get("system_damage", s) or 0.0 for s in range(SYSTEM_COUNT))
    most = sum(data.get("system_max_damage", s) or 0.0 for s in range(SYSTEM_COUNT))
    return taken / most if most > 0 else 0.0
