#!/usr/bin/env bash
# Installs what is missing, builds the release program and starts its window.
# With no display, runs it on a private Xvfb, saves a screenshot, prints its
# path and closes the program.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh run
# The program alone: the tests' and benchmarks' packages are test.sh's.
cmake --preset release -DBUILD_TESTING=OFF -DTARVINO_BENCHMARKS=OFF >/dev/null
cmake --build --preset release --target tarvino
program=$root/build/release/app/tarvino

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program"
fi

. tests/e2e/xvfb.sh
start_xvfb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
"$program" &
pid=$!
id=$(wait_for_window " Tarvino 1.1") || { echo "the window did not appear" >&2; kill "$pid"; exit 1; }
sleep 1
shot=$root/build/tarvino-window.png
import -window "$id" "$shot"
echo "no display: the window ran on Xvfb $DISPLAY; screenshot saved to $shot"
xdotool windowfocus --sync "$id" 2>/dev/null; xdotool key shift
wait "$pid"
