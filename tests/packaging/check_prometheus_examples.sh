#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Prometheus and Grafana examples in FOLDER with promtool: the
# scrape configuration and the alert rules load, the alerts fire as the
# unit tests in TESTS say, and every query of the Grafana dashboard parses
# (run through promtool as recording rules, with its variables filled in).
# Usage: check_prometheus_examples.sh FOLDER TESTS
set -euo pipefail
folder=$1
tests=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

promtool check config "$folder/prometheus.yml"
promtool check rules "$folder/kestrova-alerts.yml"
promtool test rules "$tests"

python3 - "$folder/kestrova-dashboard.json" "$work/dashboard-rules.yml" <<'PY'
import json
import sys

with open(sys.argv[1], encoding="utf-8") as stream:
    dashboard = json.load(stream)
exprs = [target["expr"] for panel in dashboard["panels"] for target in panel.get("targets", [])]
if not exprs:
    sys.exit("the dashboard has no queries")
with open(sys.argv[2], "w", encoding="utf-8") as out:
    out.write("groups:\n  - name: dashboard\n    rules:\n")
    for number, expr in enumerate(exprs):
        out.write("      - record: dashboard_query_%d\n        expr: %s\n" % (number, json.dumps(expr.replace("$server", ".*"))))
PY
promtool check rules "$work/dashboard-rules.yml"
