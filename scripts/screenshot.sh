#!/usr/bin/env bash
# Starts Kavi under a virtual X server and takes screenshots: the splash after one second and the
# main window after the splash has gone. Usage: scripts/screenshot.sh [KAVI-EXECUTABLE] [OUT-DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/kavi}
out=${2:-docs}
mkdir -p "$out"
export XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1024x640x24" bash -c '
  "$0" & pid=$!
  sleep 1.5; /usr/bin/import -window root "$1/splash.png"
  sleep 4.5; /usr/bin/import -window root "$1/main-window.png"
  kill $pid; wait $pid 2>/dev/null || true
' "$exe" "$out"
echo "Screenshots in $out"
