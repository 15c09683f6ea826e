#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the generated manual pages PAGE.1 and PAGE.1.gz in FOLDER the way
# groff and man do, with their warnings on: any warning fails. Every page
# must also say how to call the program, its exit codes, the files it
# touches and an example.
# Usage: check_man_pages.sh FOLDER PAGE...
set -euo pipefail
folder=$1
shift
status=0

for page in "$@"; do
  roff="$folder/$page.1"
  warnings=$(
    groff -k -ww -z -man "$roff" 2>&1
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$roff.gz" 2>&1 >/dev/null
  )
  if [ -n "$warnings" ]; then
    echo "$page(1) renders with warnings:"
    echo "$warnings"
    status=1
  fi
  for section in NAME SYNOPSIS OPTIONS "EXIT STATUS" FILES EXAMPLES; do
    if ! grep -qx ".SH $section" "$roff"; then
      echo "$page(1) has no $section section"
      status=1
    fi
  done
done
exit $status
