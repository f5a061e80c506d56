#!/usr/bin/env bash
# Builds everything and runs all tests under Wine; installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
source "$root/tools/wine-env.sh"

build=${SV_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DSV_WERROR=ON >/dev/null
cmake --build "$build"

# One persistent wineserver for the whole run: each test process then starts fast.
xvfb-run -a bash -c '
  wineserver -p 20
  cd "$0" && ctest --output-on-failure -j "$(nproc)"
' "$build"
