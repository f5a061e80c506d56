#!/usr/bin/env bash
# Runs the reader on the sample encyclopedia.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
"$root/tools/sample/build.sh"
echo "run: the sample encyclopedia is in build/sample; the reader program does not exist yet, only the libraries and their tests are built."
