#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures what a lossy network does to Kestrova: for each loss level, the
# window of kestrova and the window of kestrova-log (tests/measure/
# lossy_network_figures, the programs' own window code, on Qt's offscreen
# platform unless QT_QPA_PLATFORM says otherwise) and back-to-back runs of
# kestrova-query, each against its own kestrova-simserver with 64 players
# (--static, so the true list never changes) that loses that share of its
# reply datagrams (--loss PERCENT:SEED), all three at once for SECONDS.
# Prints per program:
#   - false "joined"/"left" messages (no player comes or goes);
#   - false "stops answering" messages (the server always answers);
#   - kestrova-log's CSV records with fewer than 64 players or a half row;
#   - the longest pause between two status requests the server received,
#     and the longest of those in which no info reply was lost (a tick whose
#     getinfo goes unanswered asks for no players and waits a second);
#   - kestrova-query runs that exited 0 with fewer or more than 64 rows, and
#     how the others ended.
# and holds them to the goals: no false message, every record complete, no
# query run with exit 0 and a partial list, the longest pause at most 1 s.
#
# Usage: scripts/measure-lossy-network.sh [BUILD_FOLDER]
#   BUILD_FOLDER defaults to build (its tests and tools must be built).
# Environment: SECONDS_EACH (default 90), LOSSES (default "1 5"), SEED
#   (default 18; kestrova's server loses with it, kestrova-log's with SEED+1,
#   kestrova-query's with SEED+2).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[[ $build = /* ]] || build="$root/$build"
figures="$build/bench/lossy_network_figures"
server="$build/tools/simserver/kestrova-simserver"
query="$build/tools/query/kestrova-query"
seconds=${SECONDS_EACH:-90}
losses=${LOSSES:-1 5}
seed=${SEED:-18}
players=64

fail() {
  echo "measure: $*" >&2
  exit 1
}

for program in "$figures" "$server" "$query"; do
  [ -x "$program" ] || fail "$program is missing; build it first"
done

work=$(mktemp -d)
cleanup() {
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Runs kestrova-query against its own lossy server for $seconds and writes
# "runs N exit0-whole W exit0-partial P incomplete I no-answer A failed F
# longest-pause-ms M" to $1.
query_runs() {
  local out=$1 loss=$2
  local input="$work/query-input.$loss" ports
  mkfifo "$input"
  "$server" --game-port 0 --query-port 0 --static --players "$players" --loss "$loss:$((seed + 2))" \
    <"$input" >"$work/query-server.$loss" 2>&1 &
  local pid=$!
  trap 'kill $pid 2>/dev/null' EXIT
  exec {keep}>"$input"  # the server's input stays open while it runs
  until ports=$(grep -m1 '^kestrova-simserver game' "$work/query-server.$loss" 2>/dev/null); do
    sleep 0.05
  done
  read -r _ _ game _ queryport <<<"$ports"
  local runs=0 whole=0 partial=0 incomplete=0 silent=0 failed=0 longest=0
  local end=$((SECONDS + seconds)) last=0 now pause rows status
  while [ $SECONDS -lt $end ]; do
    now=$(date +%s%3N)
    if [ "$last" -gt 0 ]; then
      pause=$((now - last))
      [ $pause -gt $longest ] && longest=$pause
    fi
    last=$now
    status=0
    "$query" --game-port "$game" --query-port "$queryport" 127.0.0.1 >"$work/query.out" 2>"$work/query.err" ||
      status=$?
    runs=$((runs + 1))
    # 11 labels and the hint, then one line per player.
    rows=$(($(wc -l <"$work/query.out") - 12))
    case $status in
      0) if [ $rows -eq $players ]; then whole=$((whole + 1)); else partial=$((partial + 1)); fi ;;
      3) if grep -q 'incomplete status reply' "$work/query.err"; then
           incomplete=$((incomplete + 1))
         else
           silent=$((silent + 1))
         fi ;;
      *) failed=$((failed + 1)) ;;
    esac
  done
  echo quit >&"$keep"
  exec {keep}>&-
  wait "$pid" || true
  echo "runs $runs exit0-whole $whole exit0-partial $partial incomplete $incomplete no-answer $silent" \
    "failed $failed longest-pause-between-runs-ms $longest" >"$out"
}

# The value after `name` in a figures line.
field() { sed -E "s#.* $2 ([0-9]+).*#\1#" <<<"$1"; }

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "each: $seconds s, $players players, loss seed $seed"
status=0
check() {
  if [ "$2" = 1 ]; then
    echo "    $1: met"
  else
    echo "    $1: MISSED"
    status=1
  fi
}

for loss in $losses; do
  echo "loss $loss %:"
  offset=0
  for build in standard log; do
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$figures" "$build" "$loss" "$seconds" "$((seed + offset))" \
      >"$work/$build.$loss" 2>"$work/$build.$loss.err" &
    offset=$((offset + 1))
  done
  query_runs "$work/query.$loss" "$loss" &
  wait
  for build in standard log; do
    line=$(grep '^figures:' "$work/$build.$loss") || fail "no figures from $build: $(cat "$work/$build.$loss.err")"
    echo "  ${line#figures: }"
    grep '^message:' "$work/$build.$loss" | sed 's/^/    /' || true
    check "false joined/left messages 0" "$(($(field "$line" joined/left) == 0))"
    check "false stops-answering messages 0" "$(($(field "$line" stops-answering) == 0))"
    if [ "$build" = log ]; then
      check "every CSV record complete" \
        "$(($(field "$line" short-records) == 0 && $(field "$line" half-rows) == 0 && $(field "$line" records) > 0))"
    fi
    check "longest pause between status requests <= 1 s" "$(($(field "$line" longest-status-pause-ms) <= 1000))"
    check "  the same, pauses with a lost info reply left out" "$(($(field "$line" without-info-loss) <= 1000))"
  done
  runs=$(cat "$work/query.$loss")
  echo "  kestrova-query: $runs"
  check "no run with exit 0 and a partial list" "$(($(field " $runs" exit0-partial) == 0))"
done
exit "$status"
