#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the simulated server on 127.0.0.1 and a window pointed at it, in a
# demo folder whose "data.dat" holds that endpoint. Closing the window
# stops both.
set -euo pipefail

build=${1:-build}
program=${2:-kestrova}
root=$(cd "$(dirname "$0")/.." && pwd)
demo="$root/demo/$program"
mkdir -p "$demo"
# shellcheck source=scripts/demo-common.sh
source "$root/scripts/demo-common.sh"

game_port=12203
query_port=12300
"$root/$build/tools/simserver/kestrova-simserver" --game-port "$game_port" --query-port "$query_port" \
  --players 12 --password secret </dev/null >"$demo/server.out" 2>&1 &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null || true' EXIT
wait_for_simserver "$server_pid" "$demo/server.out"
write_loopback_settings "$demo" "$game_port" "$query_port"

echo "kestrova-simserver runs on 127.0.0.1 (game port $game_port, query port $query_port, rcon password 'secret')."
echo "Press \"START spy\" in the window; close the window to stop both."
cd "$demo"
"$root/$build/app/$program"
