#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command with an X display: the one already there, or a private
# Xvfb started for the command and stopped after it.
set -euo pipefail

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi

display_number=$((100 + RANDOM % 800))
while [ -e "/tmp/.X${display_number}-lock" ]; do
  display_number=$((display_number + 1))
done

# -noreset: otherwise the server resets whenever its last client leaves
# (the readiness probe below is one), and a program connecting just then fails.
Xvfb ":${display_number}" -noreset -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT

export DISPLAY=":${display_number}"
for _ in $(seq 1 50); do
  if xdpyinfo >/dev/null 2>&1; then
    break
  fi
  sleep 0.1
done

"$@"
