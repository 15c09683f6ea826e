#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/window.png, the picture of the window for the documentation:
# kestrova watching a simulated server with 16 players, its console open
# with the answer to "rcon secret status". Runs on the display that
# scripts/with-display.sh gives (a private Xvfb when there is none) and
# stops everything it started.
#
# Usage: scripts/screenshot.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[[ $build = /* ]] || build="$root/$build"
# shellcheck source=scripts/demo-common.sh
source "$root/scripts/demo-common.sh"

if [ -z "${KESTROVA_SCREENSHOT_DISPLAY:-}" ]; then
  KESTROVA_SCREENSHOT_DISPLAY=1 exec "$root/scripts/with-display.sh" "$0" "$build"
fi

server="$build/tools/simserver/kestrova-simserver"
program="$build/app/kestrova"
output="$root/docs/window.png"
# Not the default ports, so a demo or a real server there is not disturbed.
game_port=12263
query_port=12363

fail() {
  echo "screenshot: $*" >&2
  exit 1
}

for file in "$server" "$program"; do
  [ -x "$file" ] || fail "$file is missing; build it first (make build)"
done
for tool in xdotool import; do
  command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps.sh installs it"
done

work=$(mktemp -d)
pids=()
trap stop_started_and_remove_work EXIT

# Frozen scores and a fixed seed: the same names and numbers every time.
"$server" --game-port "$game_port" --query-port "$query_port" --players 16 --seed 7 --static \
  --password secret </dev/null >"$work/server.out" 2>&1 &
pids+=($!)
wait_for_simserver "${pids[0]}" "$work/server.out" || fail "no simulated server"

write_loopback_settings "$work" "$game_port" "$query_port"

(cd "$work" && QT_QPA_PLATFORM=xcb exec "$program") >"$work/kestrova.log" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "${pids[1]}" --name '^Kestrova by ZLX$' | head -n 1) ||
  fail "the window did not appear: $(cat "$work/kestrova.log")"
sleep 0.5

# Client positions from the window's layout: "START spy" at 304,0 (91x25),
# "ShowConsole" at 304,32 (97x17), the command line at 400,316 (385x21).
xdotool mousemove --window "$window" 349 12 click 1
sleep 1.5
xdotool mousemove --window "$window" 352 40 click 1
sleep 0.5
xdotool mousemove --window "$window" 592 326 click 1
xdotool type --delay 30 "rcon secret status"
xdotool key Return
sleep 1.5

mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
echo "screenshot: wrote $output"
