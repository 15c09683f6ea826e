#!/usr/bin/env bash
# Starts the simulated server on 127.0.0.1 and a window pointed at it, in a
# demo folder whose "data.dat" holds that endpoint. Closing the window
# stops both.
set -euo pipefail

build=${1:-build}
program=${2:-kestrova}
root=$(cd "$(dirname "$0")/.." && pwd)
demo="$root/demo/$program"
mkdir -p "$demo"

game_port=12203
query_port=12300
"$root/$build/tools/simserver/kestrova-simserver" --game-port "$game_port" --query-port "$query_port" \
  --players 12 --password secret </dev/null &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null || true' EXIT
sleep 0.3

# 127.0.0.1 as a number: 127 * 2^24 + 1.
printf '# This file should not be edited, it will be changed by program itself.\r\n#\r\n# IP address as a number 256^3*aaa+256^2*bbb+256^2*ccc+ddd\r\n2130706433\r\n# hostport\r\n%s\r\n# outbondport\r\n%s\r\n' \
  "$game_port" "$query_port" >"$demo/data.dat"

echo "kestrova-simserver runs on 127.0.0.1 (game port $game_port, query port $query_port, rcon password 'secret')."
echo "Press \"START spy\" in the window; close the window to stop both."
cd "$demo"
"$root/$build/app/$program"
