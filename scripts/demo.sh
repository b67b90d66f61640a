#!/usr/bin/env bash
# The main job: builds dbgauge and runs the reference host against it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/setup.sh
scripts/build.sh build
build/stage/bin/dbgauge check
