#!/usr/bin/env bash
# Checks the C++ sources: their layout against .clang-format (reports,
# changes nothing) and clang-tidy's checks of .clang-tidy over the Linux
# build's compile commands. Exits non-zero on any finding. With --format
# only the layout is checked (seconds; clang-tidy takes over ten minutes
# on two cores).
# Usage: scripts/lint.sh [--format]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh linux lint

echo "== clang-format" >&2
status=0
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror || status=1
[ "${1:-}" != --format ] || exit "$status"

echo "== clang-tidy" >&2
cmake --preset linux >/dev/null
# run-clang-tidy prints each command and a count of the warnings it hid
# in system headers: only the findings are kept.
run-clang-tidy -quiet -j 2 -p build/linux "^$PWD/(installer|platform|pnphelper|tests|tools)/" 2>&1 |
  { grep -Ev '^(clang-tidy(-[0-9]+)? |[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$)' || true; } ||
  status=1
exit "$status"
