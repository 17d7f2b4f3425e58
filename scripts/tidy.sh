#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy: bugprone, performance, the analyzer) over the core libraries
# and compares its findings with those known in scripts/tidy-known.txt: a finding that is
# not known fails, one that is gone is reported so that the list can shrink.
#   scripts/tidy.sh            check
#   scripts/tidy.sh --update   write the findings of now as the known ones
set -uo pipefail
cd "$(dirname "$0")/.."
build=build/asan
[ -f "$build/compile_commands.json" ] || { echo "tidy: configure the asan preset first" >&2; exit 2; }
known=scripts/tidy-known.txt
found=$(mktemp)
trap 'rm -f "$found"' EXIT
ls model/*.cpp opt/*.cpp dxf/*.cpp editing/*.cpp interchange/*.cpp check/*.cpp |
  xargs -P "${TAMSEL_TIDY_JOBS:-2}" -n 1 clang-tidy -p "$build" --quiet 2>/dev/null |
  grep -E '^/.*: (warning|error): .*\[[a-z.-]+(,[a-z.-]+)*\]$' |
  sed -E "s|^$PWD/||; s|:[0-9]+:[0-9]+: (warning\|error): .*\[([^]]*)\]$| \2|" | sort >"$found"
if [ "${1:-}" = "--update" ]; then
  cp "$found" "$known"
  echo "tidy: $(wc -l <"$known") known findings written to $known"
  exit 0
fi
new=$(comm -13 "$known" "$found")
gone=$(comm -23 "$known" "$found")
[ -n "$gone" ] && printf 'tidy: no longer found (scripts/tidy.sh --update drops them):\n%s\n' "$gone"
if [ -n "$new" ]; then
  printf 'tidy: new findings (run clang-tidy -p %s on the file for the details):\n%s\n' "$build" "$new"
  exit 1
fi
echo "tidy: no new findings ($(wc -l <"$found") known)"
