#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Validates the menu entries and the AppStream metadata in FOLDER with the
# desktop's own validators; any message, a pedantic hint included, fails.
# The newest release the metadata names must be VERSION, the version built.
# Usage: check_metadata.sh FOLDER VERSION
set -euo pipefail
folder=$1
version=$2
status=0

for entry in "$folder"/*.desktop; do
  if ! report=$(desktop-file-validate "$entry" 2>&1) || [ -n "$report" ]; then
    echo "desktop-file-validate $entry:"
    echo "$report"
    status=1
  fi
done

for metainfo in "$folder"/*.metainfo.xml; do
  report=$(appstreamcli validate --no-net --pedantic --explain "$metainfo" 2>&1) || status=1
  echo "$report"
  if grep -qE '^[EWIP]: ' <<<"$report"; then
    status=1
  fi
  newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d '"' -f 2)
  if [ "$newest" != "$version" ]; then
    echo "$metainfo: the newest release is '$newest', the project's version $version"
    status=1
  fi
done
exit $status
