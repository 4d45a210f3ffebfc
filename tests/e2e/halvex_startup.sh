#!/usr/bin/env bash
# Whole-program checks of halvex's start-up, run offscreen:
#   halvex_startup.sh HALVEX DATA_DIR BAD_DATA_DIR
# 1. With the game's data it starts, runs frames and ends cleanly on SIGTERM.
# 2. With a malformed preferences file it stops at start-up, non-zero, and the
#    message names the file and the line.
# 3. With no display to show on (and no video driver named) it says so and
#    stops, non-zero, instead of running where nobody sees it.
# The game runs on a data folder of the test's own that links the given one's
# entries, so what it writes there (the widget list, hot keys) stays out of it.
set -u
halvex=$1
data=$2
bad_data=$3
export QEL_NONINTERACTIVE=1 SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
log=$(mktemp)
own_data=$(mktemp -d)
trap 'rm -f "$log"; rm -rf "$own_data"' EXIT

# Files the game writes into its data folder, left for it to make anew.
written="GUIWidgetList.txt GUIBoxData.txt hot_key_settings.txt Engineering-Presets.txt script_documentation.txt
client_string_set.txt SimulationDebugText.txt fetchedShipData.json"
for entry in "$data"/*; do
  name=$(basename "$entry")
  case " $(echo $written) " in
    *" $name "*) ;;
    *) ln -s "$(cd "$data" && pwd)/$name" "$own_data/$name" ;;
  esac
done

QEL_DATA_DIR=$own_data "$halvex" 2>"$log" &
pid=$!
sleep 2
if ! kill -0 "$pid" 2>/dev/null; then
  echo "halvex ended on its own:"; cat "$log"; exit 1
fi
kill -TERM "$pid"
wait "$pid"
status=$?
if [ "$status" -ne 0 ]; then
  echo "halvex ended with status $status after SIGTERM:"; cat "$log"; exit 1
fi
if [ ! -f "$own_data/GUIWidgetList.txt" ]; then
  echo "the start screen wrote no list of console widgets"; exit 1
fi

QEL_DATA_DIR=$bad_data timeout 20 "$halvex" 2>"$log"
status=$?
if [ "$status" -eq 0 ] || [ "$status" -eq 124 ]; then
  echo "halvex did not stop on malformed preferences (status $status)"; exit 1
fi
if ! grep -q "preferences.yaml" "$log" || ! grep -q "line [0-9]" "$log"; then
  echo "the error does not name the file and the line:"; cat "$log"; exit 1
fi
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER QEL_DATA_DIR=$own_data timeout 20 "$halvex" 2>"$log"
status=$?
if [ "$status" -eq 0 ] || [ "$status" -eq 124 ]; then
  echo "halvex did not stop without a display (status $status)"; exit 1
fi
if ! grep -q "no display" "$log"; then
  echo "halvex did not say there is no display:"; cat "$log"; exit 1
fi
echo "halvex start-up checks passed"
