"""The standard music set: two tracks for each level of tension (low, medium,
high) and the two cues (main and start), all in A minor so that any track
may follow any other.

Each track is written bar by bar from a chord progression; the instruments
are additive synths and noise drums, and a hall reverb holds them together.
"""

from functools import lru_cache

import numpy as np

from synth import (additive, decay, envelope, highpass, lowpass, midi, noise, normalise, place, reverb,
                   saw_partials, seconds, square_partials, timeline)

MINOR = (0, 3, 7)
MAJOR = (0, 4, 7)


def chord(root, quality):
    return [root + step for step in quality]


# Instruments: each returns a mono note. Pitched notes are the same every
# time they are asked for, so each is made once (callers never change them).

@lru_cache(maxsize=None)
def pad(note, duration, brightness=1.6):
    t = timeline(duration + 1.2)
    voices = sum(additive(midi(note + cents / 100.0), t, saw_partials(10, brightness), phase=cents)
                 for cents in (-7.0, 0.0, 7.0))
    return voices * envelope(len(t), 0.7, 1.2, hold=duration - 0.7) / 3.0


@lru_cache(maxsize=None)
def bell(note, duration=2.5):
    t = timeline(duration)
    freq = midi(note)
    partials = ((1.0, 1.0), (2.0, 0.35), (2.76, 0.3), (5.4, 0.12), (8.93, 0.05))
    return sum(level * np.sin(2 * np.pi * freq * ratio * t) * decay(t, 0.9 / ratio ** 0.7)
               for ratio, level in partials) * envelope(len(t), 0.003, 0.3)


@lru_cache(maxsize=None)
def sub_bass(note, duration):
    t = timeline(duration)
    return additive(midi(note), t, [(1, 1.0), (2, 0.2)]) * envelope(len(t), 0.05, 0.3)


@lru_cache(maxsize=None)
def pluck_bass(note, duration):
    t = timeline(duration)
    tone = additive(midi(note), t, [(1, 1.0), (2, 0.5), (3, 0.25), (4, 0.1)])
    return tone * decay(t, 0.22) * envelope(len(t), 0.004, 0.03)


@lru_cache(maxsize=None)
def arp(note, duration):
    t = timeline(duration)
    return additive(midi(note), t, square_partials(9)) * decay(t, 0.12) * envelope(len(t), 0.003, 0.02)


@lru_cache(maxsize=None)
def brass(note, duration):
    t = timeline(duration)
    swell = midi(note) * (1.0 - 0.012 * decay(t, 0.05))  # bends up into the note
    tone = additive(swell, t, saw_partials(14, 1.05))
    return tone * envelope(len(t), 0.03, 0.25) * (0.6 + 0.4 * decay(t, 0.3))


@lru_cache(maxsize=None)
def strings(note, duration):
    t = timeline(duration + 0.6)
    tone = sum(additive(midi(note + c / 100.0), t, saw_partials(12, 1.3), phase=c) for c in (-5.0, 5.0)) / 2.0
    return tone * envelope(len(t), 0.25, 0.6, hold=duration - 0.25) * (1.0 + 0.08 * np.sin(2 * np.pi * 5.5 * t))


def kick(rng):
    t = timeline(0.45)
    body = additive(np.geomspace(150.0, 42.0, len(t)), t, [(1, 1.0)]) * decay(t, 0.16)
    click = highpass(noise(rng, len(t)), 3000.0) * decay(t, 0.003)
    return body + 0.3 * click


def snare(rng):
    t = timeline(0.3)
    rattle = highpass(noise(rng, len(t)), 1200.0) * decay(t, 0.07)
    tone = additive(190.0, t, [(1, 1.0), (1.5, 0.3)]) * decay(t, 0.04)
    return 0.8 * rattle + 0.5 * tone


def hat(rng, open_hat=False):
    t = timeline(0.25 if open_hat else 0.08)
    return highpass(noise(rng, len(t)), 7000.0) * decay(t, 0.08 if open_hat else 0.018)


def tom(rng, note):
    t = timeline(0.5)
    body = additive(np.geomspace(midi(note) * 1.3, midi(note), len(t)), t, [(1, 1.0), (2, 0.2)])
    return body * decay(t, 0.18) + 0.2 * lowpass(noise(rng, len(t)), 2000.0) * decay(t, 0.02)


def timpani(rng, note):
    t = timeline(1.6)
    body = additive(midi(note), t, [(1, 1.0), (1.5, 0.3), (2.0, 0.2)]) * decay(t, 0.5)
    return body + 0.3 * lowpass(noise(rng, len(t)), 600.0) * decay(t, 0.05)


class Kit:
    """One track's drum sounds, each hit made once: a drum machine's kit."""

    def __init__(self, rng):
        self.rng = rng
        self.kick = kick(rng)
        self.snare = snare(rng)
        self.hat = hat(rng)
        self.open_hat = hat(rng, open_hat=True)
        self.toms = {note: tom(rng, note) for note in (43, 45, 47, 50)}
        self.tuned = {}

    def timpani(self, note):
        if note not in self.tuned:
            self.tuned[note] = timpani(self.rng, note)
        return self.tuned[note]


class Score:
    """A stereo track of bars at a tempo; parts are placed by bar and beat."""

    def __init__(self, bpm, bars, beats=4):
        self.beat = 60.0 / bpm
        self.bar = self.beat * beats
        self.bars = bars
        self.track = np.zeros((seconds(self.bar * bars + 3.0), 2))

    def at(self, bar, beat=0.0):
        return bar * self.bar + beat * self.beat

    def add(self, sound, bar, beat=0.0, gain=1.0, pan=0.0):
        place(self.track, sound * gain, self.at(bar, beat), pan)

    def add_chord(self, notes, instrument, bar, beat=0.0, gain=1.0, spread=0.5):
        """Each note of the chord made by instrument(note), spread from left to
        right across the stereo field."""
        for i, note in enumerate(notes):
            self.add(instrument(note), bar, beat, gain, pan=(i - (len(notes) - 1) / 2.0) * spread)

    def finish(self, rng, wet, peak):
        """Reverb, a short fade at the very end, and the track's level: calm
        music sits lower than battle music."""
        mixed = reverb(rng, self.track, length=2.2, wet=wet)
        end = seconds(self.bar * self.bars + 2.5)
        mixed = mixed[:end]
        fade = seconds(1.5)
        mixed[-fade:] *= np.linspace(1.0, 0.0, fade)[:, None]
        return normalise(mixed, peak)


A_MINOR_PENTATONIC = (57, 60, 62, 64, 67)


def calm(progression, bpm, melody):
    def make(rng):
        score = Score(bpm, len(progression))
        for bar, (root, quality) in enumerate(progression):
            score.add_chord(chord(root, quality), lambda n: pad(n, score.bar), bar, gain=0.22, spread=0.4)
            score.add(sub_bass(root - 12, score.bar), bar, gain=0.35)
            if melody == "bells":
                for beat in sorted(rng.choice([0.0, 1.0, 1.5, 2.0, 3.0], size=2, replace=False)):
                    note = int(rng.choice(A_MINOR_PENTATONIC)) + 12
                    score.add(bell(note), bar, beat, gain=0.3, pan=float(rng.uniform(-0.6, 0.6)))
            else:
                tones = chord(root, quality) + [root + 12]
                for step in range(8):
                    score.add(bell(tones[step % 4] + 12, 1.2), bar, step * 0.5, gain=0.16,
                              pan=0.5 if step % 2 else -0.5)
        return score.finish(rng, wet=0.4, peak=0.6)
    return make


def alert(progression, bpm, figure):
    def make(rng):
        score = Score(bpm, len(progression))
        kit = Kit(rng)
        for bar, (root, quality) in enumerate(progression):
            score.add_chord(chord(root, quality), lambda n: strings(n, score.bar), bar, gain=0.12)
            for eighth in range(8):
                beat = eighth * 0.5
                if figure == "pulse":
                    score.add(pluck_bass(root - 12 + (12 if eighth % 2 else 0), 0.3), bar, beat, gain=0.45)
                    if eighth % 2:
                        score.add(kit.hat, bar, beat, gain=0.18, pan=0.3)
                else:
                    tones = chord(root, quality)
                    for half in (0.0, 0.25):
                        note = tones[(eighth * 2 + int(half * 4)) % 3] + 12
                        score.add(arp(note, 0.2), bar, beat + half, gain=0.14, pan=-0.3)
            if figure != "pulse":
                score.add(sub_bass(root - 12, score.bar), bar, gain=0.3)
                score.add(kit.snare, bar, 3.0, gain=0.18, pan=0.1)
            for beat in (0.0, 2.0):
                score.add(kit.kick, bar, beat, gain=0.55)
        return score.finish(rng, wet=0.28, peak=0.7)
    return make


def battle(progression, bpm, drums):
    def make(rng):
        score = Score(bpm, len(progression))
        kit = Kit(rng)
        for bar, (root, quality) in enumerate(progression):
            notes = chord(root, quality)
            score.add_chord([n + 12 for n in notes], lambda n: strings(n, score.bar), bar, gain=0.1, spread=0.6)
            ostinato = (0, 0, 12, 0, 0, 12, 0, 7)
            for step in range(16):
                note = root - 12 + ostinato[step % 8]
                score.add(pluck_bass(note, 0.2), bar, step * 0.25, gain=0.38)
            score.add_chord(notes, lambda n: brass(n, score.beat * 0.9), bar, 0.0, gain=0.16, spread=0.3)
            score.add_chord(notes, lambda n: brass(n, score.beat * 0.45), bar, 2.5, gain=0.12, spread=0.3)
            if drums == "kit":
                for beat in range(4):
                    score.add(kit.kick, bar, beat, gain=0.6)
                for beat in (1.0, 3.0):
                    score.add(kit.snare, bar, beat, gain=0.45)
                for step in range(16):
                    score.add(kit.open_hat if step % 8 == 6 else kit.hat, bar, step * 0.25, gain=0.1, pan=0.35)
            else:
                score.add(kit.timpani(root - 24), bar, 0.0, gain=0.5)
                for beat, note in ((1.0, 50), (1.5, 47), (2.5, 45), (3.0, 43), (3.5, 43)):
                    score.add(kit.toms[note], bar, beat, gain=0.4, pan=(note - 46) / 10.0)
                for beat in (0.0, 0.75, 2.0):
                    score.add(kit.kick, bar, beat, gain=0.55)
        return score.finish(rng, wet=0.22, peak=0.82)
    return make


def main_cue(rng):
    """The main theme: a brass fanfare over timpani."""
    score = Score(88, 5)
    kit = Kit(rng)
    melody = [(0, 0.0, 64, 1.0), (0, 1.0, 67, 0.5), (0, 1.5, 69, 0.5), (0, 2.0, 72, 2.0),
              (1, 0.0, 71, 1.0), (1, 1.0, 67, 1.0), (1, 2.0, 64, 2.0),
              (2, 0.0, 65, 1.0), (2, 1.0, 69, 1.0), (2, 2.0, 72, 1.5), (2, 3.5, 74, 0.5),
              (3, 0.0, 76, 4.0)]
    for bar, beat, note, length in melody:
        score.add(brass(note, score.beat * length), bar, beat, gain=0.3)
    progression = [(60, MAJOR), (55, MAJOR), (53, MAJOR), (60, MAJOR), (60, MAJOR)]
    for bar, (root, quality) in enumerate(progression):
        score.add_chord(chord(root - 12, quality), lambda n: strings(n, score.bar), bar, gain=0.13)
        score.add(kit.timpani(root - 24), bar, 0.0, gain=0.5)
    for step in range(8):
        score.add(kit.timpani(36), 3, 2.0 + step * 0.25, gain=0.12 + 0.04 * step)
    return score.finish(rng, wet=0.3, peak=0.8)


def start_cue(rng):
    """The game starting: a rising swell and a bell figure."""
    score = Score(80, 3)
    for bar, (root, quality) in enumerate([(57, MINOR), (53, MAJOR), (60, (0, 5, 7))]):
        score.add_chord(chord(root, quality), lambda n: pad(n, score.bar, brightness=1.3), bar,
                        gain=0.22 + 0.05 * bar)
    for step, note in enumerate((69, 72, 76, 79, 81, 84, 88)):
        score.add(bell(note, 2.0), 0, 0.5 + step * 0.75, gain=0.25, pan=-0.6 + step * 0.2)
    return score.finish(rng, wet=0.45, peak=0.7)


A, F, C, G, D, E, BB = 57, 53, 60, 55, 50, 52, 58

# Song name (below data/audio/) -> maker.
TRACKS = {
    "low/calm_1": calm([(A, MINOR), (F, MAJOR), (C, MAJOR), (G, MAJOR)] * 2, 70, "bells"),
    "low/calm_2": calm([(D, MINOR), (F, MAJOR), (A, MINOR), (G, MAJOR)] * 2, 66, "arpeggio"),
    "medium/alert_1": alert([(A, MINOR), (A, MINOR), (F, MAJOR), (G, MAJOR)] * 2, 100, "pulse"),
    "medium/alert_2": alert([(A, MINOR), (E, MINOR), (F, MAJOR), (E, MAJOR)] * 2, 104, "arpeggio"),
    "high/battle_1": battle([(A, MINOR), (F, MAJOR), (G, MAJOR), (E, MAJOR)] * 4, 132, "kit"),
    "high/battle_2": battle([(A, MINOR), (BB, MAJOR), (A, MINOR), (E, MAJOR)] * 4, 140, "war drums"),
    "main": main_cue,
    "start": start_cue,
}
