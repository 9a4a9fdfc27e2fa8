#!/usr/bin/env bash
# Builds the shipping Brisvane.exe: the 32-bit program, with the 64-bit
# Brisvane64.exe and the driver package's DLLs of both architectures inside
# it. Puts it in dist/ with its SHA-256 sum and prints where it is.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh windows
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686 --target Brisvane
rm -rf dist
mkdir dist
cp build/windows-i686/installer/Brisvane.exe dist/
(cd dist && sha256sum Brisvane.exe >Brisvane.exe.sha256)
echo "$PWD/dist/Brisvane.exe"
cat dist/Brisvane.exe.sha256
