#!/usr/bin/env bash
# Installs the Debian packages named in the given lists (default: the Linux
# build's) that this machine lacks. A name with an architecture of another
# machine (wine32:i386) first adds that architecture to dpkg's. Safe to run
# again; waits for another apt run to finish instead of failing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$@")
[ ${#lists[@]} -gt 0 ] || lists=(linux)
missing=()
architectures=()
for list in "${lists[@]}"; do
  while read -r package; do
    package=${package%%#*}
    package=$(echo "$package" | tr -d '[:space:]')
    [ -n "$package" ] || continue
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' && continue
    missing+=("$package")
    case $package in *:*) architectures+=("${package#*:}") ;; esac
  done < "$here/packages-$list.txt"
done
[ ${#missing[@]} -gt 0 ] || exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
for architecture in "${architectures[@]}"; do
  [ "$architecture" = "$(dpkg --print-architecture)" ] && continue
  dpkg --print-foreign-architectures | grep -qx "$architecture" && continue
  echo "Adding the $architecture architecture" >&2
  $sudo dpkg --add-architecture "$architecture"
done
echo "Installing: ${missing[*]}" >&2
apt=(apt-get -o DPkg::Lock::Timeout=600)
$sudo "${apt[@]}" update -qq
$sudo env DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y -qq --no-install-recommends \
  "${missing[@]}" >&2
