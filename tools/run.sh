#!/usr/bin/env bash
# Runs the reader on the sample encyclopedia: builds the sample and the
# reader, then starts the reader in the sample's folder on the X display, or,
# when there is none, under xvfb-run in Wine's virtual desktop, where it saves
# a picture of the screen to build/artifacts/savantorium.png and stops.
# The local stand-in for the online service (tools/sample/service.py, on the
# address the sample names) runs while the reader runs; --offline leaves it out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SV_BUILD_DIR:-$root/build}
online=1
[ "${1:-}" = "--offline" ] && online=0
"$root/tools/setup.sh"
"$root/tools/sample/build.sh"
cmake --build "$build" --target savantorium >/dev/null
source "$root/tools/wine-env.sh"
reader=$build/reader/savantorium.exe
if [ "$online" = 1 ]; then
  /usr/bin/python3 "$root/tools/sample/service.py" "$build/sample-work" &
  service=$!
  trap 'kill "$service" 2>/dev/null || true' EXIT
fi
cd "$build/sample"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  wine "$reader"
  exit
fi
mkdir -p "$build/artifacts"
shot=$build/artifacts/savantorium.png
rm -f "$shot"
export SV_SHOT=$shot SV_READER=$reader
# The frame is up once the log names the start's last step.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  log=$WINEPREFIX/drive_c/users/$(whoami)/Temp/sv.log
  rm -f "$log"
  wine explorer /desktop=savantorium,1024x740 "$SV_READER" 2>/dev/null &
  for i in $(seq 1 120); do
    grep -q "^#Start step mainwindow" "$log" 2>/dev/null && break
    grep -q "^#Start failed" "$log" 2>/dev/null && break
    sleep 0.5
  done
  sleep 2
  import -window root -crop 1024x740+0+0 "$SV_SHOT"
  grep "^#Start" "$log" || true
'
echo "run: the reader on the sample, as Xvfb showed it: $shot"
