#!/usr/bin/env bash
# Builds brisvane-sim and runs Brisvane on the default simulated machine
# (Windows 10 64-bit, English), printing what the user sees. Arguments go to
# brisvane-sim, e.g. --machine tests/machines/windows10-chinese.json.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux --target brisvane-sim >/dev/null
exec ./build/linux/tools/brisvane-sim "$@"
