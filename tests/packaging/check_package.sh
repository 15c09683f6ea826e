#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build folder BUILD with CPack and
# checks it: its file name, its file list (paths, modes, owners) against
# EXPECTED, dependencies found by dpkg-shlibdeps, lintian --pedantic (no error, no warning and no
# hardening tag) where lintian is installed, and the installed tree:
# launchers that start programs the package holds, AppStream metadata that
# validates together with its launchers and icon, icons of the sizes their
# folders name, a systemd unit that starts the packaged exporter.
# Usage: check_package.sh BUILD EXPECTED
set -euo pipefail
build=$1
expected=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
package=$(find "$work/out" -maxdepth 1 -name '*.deb')
echo "built $(basename "$package")"

name="$(dpkg-deb -f "$package" Package)_$(dpkg-deb -f "$package" Version)_$(dpkg --print-architecture).deb"
if [ "$(basename "$package")" != "$name" ]; then
  echo "the package is named $(basename "$package"), not $name"
  status=1
fi

dpkg-deb -c "$package" | awk '{ print $6, $1, $2 }' | LC_ALL=C sort >"$work/files.txt"
if ! diff -u "$expected" "$work/files.txt"; then
  echo "the package's files differ from $expected (- expected, + found)"
  status=1
fi

depends=$(dpkg-deb -f "$package" Depends)
echo "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | awk '{ print $1 }')
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libmicrohttpd12; do
  if ! grep -qxF "$library" <<<"$names"; then
    echo "Depends lacks $library"
    status=1
  fi
done
# Native windows on Wayland need Qt's Wayland platform plugin.
if ! grep -qxF qt6-wayland <<<"$(tr ',|' '\n\n' <<<"$(dpkg-deb -f "$package" Recommends)" | awk '{ print $1 }')"; then
  echo "Recommends lacks qt6-wayland"
  status=1
fi
# The programs draw their icon from PNGs rendered at build time.
if grep -qxF libqt6svg6 <<<"$names"; then
  echo "Depends names libqt6svg6, which the programs do not use"
  status=1
fi

if command -v lintian >/dev/null; then
  # --pedantic shows every tag; errors, warnings and any hardening tag fail.
  report=$(lintian --pedantic --tag-display-limit 0 "$package" 2>&1) || true
  echo "$report"
  if grep -qE '^[EW]: |: hardening-' <<<"$report"; then
    echo "lintian finds errors, warnings or missing hardening"
    status=1
  fi
else
  echo "lintian is not installed: the package was not linted"
fi

root="$work/root"
dpkg-deb -x "$package" "$root"
for entry in "$root"/usr/share/applications/*.desktop; do
  program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  if [ ! -x "$root/usr/bin/$program" ]; then
    echo "$(basename "$entry") starts $program, which the package does not hold"
    status=1
  fi
done
if ! report=$(appstreamcli validate-tree --no-net --pedantic "$root" 2>&1) || grep -qE '^[EWIP]: ' <<<"$report"; then
  echo "appstreamcli validate-tree:"
  echo "$report"
  status=1
fi
for icon in "$root"/usr/share/icons/hicolor/*x*/apps/kestrova.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$icon")
  if [ "${width}x${height}" != "$size" ]; then
    echo "$icon is ${width}x${height}"
    status=1
  fi
done
unit="$root/usr/lib/systemd/system/kestrova-exporter.service"
if ! grep -qx 'ExecStart=/usr/bin/kestrova-exporter $ARGS' "$unit" ||
  ! grep -qx 'EnvironmentFile=-/etc/default/kestrova-exporter' "$unit" || [ ! -x "$root/usr/bin/kestrova-exporter" ]; then
  echo "the exporter's unit does not start the packaged program with the options file:"
  cat "$unit"
  status=1
fi
exit $status
