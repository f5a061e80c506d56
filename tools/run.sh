#!/usr/bin/env bash
# Runs the reader on the sample encyclopedia.
set -euo pipefail
echo "run: the reader program does not exist yet; only the foundation library and its tests are built."
