#!/usr/bin/env bash
# The installed game: `cmake --install` into a fresh prefix gives the
# programs in bin/, every shipped data file in share/tessarin/, a valid
# desktop entry and AppStream metainfo, the manual pages (one naming every
# subcommand of tessarin-tool) and the icons; moved to another prefix, the
# installed game still finds its data and starts.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
build_dir=$2

source "$here/lib.sh"
e2e_setup "$1"
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh --tests installs it)"
done

prefix="$E2E_WORK/prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$E2E_WORK/install.log" 2>&1 ||
  fail "cmake --install failed: $(tail -n 5 "$E2E_WORK/install.log")"

# Only bin/ and share/ at the top; the programs and no data in bin/.
tops=$(cd "$prefix" && ls | tr '\n' ' ')
[ "$tops" = "bin share " ] || fail "the prefix holds '$tops', expected 'bin share '"
for program in tessarin tessarin-author tessarin-tool; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing or not executable"
done
bins=$(ls "$prefix/bin" | tr '\n' ' ')
[ "$bins" = "tessarin tessarin-author tessarin-tool " ] || fail "bin/ holds '$bins'"

# Every shipped data file, unchanged, and whatever the icon and manual
# picture folders hold.
share="$prefix/share"
same_files() {
  local from=$1 to=$2 f
  [ -d "$from" ] || return 0
  while IFS= read -r f; do
    cmp -s "$from/$f" "$to/$f" || fail "${to#"$prefix"/}/$f is missing or differs from the source"
  done < <(cd "$from" && find . -type f | sed 's|^\./||')
}
data_files=0
for f in "$source_dir"/data/*.dat "$source_dir"/data/*.map "$source_dir"/data/*.html; do
  cmp -s "$f" "$share/tessarin/$(basename "$f")" || fail "share/tessarin/$(basename "$f") is missing or differs"
  data_files=$((data_files + 1))
done
[ "$data_files" -ge 22 ] || fail "only $data_files data files in the source's data/"
same_files "$source_dir/data/manual" "$share/tessarin/manual"
same_files "$source_dir/data/icons/hicolor" "$share/icons/hicolor"
"$prefix/bin/tessarin-tool" check "$share/tessarin" >/dev/null || fail "tessarin-tool check rejects the installed data"

desktop="$share/applications/org.tessarin.Tessarin.desktop"
metainfo="$share/metainfo/org.tessarin.Tessarin.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"

# The manual pages, compressed; the tool's page has an entry (a line
# starting with the name in bold) for every subcommand its usage lists.
for page in man1/tessarin-tool.1.gz man6/tessarin.6.gz man6/tessarin-author.6.gz; do
  gzip -t "$share/man/$page" 2>/dev/null || fail "share/man/$page is missing or not gzip"
done
page=$(zcat "$share/man/man1/tessarin-tool.1.gz")
commands=$("$prefix/bin/tessarin-tool" 2>&1 | sed -n 's/^  tessarin-tool \([a-z]*\).*/\1/p' || true)
[ -n "$commands" ] || fail "tessarin-tool printed no usage"
for c in $commands; do
  grep -qF "\\fB$c\\fR " <<<"$page" || fail "the manual page of tessarin-tool has no entry for '$c'"
done

# Moved elsewhere, the installed game finds its data relative to itself and
# starts; without it the game would stop at a message box instead.
mv "$prefix" "$E2E_WORK/moved"
status=0
TESSARIN_EXIT_WHEN_SHOWN=1 timeout 60 "$E2E_WORK/moved/bin/tessarin" 2>"$E2E_WORK/game.err" || status=$?
[ "$status" -eq 0 ] || fail "the installed game ended with status $status: $(cat "$E2E_WORK/game.err")"
echo "ok"
