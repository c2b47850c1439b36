#!/usr/bin/env bash
# Checks the Debian package: builds it from the build folder (default
# build), runs lintian on it (errors fail the check), installs it with apt,
# starts the installed game as an ordinary user's PATH finds it under Xvfb
# until its window shows, and removes the package again, which must leave no
# file of it behind. Needs root, as apt does; the test command runs it only
# then.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

[ "$(id -u)" -eq 0 ] || { echo "check-package.sh installs a package and needs root" >&2; exit 1; }
if dpkg-query -W -f='${Status}' tessarin 2>/dev/null | grep -q ' installed$'; then
  echo "check-package.sh: the package tessarin is installed on this machine; remove it first" >&2
  exit 1
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
rm -f "$build"/tessarin_*.deb
cmake --build "$build" -j "$(nproc)" --target package >"$build/check-package.log" 2>&1 ||
  { tail -n 20 "$build/check-package.log" >&2; echo "FAIL: the package does not build" >&2; exit 1; }
debs=("$build"/tessarin_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single .deb in $build: ${debs[*]}" >&2; exit 1; }
deb=$(realpath "${debs[0]}")
echo "package: $deb"

echo "lintian:"
lintian --fail-on error "$deb" || { echo "FAIL: lintian reports errors" >&2; exit 1; }

source tests/e2e/lib.sh
E2E_WORK=$(mktemp -d)
installed=no
finish() {
  if [ "$installed" = yes ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tessarin >/dev/null || echo "could not remove tessarin" >&2
  fi
  e2e_cleanup
}
trap finish EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$E2E_WORK/apt.log" 2>&1 ||
  fail "apt-get install failed: $(tail -n 5 "$E2E_WORK/apt.log")"
installed=yes
files=$(dpkg -L tessarin)

# An ordinary user's PATH (as login sets it) finds the game by its name.
user_path=$(sed -n 's/^ENV_PATH[[:space:]]*PATH=//p' /etc/login.defs)
user_path=${user_path:-/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games}
game=$(PATH=$user_path command -v tessarin) || fail "tessarin is not on the PATH $user_path"
echo "game: $game"

export XDG_RUNTIME_DIR="$E2E_WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
e2e_xserver
status=0
PATH=$user_path TESSARIN_EXIT_WHEN_SHOWN=1 timeout 60 tessarin 2>"$E2E_WORK/game.err" || status=$?
[ "$status" -eq 0 ] || fail "the installed game ended with status $status: $(cat "$E2E_WORK/game.err")"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tessarin >"$E2E_WORK/apt.log" 2>&1 ||
  fail "apt-get remove failed: $(tail -n 5 "$E2E_WORK/apt.log")"
installed=no
# Nothing stays behind, not even a file the game wrote into its data folder.
left=()
while IFS= read -r f; do
  if [ -f "$f" ] || [ -L "$f" ]; then left+=("$f"); fi
done <<<"$files"
if [ -e /usr/share/tessarin ]; then left+=(/usr/share/tessarin); fi
[ ${#left[@]} -eq 0 ] || fail "the removed package left behind: ${left[*]}"
echo "ok"
