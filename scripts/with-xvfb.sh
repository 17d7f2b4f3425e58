#!/usr/bin/env bash
# Runs a command under an X server of its own (Xvfb), on a display the server chose itself,
# so that any number of these can run side by side.
set -u
ready=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$ready" 2>/dev/null &
server=$!
for _ in $(seq 200); do
  [ -s "$ready" ] && break
  kill -0 "$server" 2>/dev/null || { echo "with-xvfb: Xvfb did not start" >&2; exit 2; }
  sleep 0.05
done
display=$(head -n 1 "$ready")
rm -f "$ready"
[ -n "$display" ] || { echo "with-xvfb: Xvfb named no display" >&2; kill "$server"; exit 2; }
DISPLAY=":$display" "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
