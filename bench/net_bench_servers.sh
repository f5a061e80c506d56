# Sourced by the network benchmarks, with the build folder as $1: sets build
# and dir (a temporary folder holding the test servers' ports file) and starts
# the test servers there until the benchmark exits.
build=$(cd "$1" && pwd)
dir=$(mktemp -d)
servers=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/../tests/base/procedural/net_servers.sh
trap 'bash "$servers" stop "$dir"; rm -rf "$dir"' EXIT
bash "$servers" start "$dir"
