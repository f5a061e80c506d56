#!/usr/bin/env bash
# Runs one window test program under Wine, alone on its display.
# Under tools/test.sh, ctest hands each such test one of the run's displays
# (its resource "display"); each display has its own Wine prefix and server,
# so the tests run side by side and none sees another's windows or focus.
# Run by hand (ctest, or this script), the test takes the current display
# and prefix, waiting for any other window test on them.
set -euo pipefail
group=${CTEST_RESOURCE_GROUP_0_DISPLAY:-}
if [ -n "$group" ]; then
  id=${group#id:}
  id=${id%%,*}
  env=${SV_DISPLAYS:?SV_DISPLAYS names the folder of the displays}/$id.env
  [ -f "$env" ] || { echo "on-display: no display $id ($env)" >&2; exit 1; }
  # shellcheck source=/dev/null
  source "$env"
  exec wine "$@"
fi
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-env.sh"
exec flock "$WINEPREFIX/.display-lock" wine "$@"
