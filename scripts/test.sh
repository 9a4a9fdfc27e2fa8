#!/usr/bin/env bash
# Builds everything and runs every test: the layout of the sources, the
# simulated machine's tests under AddressSanitizer + UndefinedBehaviorSanitizer
# and under ThreadSanitizer, then the Windows programs built with MinGW-w64
# and their smoke tests under Wine (the shipping 32-bit Brisvane.exe where
# the machine runs 32-bit programs). clang-tidy runs apart, in
# scripts/lint.sh: it takes longer than all of this.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh linux windows wine lint

./scripts/lint.sh --format

jobs=$(nproc)
for preset in linux-asan linux-tsan; do
  echo "== $preset" >&2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

for preset in windows-i686 windows-x86_64; do
  echo "== $preset" >&2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "== Wine" >&2
./scripts/wine-tests.sh
