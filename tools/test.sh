#!/usr/bin/env bash
# Builds everything and the sample encyclopedia, and runs all tests under
# Wine; installs what is missing first. Prints the time of each stage and the
# number of tests that skipped; under CI=true a skipped test fails the run.
# SV_DISPLAY_COUNT sets how many window tests run side by side (default: one
# per processor). Arguments go to ctest (for example -R test_article).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Runs on one machine share the Wine prefix, its copies for the displays and
# their servers, which a run remakes and stops: a second run waits for the
# first instead of ending it. flock holds the lock, not the servers we start.
lock=${TMPDIR:-/tmp}/savantorium-tests.lock
if [ -z "${SV_TESTS_LOCKED:-}" ]; then
  export SV_TESTS_LOCKED=1
  if ! flock -n "$lock" true; then
    echo "test: another test run is going on this machine; waiting for it"
  fi
  exec flock "$lock" "$0" "$@"
fi
build=${SV_BUILD_DIR:-$root/build}
export SV_BUILD_DIR=$build

stage_names=()
stage_times=()
stage_start=$SECONDS
# Ends the current stage, named $1.
stage_done() {
  stage_names+=("$1")
  stage_times+=($((SECONDS - stage_start)))
  echo "test: stage $1: $((SECONDS - stage_start)) s"
  stage_start=$SECONDS
}
print_stages() {
  local i line="test: stage times:"
  for i in "${!stage_names[@]}"; do
    line+=" ${stage_names[$i]} $(printf '%d:%02d' $((stage_times[i] / 60)) $((stage_times[i] % 60)))"
  done
  echo "$line"
}

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
# The displays' prefixes are copies of this one: its server saves the registry first.
wineserver -k >/dev/null 2>&1 || true
timeout 60 wineserver -w || true
stage_done set-up

cmake -S "$root" -B "$build" -G Ninja -DSV_WERROR=ON >/dev/null
cmake --build "$build"
stage_done build

# The tests of the reader's panes read the sample from the build folder.
"$root/tools/sample/build.sh"
stage_done sample

# Each window test runs on a display of its own: an Xvfb server, a Wine
# prefix (a copy of ours sharing the large read-only folders) and its server.
count=${SV_DISPLAY_COUNT:-$(nproc)}
displays=$build/displays
rm -rf "$displays"
mkdir -p "$displays"
export SV_DISPLAYS=$displays
xvfb_pids=()
prefixes=()
stop_displays() {
  local p
  for p in "${prefixes[@]}"; do WINEPREFIX=$p wineserver -k >/dev/null 2>&1 || true; done
  for p in "${xvfb_pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap stop_displays EXIT

# A fresh copy of the prefix $1 in $2: the system folders as hard links (Wine
# only reads them), the registry and the users' files as copies.
copy_prefix() {
  local from=$1 to=$2 f
  rm -rf "$to"
  mkdir -p "$to/drive_c/windows"
  shopt -s dotglob
  for f in "$from"/*; do
    [ "$(basename "$f")" = drive_c ] || cp -a "$f" "$to/"
  done
  # The users' temporary folders are left behind: a program still running in
  # the prefix may delete a file in them while it is copied.
  tar -C "$from/drive_c" --exclude=./windows --exclude='./users/*/Temp/*' -cf - . | tar -C "$to/drive_c" -xf -
  for f in "$from"/drive_c/windows/*; do
    case "$(basename "$f")" in
      system32 | syswow64 | winsxs) cp -al "$f" "$to/drive_c/windows/" ;;
      *) cp -a "$f" "$to/drive_c/windows/" ;;
    esac
  done
  shopt -u dotglob
}

# The display $1: Xvfb picks a free number and tells it through a file.
start_display() {
  local i=$1 numfile=$displays/$1.num prefix=$WINEPREFIX-d$1 n
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  xvfb_pids+=($!)
  for _ in $(seq 100); do
    [ -s "$numfile" ] && break
    sleep 0.1
  done
  n=$(tr -d '\n' <"$numfile")
  [ -n "$n" ] || { echo "test: Xvfb for display $i did not start" >&2; exit 1; }
  copy_prefix "$WINEPREFIX" "$prefix"
  prefixes+=("$prefix")
  printf 'export DISPLAY=:%s WINEPREFIX=%q\n' "$n" "$prefix" >"$displays/$i.env"
}
for i in $(seq 0 $((count - 1))); do start_display "$i"; done
# One wineserver per prefix, each with Wine's own services started up front
# with no terminal: a process that inherits a test's output pipe keeps ctest
# (or whoever reads our output) waiting.
boots=()
for i in $(seq 0 $((count - 1))); do
  (source "$displays/$i.env"
   wineserver -p 20 </dev/null >/dev/null 2>&1
   wineboot </dev/null >/dev/null 2>&1 || true) &
  boots+=($!)
done
for j in "${boots[@]}"; do wait "$j" || true; done
{
  echo '{"version": {"major": 1, "minor": 0}, "local": [{"display": ['
  for i in $(seq 0 $((count - 1))); do
    [ "$i" -gt 0 ] && echo ','
    echo "{\"id\": \"$i\", \"slots\": 1}"
  done
  echo ']}]}'
} >"$displays/spec.json"

# Each test notes what it skipped in this folder.
skipped=$build/skipped
rm -rf "$skipped"
mkdir -p "$skipped"
export SV_SKIP_DIR="Z:${skipped//\//\\}"

# The tests without windows share our prefix and one display and server, as
# do the helper programs the fixtures start.
set +e
xvfb-run -a bash -c '
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p 20 </dev/null >/dev/null 2>&1
  wineboot </dev/null >/dev/null 2>&1 || true
  cd "$0" && ctest --output-on-failure -j "$(nproc)" --resource-spec-file "$SV_DISPLAYS/spec.json" "$@"
  rc=$?
  wineserver -k >/dev/null 2>&1 || true
  exit $rc
' "$build" "$@"
rc=$?
set -e
stop_displays
trap - EXIT
stage_done tests
print_stages

shopt -s nullglob
notes=("$skipped"/*.txt)
shopt -u nullglob
n=$(cat /dev/null "${notes[@]}" | wc -l)
echo "tests skipped: $n"
if [ "$n" -gt 0 ]; then
  sort "${notes[@]}" | sed 's/^/  skipped: /'
  if [ "${CI:-}" = true ] && [ "$rc" -eq 0 ]; then
    echo "test: a test that skips fails the run under CI" >&2
    rc=1
  fi
fi
exit $rc
