#!/usr/bin/env bash
# Starts or stops the servers of the HTTP client tests: the origin server and a
# tinyproxy instance with Basic authentication, both on free 127.0.0.1 ports.
# Usage: net_servers.sh start|stop DIR. "start" writes DIR/ports ("origin proxy").
set -euo pipefail
action=$1 dir=$2
here=$(cd "$(dirname "$0")" && pwd)

stop() {
  for f in "$dir/origin.pid" "$dir/tinyproxy.pid"; do
    if [ -f "$f" ]; then
      kill "$(cat "$f")" 2>/dev/null || true
      rm -f "$f"
    fi
  done
}

if [ "$action" = stop ]; then
  stop
  exit 0
fi

stop
mkdir -p "$dir"
rm -f "$dir/ports" "$dir/origin.port"
python3 "$here/net_server.py" "$dir/origin.port" >"$dir/origin.log" 2>&1 &
echo $! >"$dir/origin.pid"

proxy_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cat >"$dir/tinyproxy.conf" <<CONF
Port $proxy_port
Listen 127.0.0.1
Timeout 30
MaxClients 20
Allow 127.0.0.1
BasicAuth proxyuser proxypass
LogLevel Info
LogFile "$dir/tinyproxy.log"
DisableViaHeader Yes
CONF
if [ "$(id -u)" -eq 0 ]; then
  printf 'User nobody\nGroup nogroup\n' >>"$dir/tinyproxy.conf"
  chmod a+rwx "$dir"
fi
tinyproxy -d -c "$dir/tinyproxy.conf" >"$dir/tinyproxy.out" 2>&1 &
echo $! >"$dir/tinyproxy.pid"

for _ in $(seq 100); do
  if [ -f "$dir/origin.port" ] && (exec 3<>"/dev/tcp/127.0.0.1/$proxy_port") 2>/dev/null; then
    echo "$(cat "$dir/origin.port") $proxy_port" >"$dir/ports"
    exit 0
  fi
  sleep 0.1
done
echo "net_servers: servers did not start" >&2
cat "$dir/origin.log" "$dir/tinyproxy.out" >&2 || true
stop
exit 1
