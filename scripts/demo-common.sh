# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Shell functions the demo, screenshot and measuring scripts share: the
# simulated server on 127.0.0.1 and a settings file pointing at it.
# Source it; it defines functions only.

# The scripts' EXIT trap: stops the processes in the caller's `pids` array,
# waits for them and removes the caller's `$work` folder.
# shellcheck disable=SC2154  # pids and work are the caller's
stop_started_and_remove_work() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}

# Writes FOLDER/data.dat for 127.0.0.1 (127 * 2^24 + 1) and the two ports.
write_loopback_settings() {
  local folder=$1 game_port=$2 query_port=$3
  printf '# This file should not be edited, it will be changed by program itself.\r\n#\r\n# IP address as a number 256^3*aaa+256^2*bbb+256^2*ccc+ddd\r\n2130706433\r\n# hostport\r\n%s\r\n# outbondport\r\n%s\r\n' \
    "$game_port" "$query_port" >"$folder/data.dat"
}

# Waits until the server process PID has announced its ports in OUTPUT
# (its standard output); fails when it ends first or takes over 10 s.
wait_for_simserver() {
  local pid=$1 output=$2
  for _ in $(seq 1 100); do
    grep -q '^kestrova-simserver game' "$output" && return 0
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "the simulated server did not start: $(cat "$output")" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "the simulated server did not announce its ports" >&2
  return 1
}
