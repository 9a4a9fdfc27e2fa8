#!/usr/bin/env bash
# Runs the tests of the real Windows programs under Wine on a headless X
# server, in a throwaway Wine prefix, and cleans up every process it
# started. The test programs and Brisvane64.exe are 64-bit; the smoke tests
# drive the Brisvane.exe that wine-session.sh chose (the shipping 32-bit one
# where the machine runs 32-bit programs). Expects the windows-x86_64 build,
# and the windows-i686 one for the 32-bit Brisvane.exe, to be built.
# Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-session.sh
if [ ! -f "$brisvane_exe" ]; then
  echo "wine-tests: $brisvane_exe is missing: build it first (see the README)" >&2
  exit 1
fi
cmake --preset windows-x86_64 -DBRISVANE_SMOKE_EXE="$PWD/$brisvane_exe" >/dev/null
ctest --preset windows-x86_64 "$@"
