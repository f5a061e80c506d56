#!/usr/bin/env bash
# Counts the Wine server requests per Return of bench_screens: runs it once on
# a server of its own that traces every request into a file (SV_TRACE=PATH
# keeps that file).
# Usage: bench/screens_requests.sh BUILD_DIR quick|field (Wine environment
# already set, no server running on its prefix; under xvfb-run or a display).
set -euo pipefail
build=$(cd "$1" && pwd)
mode=$2
log=${SV_TRACE:-$(mktemp --suffix=.trace)}
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${SV_TRACE:-}" ] || rm -f "$log"
}
trap cleanup EXIT
wineserver -f -d1 2>"$log" &
sleep 1
kill -0 $! 2>/dev/null || { echo "screens_requests: a server already runs on $WINEPREFIX" >&2; exit 1; }
# One pass after the warming one: the trace makes each Return slow.
SV_BENCH_PASSES=${SV_BENCH_PASSES:-1} SV_BENCH_SERVER_LOG=$(winepath -w "$log") \
  wine "$build/bench/bench_screens.exe" "$mode" "$(winepath -w "$build/sample")" \
  "$(winepath -w "$build/sample-work")" | tr -d '\r'
