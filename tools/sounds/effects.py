"""The interface sounds and the ship's sound effects, one function each.

Every function takes a seeded random generator and returns a mono signal.
Loops (engines, the jump charge) hold a whole number of cycles of every
tone they contain and periodic noise, so they repeat without a seam.
"""

import numpy as np

from synth import (additive, decay, envelope, fade_edges, highpass, lowpass, midi, noise, reverb,
                   saw_partials, seconds, shaped_noise, square_partials, timeline)


def blip(freq, duration, time_constant, partials=((1, 1.0), (2, 0.25))):
    """A struck tone with a 2 ms attack and release, so it never clicks."""
    t = timeline(duration)
    return additive(freq, t, list(partials)) * decay(t, time_constant) * envelope(len(t), 0.002, 0.004)


def sequence(parts, gap=0.0):
    """Sounds one after another, gap seconds apart."""
    pieces = []
    for part in parts:
        pieces.append(part)
        pieces.append(np.zeros(seconds(gap)))
    return np.concatenate(pieces[:-1])


# Interface sounds: short, bright and clean, so they read over the music.

def gui_button(rng):
    t = timeline(0.06)
    tone = additive(2350.0, t, [(1, 1.0), (2, 0.3), (3, 0.1)]) * decay(t, 0.009)
    tick = highpass(noise(rng, len(t)), 2500.0) * decay(t, 0.002)
    return 0.7 * tone + 0.35 * tick


def gui_tab(rng):
    return sequence([blip(1320.0, 0.045, 0.012), blip(1760.0, 0.06, 0.015)], gap=0.012)


def gui_lock(rng):
    notes = [blip(midi(n), 0.05, 0.02, ((1, 1.0), (3, 0.15))) for n in (81, 86, 93)]
    held = blip(midi(93), 0.16, 0.07, ((1, 1.0), (3, 0.15)))
    return sequence(notes + [held], gap=0.015)


def gui_list_select(rng):
    """A row picked from a list: a soft, quick upward pair of ticks."""
    return sequence([blip(1980.0, 0.03, 0.007, ((1, 1.0), (2, 0.15))),
                     blip(2640.0, 0.045, 0.01, ((1, 1.0), (2, 0.15)))], gap=0.008)


def gui_torp_load(rng):
    t = timeline(0.45)
    thud = additive(np.linspace(110.0, 70.0, len(t)), t, [(1, 1.0), (2, 0.3)]) * decay(t, 0.05)
    ring = sum(level * np.sin(2 * np.pi * f * t) for f, level in ((523.0, 0.5), (1371.0, 0.35), (2213.0, 0.2)))
    ring *= decay(t, 0.09)
    clank = lowpass(noise(rng, len(t)), 3500.0) * decay(t, 0.012)
    latch = np.zeros_like(t)
    start = seconds(0.2)
    latch[start:] = blip(1900.0, 0.45 - 0.2, 0.01)[:len(t) - start]
    return thud + 0.6 * ring + 0.5 * clank + 0.4 * latch


def gui_torp_fire(rng):
    """The launch key: a hard latch, then a short rising hiss."""
    latch = blip(2600.0, 0.05, 0.006, ((1, 1.0), (2.3, 0.4)))
    t = timeline(0.22)
    hiss = highpass(noise(rng, len(t)), 1800.0) * envelope(len(t), 0.01, 0.16)
    rise = additive(np.geomspace(700.0, 1500.0, len(t)), t, [(1, 0.35)]) * envelope(len(t), 0.01, 0.12)
    return sequence([latch, 0.5 * hiss + rise])


def gui_torp_fire_failure(rng):
    """Nothing in the tube: two low, dull buzzes."""
    def buzz():
        t = timeline(0.09)
        return lowpass(additive(220.0, t, square_partials(7)), 1200.0) * envelope(len(t), 0.004, 0.03)
    return sequence([buzz(), buzz()], gap=0.04)


def gui_comms(rng):
    def chirp():
        t = timeline(0.055)
        return additive(np.linspace(1600.0, 2100.0, len(t)), t, [(1, 1.0), (2, 0.2)]) * envelope(len(t), 0.004, 0.03)
    return sequence([chirp(), chirp(), chirp()], gap=0.03)


def gui_comms_open(rng):
    t = timeline(0.42)
    sweep = additive(np.geomspace(420.0, 1680.0, len(t)), t, [(1, 1.0), (2, 0.4), (3, 0.15)])
    shimmer = additive(np.geomspace(1680.0, 3360.0, len(t)), t, [(1, 1.0)]) * 0.2
    return (sweep + shimmer) * envelope(len(t), 0.02, 0.18)


def gui_main_screen(rng):
    def bell(freq, duration):
        t = timeline(duration)
        partials = ((1.0, 1.0), (2.76, 0.4), (5.4, 0.2), (8.93, 0.08))
        ring = sum(level * np.sin(2 * np.pi * freq * ratio * t) * decay(t, 0.25 / ratio ** 0.5)
                   for ratio, level in partials)
        return ring * envelope(len(t), 0.002, 0.15)
    first, second = bell(midi(88), 0.5), bell(midi(95), 0.6)
    out = np.zeros(seconds(0.75))
    out[:len(first)] += first
    offset = seconds(0.11)
    out[offset:offset + len(second)] += second[:len(out) - offset]
    return out


def gui_overheat_warning(rng):
    tones = []
    for freq in (880.0, 660.0, 880.0, 660.0):
        t = timeline(0.12)
        tones.append(additive(freq, t, square_partials(9)) * envelope(len(t), 0.005, 0.02))
    return sequence(tones, gap=0.03)


# Ship sounds.

LOOP_SECONDS = 2.0  # every loop tone is a multiple of 1 / LOOP_SECONDS Hz


def engine_base(rng):
    """The steady rumble of the ship's drive."""
    t = timeline(LOOP_SECONDS)
    hum = additive(55.0, t, [(1, 1.0), (2, 0.55), (3, 0.3), (4, 0.12), (6, 0.05)])
    throb = 1.0 + 0.15 * np.sin(2 * np.pi * 2.0 * t)
    rumble = shaped_noise(rng, len(t), 25.0, 380.0, tilt=0.6)
    return (0.75 * hum * throb + 0.45 * rumble)


def engine_tone(rng):
    """The drive's whine; the game raises its pitch with the throttle."""
    t = timeline(LOOP_SECONDS)
    whine = additive(220.0, t, [(1, 1.0), (2, 0.45), (3, 0.25), (4, 0.12)])
    beat = additive(220.5, t, [(1, 0.25), (2, 0.08)])
    air = shaped_noise(rng, len(t), 1200.0, 3200.0) * 0.08
    return whine + beat + air


def jump_charge(rng):
    """The jump drive gathering power, looped while it counts down."""
    t = timeline(LOOP_SECONDS)
    core = additive(80.0, t, [(1, 1.0), (2, 0.6), (3, 0.35), (5, 0.15)])
    pulse = 0.6 + 0.4 * np.sin(2 * np.pi * 4.0 * t) ** 2
    shimmer = shaped_noise(rng, len(t), 1500.0, 4000.0) * (0.5 + 0.5 * np.sin(2 * np.pi * 8.0 * t))
    return core * pulse + 0.25 * shimmer


def jump_arrive(rng):
    t = timeline(1.6)
    whoosh = lowpass(noise(rng, len(t)), 2500.0) * envelope(len(t), 0.25, 1.2, curve=2.0)
    boom = additive(np.geomspace(90.0, 32.0, len(t)), t, [(1, 1.0), (2, 0.3)]) * decay(t, 0.35)
    boom = np.roll(boom, seconds(0.22))
    boom[:seconds(0.22)] = 0.0
    return reverb(rng, 0.6 * whoosh + boom, length=1.2, wet=0.2)[:len(t)]


def shield_hit(variant):
    """An energy hit splashing on the shield: a resonant ring with crackle."""
    def make(rng):
        t = timeline(0.55)
        base = 260.0 + 55.0 * variant
        ring = additive(base * np.geomspace(1.25, 1.0, len(t)), t, [(1, 1.0), (2.01, 0.5), (3.97, 0.25)])
        ring *= decay(t, 0.12 + 0.01 * variant)
        crackle = highpass(noise(rng, len(t)), 1800.0)
        gate = (rng.uniform(size=len(t) // 64 + 1) > 0.55).repeat(64)[:len(t)]
        crackle *= gate * decay(t, 0.09)
        impact = lowpass(noise(rng, len(t)), 900.0) * decay(t, 0.02)
        return ring + 0.45 * crackle + 0.6 * impact
    return make


def beam_shot(variant):
    """The ship's own beam weapon: a falling zap over a short thump."""
    def make(rng):
        duration = 0.32 + 0.04 * variant
        t = timeline(duration)
        start = 2600.0 - 250.0 * variant
        zap = additive(np.geomspace(start, 260.0 + 40.0 * variant, len(t)), t, saw_partials(7, 1.2))
        zap *= decay(t, 0.09 + 0.015 * variant)
        thump = additive(np.geomspace(140.0, 60.0, len(t)), t, [(1, 1.0)]) * decay(t, 0.04)
        return zap + 0.5 * thump
    return make


def hull_damage(rng):
    t = timeline(0.95)
    boom = additive(np.geomspace(75.0, 36.0, len(t)), t, [(1, 1.0), (2, 0.4)]) * decay(t, 0.22)
    crunch = lowpass(noise(rng, len(t)), 1100.0) * decay(t, 0.16)
    debris = np.zeros_like(t)
    for _ in range(14):
        at = rng.integers(seconds(0.05), seconds(0.7))
        piece = blip(rng.uniform(700.0, 2400.0), 0.05, 0.008, ((1, 1.0), (2.7, 0.4)))
        debris[at:at + len(piece)] += piece[:len(debris) - at] * rng.uniform(0.15, 0.4)
    return boom + 0.7 * crunch + debris


def torp_impact(rng):
    t = timeline(1.5)
    blast = lowpass(noise(rng, len(t)), 1600.0) * decay(t, 0.3)
    sub = additive(np.geomspace(70.0, 28.0, len(t)), t, [(1, 1.0)]) * decay(t, 0.45)
    crackle = highpass(noise(rng, len(t)), 2500.0) * decay(t, 0.5)
    crackle *= (rng.uniform(size=len(t) // 128 + 1) > 0.7).repeat(128)[:len(t)]
    return reverb(rng, blast + 1.2 * sub + 0.2 * crackle, length=1.5, wet=0.22)[:len(t)]


def torpedo_launch(rng):
    t = timeline(0.85)
    thump = additive(np.geomspace(130.0, 55.0, len(t)), t, [(1, 1.0), (2, 0.3)]) * decay(t, 0.07)
    whoosh = highpass(lowpass(noise(rng, len(t)), 4500.0), 400.0)
    whoosh *= envelope(len(t), 0.12, 0.6, curve=1.5)
    hiss = additive(np.geomspace(900.0, 2200.0, len(t)), t, [(1, 0.2)]) * envelope(len(t), 0.1, 0.5)
    return thump + 0.6 * whoosh + hiss


def tractor_beam(rng):
    t = timeline(1.6)
    vibrato = 140.0 * (1.0 + 0.02 * np.sin(2 * np.pi * 6.0 * t))
    hum = additive(vibrato, t, [(1, 1.0), (2, 0.5), (3, 0.3), (5, 0.1)])
    tremolo = 0.75 + 0.25 * np.sin(2 * np.pi * 3.0 * t)
    sparkle = highpass(noise(rng, len(t)), 3000.0) * 0.08
    return (hum * tremolo + sparkle) * envelope(len(t), 0.15, 0.4)


def shields(rising):
    """Shields raised (a rising shimmer) or lowered (the same, falling)."""
    def make(rng):
        t = timeline(0.7)
        low, high = (300.0, 900.0) if rising else (900.0, 300.0)
        glide = np.geomspace(low, high, len(t))
        chord = sum(additive(glide * ratio, t, [(1, level)]) for ratio, level in ((1.0, 1.0), (1.5, 0.6), (2.0, 0.4)))
        shimmer = shaped_noise(rng, len(t), 2500.0, 6000.0) * 0.15
        return (chord + shimmer) * envelope(len(t), 0.04, 0.35)
    return make


def red_alert(rng):
    """The alert horn: two rising whoops."""
    whoops = []
    for _ in range(2):
        t = timeline(0.7)
        whoop = additive(np.geomspace(420.0, 880.0, len(t)), t, square_partials(11))
        whoops.append(whoop * envelope(len(t), 0.03, 0.08))
    return sequence(whoops, gap=0.12)


# Sound name (below data/audio/, as the preferences name them) -> maker, and
# whether it loops (loops keep their ends as they are, so they join cleanly).
EFFECTS = {
    "gui/button": (gui_button, False),
    "gui/tab": (gui_tab, False),
    "gui/lock": (gui_lock, False),
    "gui/list_select": (gui_list_select, False),
    "gui/torp_load": (gui_torp_load, False),
    "gui/torp_fire": (gui_torp_fire, False),
    "gui/torp_fire_failure": (gui_torp_fire_failure, False),
    "gui/comms": (gui_comms, False),
    "gui/comms_open": (gui_comms_open, False),
    "gui/main_screen": (gui_main_screen, False),
    "gui/overheat_warning": (gui_overheat_warning, False),
    "sfx/engine_base": (engine_base, True),
    "sfx/engine_tone": (engine_tone, True),
    "sfx/jump_charge": (jump_charge, True),
    "sfx/jump_arrive": (jump_arrive, False),
    "sfx/hull_damage": (hull_damage, False),
    "sfx/torp_impact": (torp_impact, False),
    "sfx/torpedo_launch": (torpedo_launch, False),
    "sfx/tractor_beam": (tractor_beam, False),
    "sfx/shields_up": (shields(True), False),
    "sfx/shields_down": (shields(False), False),
    "sfx/red_alert": (red_alert, False),
}
EFFECTS.update({f"sfx/shield_hit_{v}": (shield_hit(v), False) for v in range(1, 7)})
EFFECTS.update({f"sfx/beam_shot_{v}": (beam_shot(v), False) for v in range(1, 5)})


def render(name, rng):
    """The finished effect: made, edged when it does not loop, and levelled
    (interface sounds a little quieter than the ship's)."""
    make, loops = EFFECTS[name]
    signal = make(rng)
    if not loops:
        signal = fade_edges(signal, fade_in=0.001, fade_out=0.01)
    peak = 0.7 if name.startswith("gui/") else 0.89
    return signal * (peak / np.max(np.abs(signal)))
