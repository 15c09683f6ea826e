#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzz target of a fuzz build (or the ones named) for SECONDS
# each, JOBS at a time, at low priority, and prints one table: runs,
# coverage (cov: edges, ft: features), crashes, hangs and leaks. New inputs
# go to the build's work corpus, beside the seeds of the source tree; an
# input that breaks a target is left as BUILD/tests/fuzz/artifacts/NAME-*.
# Exits with 1 when any target broke.
#
#   tests/fuzz/run-fuzzers.sh BUILD SECONDS [JOBS] [TARGET...]
set -euo pipefail

build=$1
seconds=$2
jobs=${3:-1}
shift $(($# < 3 ? $# : 3))
fuzz_dir=$build/tests/fuzz
manifest=$fuzz_dir/fuzz-targets.tsv
[ -f "$manifest" ] || { echo "no fuzz build in $build" >&2; exit 2; }

run_one() {
  local name=$1 binary=$2 corpus=$3 dict=$4 max_len=$5
  local work=$fuzz_dir/work/$name log=$fuzz_dir/logs/$name.log
  mkdir -p "$work" "$fuzz_dir/logs" "$fuzz_dir/artifacts"
  rm -f "$fuzz_dir/artifacts/$name-"*
  local status=0
  nice -n 10 "$binary" "$work" "$corpus" -max_total_time="$seconds" -timeout=10 -max_len="$max_len" \
    -dict="$dict" -artifact_prefix="$fuzz_dir/artifacts/$name-" -print_final_stats=1 >"$log" 2>&1 || status=$?
  echo "$status" >"$fuzz_dir/logs/$name.status"
}

selected=()
while IFS=$'\t' read -r name binary corpus dict max_len; do
  if [ $# -eq 0 ] || printf '%s\n' "$@" | grep -qx "$name"; then
    selected+=("$name")
    printf '%s\t%s\t%s\t%s\t%s\n' "$name" "$binary" "$corpus" "$dict" "$max_len"
  fi
done <"$manifest" >"$fuzz_dir/selected.tsv"
[ ${#selected[@]} -gt 0 ] || { echo "no such fuzz target: $*" >&2; exit 2; }

export -f run_one
export fuzz_dir seconds
echo "Fuzzing ${#selected[@]} targets for ${seconds} s each, $jobs at a time"
tr '\t' '\n' <"$fuzz_dir/selected.tsv" | xargs -d '\n' -n 5 -P "$jobs" bash -c 'run_one "$@"' _

count() { find "$fuzz_dir/artifacts" -name "$1-$2-*" | wc -l; }

broken=0
printf '%-16s %10s %7s %7s %8s %6s %6s\n' target runs cov ft crashes hangs leaks
for name in "${selected[@]}"; do
  log=$fuzz_dir/logs/$name.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  crashes=$(($(count "$name" crash) + $(count "$name" oom)))
  hangs=$(count "$name" timeout)
  leaks=$(count "$name" leak)
  status=$(cat "$fuzz_dir/logs/$name.status")
  # A target that stopped without leaving an input (an error of the run
  # itself) counts as a crash too.
  if [ "$status" -ne 0 ] && [ $((crashes + hangs + leaks)) -eq 0 ]; then
    crashes=1
  fi
  if [ $((crashes + hangs + leaks)) -ne 0 ]; then
    broken=1
  fi
  printf '%-16s %10s %7s %7s %8s %6s %6s\n' "$name" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$crashes" "$hangs" "$leaks"
done
if [ "$broken" -ne 0 ]; then
  echo "Inputs that broke a target: $fuzz_dir/artifacts/ (logs in $fuzz_dir/logs/)"
fi
exit "$broken"
