#!/usr/bin/env bash
# Links the DejaVu fonts of Debian's fonts-dejavu-core into the data folder,
# where the game looks for its fonts. No font file is kept in the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
system_fonts=/usr/share/fonts/truetype/dejavu

# link TARGET LINK: a symbolic link, made once.
link() {
  [ -e "$1" ] || return 0
  mkdir -p "$(dirname "$2")"
  [ -e "$2" ] || ln -sf "$1" "$2"
}

for font in "$system_fonts"/*.ttf; do
  link "$font" "data/graphics/fonts/$(basename "$font")"
done
# The interface's and the engine's default font, under the names they load.
link "$system_fonts/DejaVuSans.ttf" data/graphics/fonts/defaultsans.ttf
link "$system_fonts/DejaVuSans.ttf" data/QelDefault/DefaultSans.ttf
