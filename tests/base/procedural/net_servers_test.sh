#!/usr/bin/env bash
# Checks the test servers' fixture itself: a stale pid file names no stranger,
# a taken proxy port is passed over, and the servers end with their owner.
# Usage: net_servers_test.sh DIR (a folder of its own).
set -uo pipefail
dir=$1
script=$(cd "$(dirname "$0")" && pwd)/net_servers.sh
failures=0
helpers=()
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Alive and not a zombie that nobody reaped.
alive() {
  local state
  state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)
  [ -n "$state" ] && [ "$state" != Z ]
}
cleanup() {
  bash "$script" stop "$dir/servers" >/dev/null 2>&1
  for pid in "${helpers[@]}"; do
    kill "$pid" 2>/dev/null
  done
}
trap cleanup EXIT
rm -rf "$dir"
mkdir -p "$dir/servers"

# A pid file left from an old run whose number now belongs to another program.
sleep 60 &
stranger=$!
helpers+=("$stranger")
echo "$stranger" >"$dir/servers/origin.pid"
echo "$stranger" >"$dir/servers/tinyproxy.pid"
bash "$script" stop "$dir/servers"
alive "$stranger" || fail "stop killed a process it did not start"

# A proxy port taken by someone else between its choice and tinyproxy's bind.
python3 -c '
import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(1)
open(sys.argv[1], "w").write(str(s.getsockname()[1])); time.sleep(60)' "$dir/taken" &
helpers+=("$!")
for _ in $(seq 50); do [ -s "$dir/taken" ] && break; sleep 0.1; done
taken=$(cat "$dir/taken")

# The owner is a shell that starts the servers and then lives on as "sleep".
SV_NET_PROXY_PORT=$taken bash -c 'bash "$0" start "$1" && exec sleep 60' "$script" "$dir/servers" &
owner=$!
helpers+=("$owner")
for _ in $(seq 200); do [ -f "$dir/servers/ports" ] && break; sleep 0.1; done
if [ ! -f "$dir/servers/ports" ]; then
  fail "the servers did not start"
  exit 1
fi
read -r _ proxy_port <"$dir/servers/ports"
[ "$proxy_port" != "$taken" ] || fail "the proxy port is one another program listens on"
origin=$(cat "$dir/servers/origin.pid")
tinyproxy=$(cat "$dir/servers/tinyproxy.pid")
alive "$tinyproxy" || fail "tinyproxy is not running"

kill "$owner"
wait "$owner" 2>/dev/null
for _ in $(seq 100); do
  alive "$origin" || alive "$tinyproxy" || break
  sleep 0.1
done
alive "$origin" && fail "the origin server outlived its owner"
alive "$tinyproxy" && fail "tinyproxy outlived its owner"
exit $((failures > 0))
