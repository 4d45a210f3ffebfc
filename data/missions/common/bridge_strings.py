# The texts the consoles show that come from the mission: the torpedo types
# the ships carry (their names and flight as shared strings, which the
# weapons drop-down, the tube rows and the ship panel read), the sides (their
# radar colours and icons, their standing with each other and the names the
# scans give them) and the findings of science's scans.
import zmx

# The torpedo types the game's hulls carry, by the key their ship records
# give them. A type no entry describes flies as a plain homing torpedo under
# its own key, so every type a ship carries has a name on the consoles.
TORPEDO_TYPES = {
    "Homing": "gui_text:Homing;$desc:Seeks the locked target and strikes it;speed:22;damage:40;lifetime:300;"
              "behavior:homing;energy_conversion_value:30;flare_color:#ffd890;trail_color:#ff9a40;"
              "explosion_size:2;explosion_color:fire",
    "Nuke": "gui_text:Nuke;$desc:Heavy blast that strikes everything near it, friend or foe;speed:16;damage:120;"
            "blast_radius:900;warhead:blast;lifetime:300;behavior:homing;energy_conversion_value:80;"
            "flare_color:#fff0a0;trail_color:#ff6020;explosion_size:6;explosion_color:fire",
    "EMP": "gui_text:EMP;$desc:Strips the shields of every ship near it;speed:20;damage:80;blast_radius:800;"
           "warhead:reduce_shields;lifetime:300;behavior:homing;energy_conversion_value:50;"
           "flare_color:#a0d0ff;trail_color:#4080ff;explosion_size:4;explosion_color:#60a0ff",
    "Mine": "gui_text:Mine;$desc:Laid astern, it goes off when a ship comes close;speed:10;damage:90;"
            "blast_radius:600;behavior:mine;lifetime:900;energy_conversion_value:40;"
            "flare_color:#ff8080;trail_color:#c04040;explosion_size:4;explosion_color:fire",
}
PLAIN_TORPEDO = ("gui_text:%s;desc:A homing torpedo;speed:20;damage:40;lifetime:300;behavior:homing;"
                 "energy_conversion_value:30")

# What a ship's side is called in the scans, beside its radar colour and icon.
SIDE_NAMES = {
    "meridian": "Meridian Compact",
    "skarn": "Skarn Reach",
    "monster": "wild",
}
SHIELD_FREQUENCIES = "ABCDE"


def carried_torpedo_types(sim, ship_ids):
    """The torpedo types the ships carry, as their ship records gave them,
    in the order first met."""
    found = []
    for ship_id in ship_ids:
        listed = sim.get_space_object(ship_id).data_set.get("torpedo_types_available", 0) or ""
        for name in listed.split(","):
            if name and name not in found:
                found.append(name)
    return found


def name_torpedo_types(sim, ship_ids, extra_types=()):
    """Describes every torpedo type the ships carry, and the extra ones (a
    station's launcher, say), so every console has their names."""
    types = carried_torpedo_types(sim, ship_ids)
    types += [name for name in extra_types if name not in types]
    for name in types:
        zmx.set_shared_string(name, TORPEDO_TYPES.get(name, PLAIN_TORPEDO % name))
    return types


def select_torpedo_type(sim, ship_id, types):
    """Loads the weapons officer's tubes with the first type until she picks
    another."""
    if types:
        sim.get_space_object(ship_id).data_set.set("torpedo_selected_type", types[0], 0)


def set_sides(sim, sides, wars):
    """sides: (side, icon colour, icon index); wars: pairs at war both ways.
    A side is allied with itself and neutral to every side it is not at war
    with."""
    for side, colour, icon in sides:
        sim.set_side_icon_color(side, colour)
        sim.set_side_icon_index(side, icon)
    for side, _, _ in sides:
        for other, _, _ in sides:
            at_war = (side, other) in wars or (other, side) in wars
            standing = zmx.ALLIED if side == other else zmx.HOSTILE if at_war else zmx.NEUTRAL
            sim.set_side_relationship(side, other, standing)


def style_text(text):
    """Words for a raw style entry ("$key:..."), which runs to the next ';':
    a ';' in them becomes a ',', and a back-quote, which would start a
    quotation, an apostrophe."""
    return text.replace(";", ",").replace("`", "'")


def side_name(side):
    return SIDE_NAMES.get(side, side or "no side")


# --- what the scans find -------------------------------------------------------

def scan_finding(target, kind, notes):
    """The text a finished scan of the kind shows on the science panel; notes
    maps a kind to the mission's own words about this object."""
    data = target.data_set
    name = data.get("name_tag", 0) or "the contact"
    if kind in notes:
        return notes[kind]
    if kind == "scan":
        hull = data.get("hull_name", 0) or "contact"
        return "%s: a %s of the %s." % (name, hull, side_name(target.side))
    if kind == "status":
        return status_finding(data, name)
    if kind == "intel":
        return "Nothing on file about %s beyond the %s registry." % (name, side_name(target.side))
    if kind == "bio":
        return "Life signs aboard %s: a working crew, nothing unusual." % name
    return "%s scan of %s complete." % (kind.capitalize(), name)


def status_finding(data, name):
    shields = [max(0, int(data.get("shield_val", i) or 0)) for i in range(int(data.get("shield_count", 0) or 0))]
    text = "%s: shields %s." % (name, " / ".join(str(s) for s in shields) if shields else "none")
    strengths = [data.get("shield_freq_strength", i) for i in range(len(SHIELD_FREQUENCIES))]
    if all(isinstance(s, int) for s in strengths):
        weakest = strengths.index(min(strengths))
        strongest = strengths.index(max(strengths))
        text += " Shield frequencies: strongest %s, weakest %s; tune the beams to %s." % (
            SHIELD_FREQUENCIES[strongest], SHIELD_FREQUENCIES[weakest], SHIELD_FREQUENCIES[weakest])
    return text


def record_scan(sim, event, notes_by_object):
    """Writes the finding of a finished scan where the science panel reads
    it: the target's value of the scan's kind, under the scanning side."""
    if not sim.space_object_exists(event.selected_id):
        return
    target = sim.get_space_object(event.selected_id)
    finding = scan_finding(target, event.extra_tag, notes_by_object.get(event.selected_id, {}))
    target.data_set.set(event.extra_tag, finding, event.value_tag)
