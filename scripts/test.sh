#!/usr/bin/env bash
# Installs what is missing, builds everything (benchmarks included, so they keep compiling) and
# runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
werror=OFF; [ "${CI:-}" = "true" ] && werror=ON
bash scripts/build.sh build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMAVO_BUILD_TESTS=ON -DLUMAVO_BUILD_BENCH=ON -DLUMAVO_WERROR=$werror
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-test --output-on-failure -j "$(nproc)"
