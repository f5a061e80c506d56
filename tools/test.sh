#!/usr/bin/env bash
# Builds everything and runs all tests under Wine; installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
source "$root/tools/wine-env.sh"
# CUPS is not a service of the machine: the printing tests need it running,
# and fail instead of skipping without it.
"$root/tools/cups-pdf.sh"
export SV_REQUIRE_PRINTER=1
# Wine lists the CUPS printers when a prefix is made or updated: a prefix made
# before the printer existed does not see it until it is updated.
if ! wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Printers\PDF' >/dev/null 2>&1; then
  wineboot -u >/dev/null 2>&1 || true
  timeout 60 wineserver -w || true
fi

build=${SV_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DSV_WERROR=ON >/dev/null
cmake --build "$build"

# One wineserver for the whole run, with Wine's own services started up front
# with no terminal: a process that inherits a test's output pipe keeps ctest
# (or whoever reads our output) waiting. A server left from an earlier run may
# hold a desktop on a display that is gone, so the run starts from a fresh one
# and stops it at the end.
xvfb-run -a bash -c '
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p 20 </dev/null >/dev/null 2>&1
  wineboot </dev/null >/dev/null 2>&1 || true
  cd "$0" && ctest --output-on-failure -j "$(nproc)"
  rc=$?
  wineserver -k >/dev/null 2>&1 || true
  exit $rc
' "$build"
