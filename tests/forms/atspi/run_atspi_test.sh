#!/usr/bin/env bash
# Runs an accessibility test on an X display of its own (Xvfb) inside a D-Bus session of its own,
# where the accessibility bus is started on demand: run_atspi_test.sh COMMAND...
set -euo pipefail
fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$fd_file"' EXIT
for _ in $(seq 100); do
  [ -s "$fd_file" ] && break
  sleep 0.1
done
[ -s "$fd_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
unset QT_QPA_PLATFORM
dbus-run-session -- "$@"
