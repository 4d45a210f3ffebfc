#!/usr/bin/python3
"""Makes the game's own sounds and music into the data folder:

    make_sounds.py DATA_AUDIO_FOLDER

Interface sounds go to gui/, the ship's effects to sfx/ (16-bit mono WAV)
and the standard music set to music/standard/ (Ogg Vorbis, through
oggenc). Every file is synthesised here from fixed seeds, so two runs make
the same files. A stamp file records what made them: when it matches, the
run ends at once without touching anything.
"""

import os
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # nothing is left behind in the source tree
sys.path.insert(0, os.path.dirname(HERE))

import asset_stamp

SOURCES = ("make_sounds.py", "synth.py", "effects.py", "music.py")
STAMP = ".sounds-stamp"
MUSIC_SET = "music/standard"


def seed_of(name):
    """A fixed seed per file, from its name."""
    return zlib.crc32(name.encode())


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_sounds.py DATA_AUDIO_FOLDER")
    folder = sys.argv[1]
    stamp = os.path.join(folder, STAMP)
    digest = asset_stamp.fingerprint([os.path.join(HERE, name) for name in SOURCES])
    if asset_stamp.is_current(stamp, digest):
        return

    sys.path.insert(0, HERE)
    import numpy as np
    import effects
    import music
    from synth import write_ogg, write_wav

    made = []
    for name in sorted(effects.EFFECTS):
        path = os.path.join(folder, name + ".wav")
        write_wav(path, effects.render(name, np.random.default_rng(seed_of(name))))
        made.append(path)
    for name in sorted(music.TRACKS):
        path = os.path.join(folder, MUSIC_SET, name + ".ogg")
        signal = music.TRACKS[name](np.random.default_rng(seed_of(name)))
        write_ogg(path, signal, serial=seed_of(name) & 0x7FFFFFFF)
        made.append(path)
    asset_stamp.record(stamp, digest, made)
    print(f"made {len(made)} sounds and tracks in {folder}")


if __name__ == "__main__":
    main()
