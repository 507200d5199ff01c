#!/bin/sh
# Installs what is missing, builds every test with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs them all headless.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh test
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DPOINTILLO_SANITIZE=ON >/dev/null
cmake --build build/asan -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/asan --output-on-failure -j"$(nproc)" "$@"
