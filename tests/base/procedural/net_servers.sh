#!/usr/bin/env bash
# Starts or stops the servers of the HTTP client tests: the origin server and a
# tinyproxy instance with Basic authentication, both on free 127.0.0.1 ports.
# Usage: net_servers.sh start|stop DIR. "start" writes DIR/ports ("origin proxy").
# The servers end with the process that ran "start" (ctest) even when "stop" never runs.
set -euo pipefail
action=$1 dir=$2
here=$(cd "$(dirname "$0")" && pwd)

# True when pid runs a command line holding text: a stale pid file never names a stranger.
ours() {
  [ -n "$1" ] && [ -r "/proc/$1/cmdline" ] && tr '\0' ' ' <"/proc/$1/cmdline" | grep -qF -- "$2"
}

# Alive and not a zombie that nobody reaped.
alive() {
  local state
  state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)
  [ -n "$state" ] && [ "$state" != Z ]
}

# True when process pid listens on 127.0.0.1:port, not merely someone else.
listens() {
  local inode
  for inode in $(awk -v p="$(printf '0100007F:%04X' "$2")" '$2 == p && $4 == "0A" {print $10}' /proc/net/tcp); do
    ls -l "/proc/$1/fd" 2>/dev/null | grep -qF "socket:[$inode]" && return 0
  done
  return 1
}

stop() {
  for entry in "watchdog:net_servers.sh start $dir" "origin:net_server.py" "tinyproxy:tinyproxy"; do
    f=$dir/${entry%%:*}.pid
    if [ -f "$f" ]; then
      pid=$(cat "$f")
      if ours "$pid" "${entry#*:}"; then
        kill "$pid" 2>/dev/null || true
      fi
      rm -f "$f"
    fi
  done
}

if [ "$action" = stop ]; then
  stop
  exit 0
fi

owner=$PPID
stop
mkdir -p "$dir"
rm -f "$dir/ports" "$dir/origin.port"
python3 "$here/net_server.py" "$dir/origin.port" >"$dir/origin.log" 2>&1 &
origin=$!
echo "$origin" >"$dir/origin.pid"

if [ "$(id -u)" -eq 0 ]; then
  chmod a+rwx "$dir"
fi
# The port is picked free, then bound by tinyproxy: another program may take it
# in between, so a tinyproxy that does not come to listen on it gets another one.
proxy_port=${SV_NET_PROXY_PORT:-}
tinyproxy=
for _ in 1 2 3 4 5; do
  if [ -z "$proxy_port" ]; then
    proxy_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
  fi
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
  fi
  tinyproxy -d -c "$dir/tinyproxy.conf" >"$dir/tinyproxy.out" 2>&1 &
  pid=$!
  echo "$pid" >"$dir/tinyproxy.pid"
  for _ in $(seq 50); do
    if listens "$pid" "$proxy_port"; then
      tinyproxy=$pid
      break 2
    fi
    alive "$pid" || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  proxy_port=
done

if [ -n "$tinyproxy" ]; then
  (
    while alive "$owner" && { ours "$origin" net_server.py || ours "$tinyproxy" tinyproxy; }; do
      sleep 1
    done
    ours "$origin" net_server.py && kill "$origin" 2>/dev/null
    ours "$tinyproxy" tinyproxy && kill "$tinyproxy" 2>/dev/null
    true
  ) </dev/null >/dev/null 2>&1 &
  echo $! >"$dir/watchdog.pid"
  for _ in $(seq 100); do
    if [ -f "$dir/origin.port" ]; then
      echo "$(cat "$dir/origin.port") $proxy_port" >"$dir/ports"
      exit 0
    fi
    sleep 0.1
  done
fi
echo "net_servers: servers did not start" >&2
cat "$dir/origin.log" "$dir/tinyproxy.out" >&2 || true
stop
exit 1
