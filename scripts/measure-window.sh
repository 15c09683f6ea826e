#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the window programs on the display that scripts/with-display.sh
# gives (a private Xvfb when there is none):
#   1. start-up: wall time from starting the process to its window being
#      mapped (xdotool sees it visible), RUNS times each, the programs taken
#      in turn within every round so that all see the same machine load;
#      the medians of that time, of the CPU time spent until then (less
#      sensitive to a loaded machine) and of the resident memory then;
#   2. monitoring: each program pointed at a simulated server with 32
#      players, START clicked, then after MONITOR_SECONDS its CPU time
#      (user+system, all threads, from /proc/PID/task/*/schedstat) per query
#      cycle (one every 500 ms) and as a share of one core, and its resident
#      memory (VmRSS, and the peak VmHWM). Once against a server whose
#      scores change every second (the default), once against one whose
#      replies never change (--static). The programs monitor at the same
#      time, so they share the machine's load alike.
# A bare Qt window of the same size (bench/bare_window.cpp) is measured
# beside them when it is built: its start-up, and, while the others
# monitor, its memory and the CPU time of a timer that wakes it every
# 500 ms and does nothing: the floor that waking up twice a second costs
# on this machine. So is the same window showing one label of text
# ("bare-label"), which pays what any text costs a Qt program (the font
# configuration, a font, text layout): the programs are compared with both.
# Everything it starts is stopped at the end.
#
# Usage: scripts/measure-window.sh [BUILD_FOLDER [PROGRAM...]]
#   BUILD_FOLDER defaults to build (configure it RelWithDebInfo, as make
#   does); PROGRAM defaults to "kestrova kestrova-log".
# Environment:
#   RUNS (default 5), MONITOR_SECONDS (default 60);
#   BASELINE_BUILD: a second build folder (of an older commit, say) whose
#     programs are measured beside the first, labelled "baseline";
#   BARE_WINDOW: the bare window program (default: bench/bare-window of
#     BUILD_FOLDER, else of build-bench); "none" leaves it out;
#   PHASES: which monitoring runs, default "drifting static"; "none" for
#     start-up only.
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
phases=${PHASES:-drifting static}
[ "$phases" = none ] && phases=
server="$build/tools/simserver/kestrova-simserver"
# Not the default ports, so a demo or a real server there is not disturbed.
declare -A game_ports=([drifting]=12273 [static]=12275 [startup]=12273)
declare -A query_ports=([drifting]=12373 [static]=12375 [startup]=12373)

fail() {
  echo "measure: $*" >&2
  exit 1
}

# The subjects: a label, a program path and the title of its window.
labels=()
declare -A paths titles
add_subject() {
  [ -x "$2" ] || fail "$2 is missing; build it first"
  labels+=("$1")
  paths[$1]=$2
  titles[$1]=$3
}
baseline=${BASELINE_BUILD:-}
[ -z "$baseline" ] || [[ $baseline = /* ]] || baseline="$PWD/$baseline"
for program in "${programs[@]}"; do
  add_subject "$program" "$build/app/$program" '^Kestrova by ZLX$'
  if [ -n "$baseline" ]; then
    add_subject "$program(baseline)" "$baseline/app/$program" '^Kestrova by ZLX$'
  fi
done
bare=${BARE_WINDOW:-}
# The programs run in folders of their own: paths given relative to here.
[ -z "$bare" ] || [ "$bare" = none ] || [[ $bare = /* ]] || bare="$PWD/$bare"
if [ -z "$bare" ]; then
  for candidate in "$build/bench/bare-window" "$root/build-bench/bench/bare-window"; do
    [ -x "$candidate" ] && { bare=$candidate; break; }
  done
fi
if [ -n "$bare" ] && [ "$bare" != none ]; then
  add_subject bare-window "$bare" '^Bare Qt window$'
  add_subject bare-label "$bare" '^Bare Qt window$'
else
  echo "measure: no bare window built (make bench builds one); measuring without it" >&2
fi

[ -x "$server" ] || fail "$server is missing; build it first"
command -v xdotool >/dev/null || fail "xdotool is missing; scripts/install-deps.sh installs it"

work=$(mktemp -d)
pids=()
trap stop_started_and_remove_work EXIT

now_ns() { date +%s%N; }

is_bare() { [ "$1" = bare-window ] || [ "$1" = bare-label ]; }

# The CPU time of a process in nanoseconds: the run times of all its
# threads as the scheduler counts them (first field of each schedstat).
cpu_ns() {
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%.0f", sum }'
}

status_kb() {
  awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"
}

median() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The folder a subject runs in, with "data.dat" pointing at a phase's server.
subject_folder() {
  local folder="$work/run/${1//[^a-zA-Z0-9-]/_}"
  mkdir -p "$folder"
  rm -f "$folder"/*.csv
  write_loopback_settings "$folder" "${game_ports[$2]}" "${query_ports[$2]}"
  echo "$folder"
}

# Starts a subject in its folder; sets $program_pid.
start_subject() {
  local folder
  folder=$(subject_folder "$1" "$2")
  local arguments=()
  [ "$1" = bare-label ] && arguments+=(--label)
  is_bare "$1" && [ "$2" != startup ] && arguments+=(--tick)
  (cd "$folder" && QT_QPA_PLATFORM=xcb exec "${paths[$1]}" "${arguments[@]}") >>"$work/output.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

# Waits (at most 30 s) until the process's window is mapped; prints its id.
wait_for_window() {
  local deadline=$(($(now_ns) + 30000000000)) id
  while :; do
    id=$(xdotool search --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n 1) || true
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

for phase in $phases; do
  static=()
  [ "$phase" = static ] && static=(--static)
  "$server" --game-port "${game_ports[$phase]}" --query-port "${query_ports[$phase]}" --players 32 --seed 7 \
    "${static[@]}" --password secret </dev/null >"$work/server-$phase.out" 2>&1 &
  pids+=("$!")
  wait_for_simserver "$!" "$work/server-$phase.out" || fail "no simulated server"
done

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); display $DISPLAY"
echo "build: $build ($(grep -m1 '^CMAKE_BUILD_TYPE' "$build/CMakeCache.txt" 2>/dev/null || echo 'build type unknown'))"
[ -n "$baseline" ] && echo "baseline build: $baseline"
[ -n "$bare" ] && [ "$bare" != none ] && echo "bare window: $bare"

# 1. Start-up to a mapped window, the subjects in turn within each round.
declare -A times cpu_shown rss_shown
for _ in $(seq 1 "$runs"); do
  for label in "${labels[@]}"; do
    started=$(now_ns)
    start_subject "$label" startup
    wait_for_window "$program_pid" "${titles[$label]}" >/dev/null || fail "no window from $label: $(cat "$work/output.log")"
    shown=$(now_ns)
    times[$label]+=" $(((shown - started) / 1000000))"
    cpu_shown[$label]+=" $(($(cpu_ns "$program_pid") / 1000000))"
    rss_shown[$label]+=" $(status_kb "$program_pid" VmRSS)"
    stop_program "$program_pid"
  done
done
echo
echo "== start-up to window shown, medians of $runs rounds: wall time, CPU time until then, VmRSS then"
declare -A bare_median bare_cpu
for label in "${labels[@]}"; do
  # shellcheck disable=SC2086
  m=$(median ${times[$label]})
  # shellcheck disable=SC2086
  c=$(median ${cpu_shown[$label]})
  # shellcheck disable=SC2086
  r=$(median ${rss_shown[$label]})
  if is_bare "$label"; then
    bare_median[$label]=$m
    bare_cpu[$label]=$c
  fi
  printf '%-22s %6s ms (CPU %4s ms), VmRSS %6s kB; wall times:%s\n' "$label" "$m" "$c" "$r" "${times[$label]}"
done
for bare_label in bare-window bare-label; do
  [ -n "${bare_median[$bare_label]:-}" ] || continue
  for label in "${labels[@]}"; do
    is_bare "$label" && continue
    # shellcheck disable=SC2086
    m=$(median ${times[$label]})
    # shellcheck disable=SC2086
    c=$(median ${cpu_shown[$label]})
    printf '%-22s %s x the time to show of %s (CPU %s x)\n' "$label" \
      "$(awk -v a="$m" -v b="${bare_median[$bare_label]}" 'BEGIN { printf "%.2f", a / b }')" "$bare_label" \
      "$(awk -v a="$c" -v b="${bare_cpu[$bare_label]}" 'BEGIN { printf "%.2f", a / b }')"
  done
done

# 2. Monitoring, all subjects at once; the bare window only ticks.
for phase in $phases; do
  echo
  echo "== monitoring the $phase 32-player server for $seconds s"
  declare -A pid_of cpu_start clock_start rss_idle
  for label in "${labels[@]}"; do
    start_subject "$label" "$phase"
    pid_of[$label]=$program_pid
    window=$(wait_for_window "$program_pid" "${titles[$label]}") || fail "no window from $label: $(cat "$work/output.log")"
    sleep 1
    rss_idle[$label]=$(status_kb "$program_pid" VmRSS)
    if ! is_bare "$label"; then
      # START spy: the centre of the button at 304,0 (91x25). The window
      # mapped last is on top, so the click reaches it.
      xdotool mousemove --window "$window" 349 12 click 1
    fi
    cpu_start[$label]=$(cpu_ns "$program_pid")
    clock_start[$label]=$(now_ns)
  done
  sleep "$seconds"
  declare -A bare_rss=()
  for label in "${labels[@]}"; do
    pid=${pid_of[$label]}
    kill -0 "$pid" 2>/dev/null || fail "$label ended while monitoring"
    cpu=$(($(cpu_ns "$pid") - ${cpu_start[$label]}))
    elapsed=$(($(now_ns) - ${clock_start[$label]}))
    rss=$(status_kb "$pid" VmRSS)
    peak=$(status_kb "$pid" VmHWM)
    is_bare "$label" && bare_rss[$label]=$rss
    cycles=$((elapsed / 500000000))
    printf '%-22s CPU %8.1f ms in %5.1f s: %6.3f ms per cycle (%d cycles), %5.3f %% of one core; VmRSS %6s kB (before START %s, peak %s)\n' \
      "$label" "$(awk -v c="$cpu" 'BEGIN { print c / 1e6 }')" "$(awk -v e="$elapsed" 'BEGIN { print e / 1e9 }')" \
      "$(awk -v c="$cpu" -v n="$cycles" 'BEGIN { print c / 1e6 / n }')" "$cycles" \
      "$(awk -v c="$cpu" -v e="$elapsed" 'BEGIN { print 100 * c / e }')" "$rss" "${rss_idle[$label]}" "$peak"
  done
  for bare_label in bare-window bare-label; do
    [ -n "${bare_rss[$bare_label]:-}" ] || continue
    for label in "${labels[@]}"; do
      is_bare "$label" && continue
      printf '%-22s VmRSS %+d kB beside %s\n' "$label" $(($(status_kb "${pid_of[$label]}" VmRSS) - ${bare_rss[$bare_label]})) "$bare_label"
    done
  done
  for label in "${labels[@]}"; do
    stop_program "${pid_of[$label]}"
  done
  unset pid_of cpu_start clock_start rss_idle bare_rss
done
