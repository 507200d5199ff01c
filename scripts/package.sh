#!/bin/sh
# Makes the Debian package and prints its path (pointillo_<version>_<arch>.deb).
#   scripts/package.sh            installs what is missing, builds Release into build/package
#   scripts/package.sh BUILD-DIR  packs a tree that is already built (the tests pack theirs)
set -eu
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
    sh scripts/install-deps.sh package
    build=build/package
    # Debian's hardening flags, as its own packages are built with them; CMake reads no
    # CPPFLAGS.
    eval "$(dpkg-buildflags --export=sh)"
    export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPOINTILLO_BUILD_TESTS=OFF \
        -DPOINTILLO_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)"
else
    build=$1
fi

log="$build/cpack.log"
if ! (cd "$build" && cpack) >"$log" 2>&1; then
    cat "$log" >&2
    echo "cpack failed" >&2
    exit 1
fi
sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$log"
