#!/usr/bin/env bash
# Makes or removes the test drive of the mounting tests: a folder linked as a
# free drive letter in the test's own Wine prefix only (never system-wide).
# Usage: test_drives.sh start|stop DIR. "start" writes DIR/letter and fills
# DIR/volume with the signature "SVSIG/sv.sig".
set -euo pipefail
action=$1 dir=$2
devices=${WINEPREFIX:-$HOME/.wine}/dosdevices
case $action in
start)
  # A second start keeps the drive of the first.
  if [ -f "$dir/letter" ] && [ "$(readlink "$devices/$(cat "$dir/letter"):" 2>/dev/null)" = "$dir/volume" ]; then
    exit 0
  fi
  mkdir -p "$dir/volume/SVSIG"
  echo signature >"$dir/volume/SVSIG/sv.sig"
  for l in q r s t u v w x y; do
    if [ ! -e "$devices/$l:" ] && [ ! -L "$devices/$l:" ]; then
      ln -s "$dir/volume" "$devices/$l:"
      echo "$l" >"$dir/letter"
      exit 0
    fi
  done
  echo "no free drive letter in $devices" >&2
  exit 1
  ;;
stop)
  if [ -f "$dir/letter" ]; then
    l=$(cat "$dir/letter")
    # Only our own link goes.
    if [ "$(readlink "$devices/$l:" 2>/dev/null)" = "$dir/volume" ]; then rm -f "$devices/$l:"; fi
    rm -f "$dir/letter"
  fi
  ;;
esac
