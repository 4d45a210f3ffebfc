#!/usr/bin/python3
"""Makes the game's own sounds and music into the data folder:

    make_sounds.py DATA_AUDIO_FOLDER

Interface sounds go to gui/, the ship's effects to sfx/ (16-bit mono WAV)
and the standard music set to music/standard/ (Ogg Vorbis, through
oggenc). Every file is synthesised here from fixed seeds, so two runs make
the same files. A stamp file records what made them: when it matches, the
run ends at once without touching anything.
"""

import hashlib
import os
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCES = ("make_sounds.py", "synth.py", "effects.py", "music.py")
STAMP = ".sounds-stamp"
MUSIC_SET = "music/standard"


def fingerprint():
    digest = hashlib.sha256()
    for name in SOURCES:
        with open(os.path.join(HERE, name), "rb") as source:
            digest.update(source.read())
    return digest.hexdigest()


def seed_of(name):
    """A fixed seed per file, from its name."""
    return zlib.crc32(name.encode())


def up_to_date(folder, stamp):
    try:
        with open(os.path.join(folder, STAMP)) as recorded:
            lines = recorded.read().split("\n")
    except OSError:
        return False
    return lines[0] == stamp and all(os.path.exists(os.path.join(folder, path)) for path in lines[1:] if path)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_sounds.py DATA_AUDIO_FOLDER")
    folder = sys.argv[1]
    stamp = fingerprint()
    if up_to_date(folder, stamp):
        return

    sys.path.insert(0, HERE)
    sys.dont_write_bytecode = True  # nothing is left behind in the source tree
    import numpy as np
    import effects
    import music
    from synth import write_ogg, write_wav

    made = []
    for name in sorted(effects.EFFECTS):
        path = name + ".wav"
        write_wav(os.path.join(folder, path), effects.render(name, np.random.default_rng(seed_of(name))))
        made.append(path)
    for name in sorted(music.TRACKS):
        path = f"{MUSIC_SET}/{name}.ogg"
        signal = music.TRACKS[name](np.random.default_rng(seed_of(name)))
        write_ogg(os.path.join(folder, path), signal, serial=seed_of(name) & 0x7FFFFFFF)
        made.append(path)
    with open(os.path.join(folder, STAMP), "w") as recorded:
        recorded.write("\n".join([stamp] + made) + "\n")
    print(f"made {len(made)} sounds and tracks in {folder}")


if __name__ == "__main__":
    main()
