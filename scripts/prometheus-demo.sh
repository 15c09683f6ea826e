#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A Prometheus server on 127.0.0.1 scraping two simulated game servers
# through one kestrova-exporter, all on this machine, with the packaged
# example configuration's relabelling and alert rules. Prints each PromQL
# query it asks through Prometheus's HTTP API (with curl) and the answer,
# then stops the second server and shows it go down. Everything it starts
# ends with it.
#
# Usage: scripts/prometheus-demo.sh [BUILD_FOLDER]
#   BUILD_FOLDER defaults to build. PROMETHEUS_PORT (default 19090) and
#   EXPORTER_PORT (default 19640) name the loopback ports to use.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[[ $build = /* ]] || build="$root/$build"
prometheus_port=${PROMETHEUS_PORT:-19090}
exporter_port=${EXPORTER_PORT:-19640}
api="http://127.0.0.1:$prometheus_port/api/v1"
source "$root/scripts/demo-common.sh"

work=$(mktemp -d)
pids=()
trap stop_started_and_remove_work EXIT

# A simulated server named NAME with PLAYERS players; its control lines go
# through the FIFO $work/NAME.control.
start_server() {
  local name=$1 players=$2
  mkfifo "$work/$name.control"
  sleep 100000 >"$work/$name.control" &
  pids+=($!)
  "$build/tools/simserver/kestrova-simserver" --game-port 0 --query-port 0 --hostname "$name" \
    --players "$players" <"$work/$name.control" >"$work/$name.out" &
  pids+=($!)
  wait_for_simserver $! "$work/$name.out"
}

# Asks Prometheus QUERY and prints it with the answer's samples.
query() {
  echo "\$ curl -s '$api/query' --data-urlencode 'query=$1'"
  curl -s "$api/query" --data-urlencode "query=$1" |
    python3 -c 'import json, sys
for r in json.load(sys.stdin)["data"]["result"]:
    labels = ",".join("%s=\"%s\"" % kv for kv in sorted(r["metric"].items()))
    print("  {%s} %s" % (labels, r["value"][1]))'
}

start_server Alpha 4
start_server Bravo 2
read -r _ _ alpha_game _ alpha_query <"$work/Alpha.out"
read -r _ _ bravo_game _ bravo_query <"$work/Bravo.out"

"$build/tools/exporter/kestrova-exporter" --listen "127.0.0.1:$exporter_port" >"$work/exporter.out" &
pids+=($!)

cp "$root/packaging/examples/kestrova-alerts.yml" "$work/"
cat >"$work/prometheus.yml" <<EOF
global:
  scrape_interval: 5s
  evaluation_interval: 5s
rule_files:
  - kestrova-alerts.yml
scrape_configs:
  - job_name: kestrova
    metrics_path: /probe
    static_configs:
      - targets: ['127.0.0.1:$alpha_game']
        labels:
          __param_query_port: '$alpha_query'
      - targets: ['127.0.0.1:$bravo_game']
        labels:
          __param_query_port: '$bravo_query'
    relabel_configs:
      - source_labels: [__address__]
        target_label: __param_target
      - source_labels: [__param_target]
        target_label: instance
      - target_label: __address__
        replacement: 127.0.0.1:$exporter_port
  - job_name: kestrova-exporter
    static_configs:
      - targets: ['127.0.0.1:$exporter_port']
EOF
promtool check config "$work/prometheus.yml" >/dev/null

prometheus --config.file="$work/prometheus.yml" --storage.tsdb.path="$work/data" \
  --web.listen-address="127.0.0.1:$prometheus_port" >"$work/prometheus.log" 2>&1 &
pids+=($!)

echo "Alpha: game port $alpha_game, query port $alpha_query; Bravo: game port $bravo_game, query port $bravo_query"
echo "exporter on 127.0.0.1:$exporter_port, Prometheus on 127.0.0.1:$prometheus_port (scrape every 5 s)"
for _ in $(seq 1 60); do
  count=$(curl -s "$api/query" --data-urlencode 'query=count(kestrova_up)' |
    python3 -c 'import json, sys; r = json.load(sys.stdin)["data"]["result"]; print(r[0]["value"][1] if r else 0)' 2>/dev/null || echo 0)
  [ "$count" = 2 ] && break
  sleep 1
done
sleep 20

echo
query 'kestrova_up'
query 'kestrova_status_up'
query 'kestrova_players'
query 'kestrova_info'
query 'kestrova_player_ping_seconds{server=~".*:'"$bravo_game"'"}'
query 'up'
query 'kestrova_exporter_probes_total'
query 'rate(kestrova_exporter_query_duration_seconds_count[1m])'
echo
echo "Bravo falls silent."
echo "silent all on" >"$work/Bravo.control"
sleep 75
query 'kestrova_up'
query 'ALERTS{alertname="KestrovaServerDown"}'
