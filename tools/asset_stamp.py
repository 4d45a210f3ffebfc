#!/usr/bin/python3
"""Lets an asset generator skip work that is already done.

The generators draw into the data folder, which every build folder shares:
a stamp file beside the assets records a fingerprint of what made them (the
generator's sources and its input files) and the files it made. While the
fingerprint matches and those files exist, the generator need not run, so a
second build folder (or a rebuild after a clean) finds the assets made.

As a command, it runs a generator only when its stamp is out of date:

    asset_stamp.py STAMP --inputs FILE... --outputs FILE... -- COMMAND...

A generator whose files are known only as it runs uses the functions below.
"""

import hashlib
import os
import subprocess
import sys


def fingerprint(inputs):
    """A digest of the inputs' names and contents."""
    digest = hashlib.sha256()
    for path in inputs:
        digest.update(os.path.basename(path).encode() + b"\0")
        with open(path, "rb") as source:
            digest.update(source.read())
    return digest.hexdigest()


def is_current(stamp, digest):
    """Whether the stamp records this digest and every file it lists exists."""
    try:
        with open(stamp) as recorded:
            lines = recorded.read().splitlines()
    except OSError:
        return False
    folder = os.path.dirname(stamp)
    return bool(lines) and lines[0] == digest and all(os.path.exists(os.path.join(folder, line)) for line in lines[1:])


def record(stamp, digest, outputs):
    """Writes the stamp for outputs made from the digest's inputs; the files
    are listed relative to the stamp's folder."""
    folder = os.path.dirname(stamp)
    os.makedirs(folder, exist_ok=True)
    listed = [os.path.relpath(path, folder) for path in outputs]
    with open(stamp, "w") as written:
        written.write("\n".join([digest] + listed) + "\n")


def main(argv):
    try:
        split = argv.index("--")
    except ValueError:
        sys.exit("usage: asset_stamp.py STAMP --inputs FILE... --outputs FILE... -- COMMAND...")
    options, command = argv[:split], argv[split + 1:]
    if len(options) < 1 or not command:
        sys.exit("usage: asset_stamp.py STAMP --inputs FILE... --outputs FILE... -- COMMAND...")
    stamp, lists, current = options[0], {"--inputs": [], "--outputs": []}, None
    for word in options[1:]:
        if word in lists:
            current = lists[word]
        elif current is None:
            sys.exit(f"asset_stamp.py: {word} follows no --inputs or --outputs")
        else:
            current.append(word)

    digest = fingerprint(lists["--inputs"])
    if is_current(stamp, digest):
        return
    made = subprocess.run(command)
    if made.returncode != 0:
        sys.exit(made.returncode)
    # The stamp lists only what the generator really made.
    missing = [path for path in lists["--outputs"] if not os.path.exists(path)]
    if missing:
        sys.exit(f"asset_stamp.py: the generator did not make {', '.join(missing)}")
    record(stamp, digest, lists["--outputs"])


if __name__ == "__main__":
    main(sys.argv[1:])
