#!/usr/bin/env bash
# Builds everything and runs every test: the unit and window tests headless,
# the end-to-end checks of the real program and its install under Xvfb,
# the Qt-free core built and tested without Qt, the Debian package (only as
# root, since it is installed and removed), then the tests again in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer, the end-to-end smoke
# test under Valgrind, and every fuzz target for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$(mktemp -d)
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== the core without Qt: tessarin-tool and the rule tests"
cmake -S . -B build-core -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARIN_GUI=OFF -DTESSARIN_BENCH=OFF >/dev/null
if grep -q '^Qt6' build-core/CMakeCache.txt; then echo "the core build looked for Qt" >&2; exit 1; fi
cmake --build build-core -j "$jobs"
if ldd build-core/game/tessarin-tool | grep -qi qt; then echo "tessarin-tool of the core build links Qt" >&2; exit 1; fi
ctest --test-dir build-core --output-on-failure -j "$jobs"

echo "== Debian package: lintian, apt install, start, remove"
if [ "$(id -u)" -eq 0 ]; then
  scripts/check-package.sh build
else
  echo "skipped: installing the package needs root (CI runs it as root)"
fi

echo "== build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSARIN_SANITIZE=ON -DTESSARIN_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -E '^e2e\.'

echo "== valgrind: the end-to-end smoke test under memcheck"
# Every memory error and every block lost for good fails the run. No session
# bus is to be started: libdbus would leave a read buffer of its own behind,
# and its forked helper a copy of the whole heap.
E2E_GAME_PREFIX="valgrind --quiet --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
--errors-for-leak-kinds=definite --child-silent-after-fork=yes --suppressions=tests/sanitizer/valgrind.supp" \
DBUS_SESSION_BUS_ADDRESS=disabled: \
  bash tests/e2e/window.sh build/game build

echo "== fuzz"
# Every fuzz target of tests/fuzz for a bounded time from its seed corpus.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARIN_FUZZ=ON \
  -DTESSARIN_TESTS=OFF -DTESSARIN_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target fuzz_targets
scripts/run-fuzz.sh build-fuzz 30

echo "== all tests passed"
