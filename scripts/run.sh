#!/usr/bin/env bash
# Installs what is missing, builds Lumavo in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DLUMAVO_BUILD_TESTS=OFF
exec ./build/lumavo "$@"
