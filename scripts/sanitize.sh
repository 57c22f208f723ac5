#!/usr/bin/env bash
# Builds the engine and its tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
werror=OFF; [ "${CI:-}" = "true" ] && werror=ON
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DLUMAVO_ENGINE_ONLY=ON -DLUMAVO_SANITIZE=ON -DLUMAVO_WERROR=$werror
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build-asan --output-on-failure -j "$(nproc)" -L engine
