#!/usr/bin/env bash
# Measures the window programs on the display that scripts/with-display.sh
# gives (a private Xvfb when there is none):
#   1. start-up: wall time from starting the process to its window being
#      mapped (xdotool sees it visible), RUNS times, with the median;
#   2. monitoring: the program pointed at a simulated server with 32
#      players, START clicked, then after MONITOR_SECONDS its resident
#      memory (VmRSS, and the peak VmHWM) and the user+system CPU time spent
#      since START, in total and per query cycle (one cycle every 500 ms).
# Everything it starts is stopped at the end.
#
# Usage: scripts/measure-window.sh [BUILD_FOLDER [PROGRAM...]]
#   BUILD_FOLDER defaults to build (configure it RelWithDebInfo, as make
#   does); PROGRAM defaults to "kestrova kestrova-log".
#   RUNS (default 5) and MONITOR_SECONDS (default 60) may be set in the
#   environment.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[[ $build = /* ]] || build="$root/$build"
# shellcheck source=scripts/demo-common.sh
source "$root/scripts/demo-common.sh"

if [ -z "${KESTROVA_MEASURE_DISPLAY:-}" ]; then
  KESTROVA_MEASURE_DISPLAY=1 exec "$root/scripts/with-display.sh" "$0" "$@"
fi

shift || true
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=(kestrova kestrova-log)
runs=${RUNS:-5}
seconds=${MONITOR_SECONDS:-60}
server="$build/tools/simserver/kestrova-simserver"
# Not the default ports, so a demo or a real server there is not disturbed.
game_port=12273
query_port=12373
title='^Kestrova by ZLX$'
ticks_per_second=$(getconf CLK_TCK)

fail() {
  echo "measure: $*" >&2
  exit 1
}

[ -x "$server" ] || fail "$server is missing; build it first"
for program in "${programs[@]}"; do
  [ -x "$build/app/$program" ] || fail "$build/app/$program is missing; build it first"
done
command -v xdotool >/dev/null || fail "xdotool is missing; scripts/install-deps.sh installs it"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

now_ns() { date +%s%N; }

# The user+system CPU ticks of a process: fields 14 and 15 of its stat line,
# counted after the ")" that ends its name.
cpu_ticks() {
  sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

status_kb() {
  awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"
}

# Starts a program in the demo folder; sets $program_pid.
start_program() {
  (cd "$work/demo" && QT_QPA_PLATFORM=xcb exec "$build/app/$1") >>"$work/$1.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

# Waits (at most 30 s) until the program's window is mapped; prints its id.
wait_for_window() {
  local deadline=$(($(now_ns) + 30000000000)) id
  while :; do
    id=$(xdotool search --onlyvisible --pid "$1" --name "$title" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$1" 2>/dev/null || return 1
    [ "$(now_ns)" -lt "$deadline" ] || return 1
    sleep 0.005
  done
}

stop_program() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

write_data_file() {
  mkdir -p "$work/demo"
  rm -f "$work/demo"/*.csv
  write_loopback_settings "$work/demo" "$game_port" "$query_port"
}

"$server" --game-port "$game_port" --query-port "$query_port" --players 32 --seed 7 \
  --password secret </dev/null >"$work/server.out" 2>&1 &
server_pid=$!
pids+=("$server_pid")
wait_for_simserver "$server_pid" "$work/server.out" || fail "no simulated server"

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); display $DISPLAY"
echo "build: $build ($(grep -m1 '^CMAKE_BUILD_TYPE' "$build/CMakeCache.txt" 2>/dev/null || echo 'build type unknown'))"

for program in "${programs[@]}"; do
  echo
  echo "== $program"
  write_data_file

  # 1. Start-up to a mapped window.
  times=()
  for _ in $(seq 1 "$runs"); do
    started=$(now_ns)
    start_program "$program"
    wait_for_window "$program_pid" >/dev/null || fail "no window from $program: $(cat "$work/$program.log")"
    shown=$(now_ns)
    times+=($(((shown - started) / 1000000)))
    stop_program "$program_pid"
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
  echo "start-up to window shown (ms), $runs runs: ${times[*]}; median $median"

  # 2. Monitoring the 32-player server.
  write_data_file
  start_program "$program"
  window=$(wait_for_window "$program_pid") || fail "no window from $program: $(cat "$work/$program.log")"
  sleep 1
  rss_idle=$(status_kb "$program_pid" VmRSS)
  # START spy: the centre of the button at 304,0 (91x25).
  xdotool mousemove --window "$window" 349 12 click 1
  ticks_start=$(cpu_ticks "$program_pid")
  clock_start=$(now_ns)
  sleep "$seconds"
  ticks_end=$(cpu_ticks "$program_pid")
  clock_end=$(now_ns)
  rss=$(status_kb "$program_pid" VmRSS)
  peak=$(status_kb "$program_pid" VmHWM)
  kill -0 "$program_pid" 2>/dev/null || fail "$program ended while monitoring"
  elapsed_ms=$(((clock_end - clock_start) / 1000000))
  cycles=$((elapsed_ms / 500))
  cpu_ms=$(((ticks_end - ticks_start) * 1000 / ticks_per_second))
  echo "VmRSS before START: ${rss_idle} kB; after ${elapsed_ms} ms of monitoring: ${rss} kB (peak VmHWM ${peak} kB)"
  echo "CPU (user+sys) since START: ${cpu_ms} ms over ${cycles} cycles of 500 ms;" \
    "$(awk -v c="$cpu_ms" -v n="$cycles" 'BEGIN { printf "%.2f", c / n }') ms per cycle" \
    "(clock tick $((1000 / ticks_per_second)) ms)"
  ls "$work/demo"/*.csv >/dev/null 2>&1 && echo "player log: $(cat "$work/demo"/*.csv | grep -c '^[0-9][0-9]-') records"
  stop_program "$program_pid"
done
