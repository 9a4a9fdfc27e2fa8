#!/usr/bin/env bash
# Runs the tests of the real Windows programs under 64-bit Wine on a
# headless X server, in a throwaway Wine prefix, and cleans up every process
# it started. Expects the windows-x86_64 build to be configured and built.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh wine

work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
/usr/lib/wine/wine64 wineboot -i >"$work/wineboot.log" 2>&1 || true
/usr/lib/wine/wineserver -w
ctest --preset windows-x86_64 "$@"
