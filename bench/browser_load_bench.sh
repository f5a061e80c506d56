#!/usr/bin/env bash
# Loads 100 gimp-help-fr pages from the test server into one browser view and
# compares pages per second with curl fetching the same pages.
# Usage: bench/browser_load_bench.sh BUILD_DIR (Wine environment already set).
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
gimp=${SV_NET_GIMP_ROOT:-$here/../build/sample-src/usr/share/gimp/2.0/help/fr}
dir=$(mktemp -d)
servers=$here/../tests/base/procedural/net_servers.sh
trap 'bash "$servers" stop "$dir"; rm -rf "$dir"' EXIT
(cd "$gimp" && ls *.html | sort | head -100) >"$dir/pages"
bash "$servers" start "$dir"
read -r origin proxy <"$dir/ports"
# The bench writes its trace log in the current folder.
ours=$(cd "$dir" && SV_NET_DIR=$dir wine "$build/bench/bench_browser_load.exe" <"$dir/pages" | tr -d '\r' |
  tee /dev/stderr | sed -n 's/.*, \([0-9.]*\) pages\/s$/\1/p')
start=$(date +%s.%N)
while read -r page; do
  curl -s -o /dev/null "http://127.0.0.1:$origin/static/gimp/$page"
done <"$dir/pages"
theirs=$(python3 -c "import sys,time; print('%.1f' % (100 / (time.time() - $start)))")
echo "curl: $theirs pages/s"
python3 -c "print('ratio (view / curl): %.2f' % ($ours / $theirs))"
