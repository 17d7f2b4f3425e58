# The shell tests' harness, sourced: a scratch folder removed on exit, `check DESCRIPTION
# COMMAND...` counting what passes, and `summary NAME` ending the script with the verdict.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0
check() {  # check DESCRIPTION COMMAND...
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
summary() {  # summary NAME
  echo "$1: $passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}
