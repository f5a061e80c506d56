#!/usr/bin/env bash
# Fetches a 5 MB answer of the test server into a file through the web
# engine's connection and through Wine's WinINet, and prints the ratio of the
# medians. Usage: bench/net_fetch_bench.sh BUILD_DIR (Wine environment already set).
set -euo pipefail
source "$(dirname "$0")/net_bench_servers.sh"
# The bench writes its files and its trace log in the current folder.
cd "$dir" && SV_NET_DIR=$dir wine "$build/bench/bench_net_fetch.exe" | tr -d '\r'
