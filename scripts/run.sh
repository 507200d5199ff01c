#!/bin/sh
# Installs what is missing, builds Pointillo and starts it.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh build
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPOINTILLO_BUILD_TESTS=OFF \
    -DPOINTILLO_BUILD_BENCH=OFF >/dev/null
cmake --build build/release -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<'MSG'
Pointillo is built (build/release/bin/pointillo), but there is no display to show it on:
neither DISPLAY nor WAYLAND_DISPLAY is set.  Run it from a desktop session, over ssh -X,
or in a virtual display:
    apt-get install xvfb && xvfb-run -a scripts/run.sh
MSG
    exit 1
fi
exec build/release/bin/pointillo "$@"
