#!/bin/sh
# Makes the Debian package and prints its path (pointillo_<version>_<arch>.deb).
#   scripts/package.sh            installs what is missing, builds Release into build/package
#   scripts/package.sh BUILD-DIR  packs a tree that is already built (the tests pack theirs)
set -eu
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
    sh scripts/install-deps.sh package
    build=build/package
    # Debian's flags with all its hardening (bindnow too), given at every configure so that
    # a tree made before takes them; CMake reads no CPPFLAGS.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPOINTILLO_BUILD_TESTS=OFF \
        -DPOINTILLO_BUILD_BENCH=OFF \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
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
