#!/bin/sh
# Pictures of the main window in its three languages, taken on the
# simulated machine after the first state refresh, for the README.
# Usage: scripts/make_screenshots.sh [BUILD_DIR]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sim=${1:-$root/build/linux}/tools/brisvane-sim
out=$root/docs/screenshots
mkdir -p "$out"
"$sim" -e "wait 1500" -e "screenshot $out/main-window-english.png" > /dev/null
"$sim" --machine "$root/tests/machines/windows10-chinese.json" \
  -e "wait 1500" -e "screenshot $out/main-window-chinese.png" > /dev/null
"$sim" --machine "$root/tests/machines/windows10-korean.json" \
  -e "wait 1500" -e "screenshot $out/main-window-korean.png" > /dev/null
echo "pictures in $out"
