#!/usr/bin/env bash
# Installs the Debian packages the game, its tests and its checks need, if
# any is missing. Runs apt-get as root, else through sudo. Safe to run again.
set -euo pipefail

packages=(cmake g++ ninja-build pkg-config libgtest-dev libbenchmark-dev qt6-base-dev
          fonts-ipafont-gothic xvfb xauth xdotool imagemagick)
[ "${1:-}" = "--tests" ] && packages+=(clang libclang-rt-14-dev valgrind
                                       desktop-file-utils appstream lintian dpkg-dev file)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
