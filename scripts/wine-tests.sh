#!/usr/bin/env bash
# Runs the tests of the real Windows programs under 64-bit Wine on a
# headless X server, in a throwaway Wine prefix, and cleans up every process
# it started. Expects the windows-x86_64 build to be configured and built.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-session.sh
ctest --preset windows-x86_64 "$@"
