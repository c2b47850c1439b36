#!/usr/bin/env bash
# Runs the fuzz targets of a build configured with -DTESSARIN_FUZZ=ON:
#
#   scripts/run-fuzz.sh BUILD_DIR SECONDS [NAME...]
#
# NAME is a target without its "fuzz_" (default: every fuzz_* the build has).
# Each target starts from a copy of its seed corpus tests/fuzz/NAME/ (the
# seeds are never written to), with tests/fuzz/NAME.dict when there is one;
# as many run at once as there are processors. Prints the executions of
# each; a crash, a hang or a failed invariant fails the script, and the
# input that did it is printed (path and bytes) after the end of its log.
set -euo pipefail
cd "$(dirname "$0")/.."

build=$1
seconds=$2
shift 2
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for target in "$build"/tests/fuzz/fuzz_*; do
    [ -x "$target" ] && names+=("${target##*/fuzz_}")
  done
  [ ${#names[@]} -gt 0 ] || { echo "no fuzz targets in $build" >&2; exit 1; }
fi

# Scratch space in memory where there is some: the game targets rewrite
# their files for every input.
base=/tmp
[ -w /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/tessarin-fuzz-run.XXXXXX")
trap 'rm -rf "$work"' EXIT

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=abort_on_error=1
export LSAN_OPTIONS=print_suppressions=0
[ -f tests/sanitizer/lsan.supp ] && LSAN_OPTIONS+=:suppressions=$PWD/tests/sanitizer/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_one() {
  local name=$1 dir=$work/$1
  mkdir -p "$dir/corpus" "$dir/artifacts" "$dir/tmp"
  cp tests/fuzz/"$name"/* "$dir/corpus/"
  local dict=()
  [ -f tests/fuzz/"$name".dict ] && dict=(-dict=tests/fuzz/"$name".dict)
  local status=0
  TMPDIR=$dir/tmp "$build/tests/fuzz/fuzz_$name" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=0 -artifact_prefix="$dir/artifacts/" "$dir/corpus" \
    >"$dir/log" 2>&1 || status=$?
  echo "$status" >"$dir/status"
}

running=0
for name in "${names[@]}"; do
  [ -x "$build/tests/fuzz/fuzz_$name" ] || { echo "no fuzz target fuzz_$name in $build" >&2; exit 1; }
  run_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$(nproc)" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

failed=0
for name in "${names[@]}"; do
  dir=$work/$name
  done_line=$(grep -a '^Done [0-9]* runs' "$dir/log" | tail -1 || true)
  artifacts=("$dir"/artifacts/*)
  if [ "$(cat "$dir/status")" = 0 ] && [ ! -e "${artifacts[0]}" ]; then
    echo "fuzz_$name: ${done_line:-no run count}"
    continue
  fi
  failed=1
  echo "fuzz_$name: FAILED (status $(cat "$dir/status"))"
  tail -n 60 "$dir/log"
  for a in "${artifacts[@]}"; do
    [ -e "$a" ] || continue
    echo "reproducer: $a ($(stat -c %s "$a") bytes; run it with $build/tests/fuzz/fuzz_$name FILE)"
    xxd "$a" | head -50
  done
done
# The reproducers stay for a failed run.
[ "$failed" = 0 ] || { trap - EXIT; echo "fuzz scratch kept in $work" >&2; exit 1; }
