#!/usr/bin/env bash
# A picture of the real Brisvane.exe's main window under Wine, in English,
# after its first state refresh, for the README: the Brisvane.exe the Wine
# tests drive (the shipping 32-bit one where the machine runs 32-bit
# programs, else the 64-bit build of the same code). Expects the Windows
# builds.
# Usage: scripts/make_wine_screenshot.sh [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots/wine-main-window-english.png}
./scripts/install-deps.sh screenshots
. scripts/wine-session.sh
env LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 /usr/lib/wine/wine64 "$brisvane_exe" >"$wine_work/brisvane.log" 2>&1 &
window=$(timeout 60 xdotool search --sync --onlyvisible --name "Corvantis Printer Driver Installer" | head -n 1)
sleep 3  # past the first state refresh
import -window "$window" "$out"
echo "picture in $out"
