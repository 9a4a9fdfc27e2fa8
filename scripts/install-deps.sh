#!/usr/bin/env bash
# Installs the Debian packages named in the given lists (default: the Linux
# build's) that this machine lacks. Safe to run again.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$@")
[ ${#lists[@]} -gt 0 ] || lists=(linux)
missing=()
for list in "${lists[@]}"; do
  while read -r package; do
    package=${package%%#*}
    package=$(echo "$package" | tr -d '[:space:]')
    [ -n "$package" ] || continue
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done < "$here/packages-$list.txt"
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi
