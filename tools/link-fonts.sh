#!/usr/bin/env bash
# Links the DejaVu fonts of Debian's fonts-dejavu-core into data/graphics/fonts,
# where the game looks for its fonts. No font file is kept in the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
system_fonts=/usr/share/fonts/truetype/dejavu
target=data/graphics/fonts
mkdir -p "$target"
for font in "$system_fonts"/*.ttf; do
  [ -e "$font" ] || continue
  link="$target/$(basename "$font")"
  [ -e "$link" ] || ln -sf "$font" "$link"
done
