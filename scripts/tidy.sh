#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy: bugprone, performance, the analyzer) over the core libraries
# and compares its findings with those known in scripts/tidy-known.txt: a finding that is
# not known fails, one that is gone is reported so that the list can shrink.
#   scripts/tidy.sh            check what changed since the known list was written
#   scripts/tidy.sh --all      check every file of the core
#   scripts/tidy.sh --update   check every file and write its findings as the known ones
# The known list's first line names the commit it was written at. Findings can only be new
# in files changed since then: the sources that changed are checked, or all of them when a
# header changed (or that commit is not in this clone).
set -uo pipefail
cd "$(dirname "$0")/.."
build=build/asan
[ -f "$build/compile_commands.json" ] || { echo "tidy: configure the asan preset first" >&2; exit 2; }
known=scripts/tidy-known.txt
folders=(model opt dxf editing interchange check)
mode=${1:-changed}
base=$(sed -n 's/^# checked at //p' "$known" 2>/dev/null | head -n 1)

all_sources() { for f in "${folders[@]}"; do ls "$f"/*.cpp; done; }
files=$(all_sources)
if [ "$mode" = changed ] && [ -n "$base" ] && git cat-file -e "$base^{commit}" 2>/dev/null; then
  changed=$( { git diff --name-only "$base" -- "${folders[@]}";
               git ls-files --others --exclude-standard -- "${folders[@]}"; } | sort -u)
  # A changed header or a changed set of checks can bring findings anywhere.
  if ! grep -q '\.h$' <<<"$changed" && [ -z "$(git diff --name-only "$base" -- .clang-tidy)" ]; then
    files=$(grep '\.cpp$' <<<"$changed" | while read -r f; do [ -f "$f" ] && echo "$f"; done)
  fi
fi

found=$(mktemp)
trap 'rm -f "$found"' EXIT
if [ -n "$files" ]; then
  xargs -P "${TAMSEL_TIDY_JOBS:-2}" -n 1 clang-tidy -p "$build" --quiet 2>/dev/null <<<"$files" |
    grep -E '^/.*: (warning|error): .*\[[a-z.-]+(,[a-z.-]+)*\]$' |
    sed -E "s|^$PWD/||; s|:[0-9]+:[0-9]+: (warning\|error): .*\[([^]]*)\]$| \2|" | sort >"$found"
fi
if [ "$mode" = --update ]; then
  { echo "# checked at $(git rev-parse HEAD)"; cat "$found"; } >"$known"
  echo "tidy: $(wc -l <"$found") known findings written to $known"
  exit 0
fi
# Only the files checked now are held against the known list.
expected=""
[ -n "$files" ] && expected=$(grep -v '^#' "$known" | grep -F -f <(sed 's/$/ /' <<<"$files") | sort)
new=$(comm -13 <(echo "$expected" | sed '/^$/d') "$found")
gone=$(comm -23 <(echo "$expected" | sed '/^$/d') "$found")
checked=$(echo "$files" | sed '/^$/d' | wc -l)
[ -n "$gone" ] && printf 'tidy: no longer found (scripts/tidy.sh --update drops them):\n%s\n' "$gone"
if [ -n "$new" ]; then
  printf 'tidy: new findings (run clang-tidy -p %s on the file for the details):\n%s\n' "$build" "$new"
  exit 1
fi
echo "tidy: no new findings in $checked files"
