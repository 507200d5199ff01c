#!/bin/sh
# Installs the Debian 12 packages Pointillo needs that are not installed yet.
#   scripts/install-deps.sh build|package|test|all
# Runs apt-get as root, through sudo when not root.  Does nothing when all are present.
set -eu

# qt6-tools-dev with qt6-tools-dev-tools and qt6-l10n-tools: Qt's CMake functions for the
# translations and lupdate and lrelease, which build translations/*.ts into the programs.
build="cmake g++ make pkg-config qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
       libfreetype-dev zlib1g-dev libwoff-dev dbus-daemon dbus-bin"
# libqt6svg6: Qt's SVG image plugin, which draws the program's icon (windows, about box).
# qt6-translations-l10n: Qt's own texts (file dialogs, Yes and No) in the user's language.
run="fontconfig fonts-dejavu-core fonts-liberation2 fonts-ipafont-gothic libqt6svg6
     qt6-translations-l10n"
# dpkg-shlibdeps (dpkg-dev) and file find the package's library dependencies for cpack;
# lintian checks the package in the tests.
package="dpkg-dev file"
package_check="lintian"
# busctl comes with systemd, gdbus with libglib2.0-bin, xprop and xwininfo with x11-utils;
# desktop-file-utils and appstream validate the installed menu entry and metainfo; bdftopcf
# (xfonts-utils) compiles the exported BDF fonts; xfonts-intl-japanese holds the 16-dot JIS X 0208
# font that bench_fontreader reads; hb-view (libharfbuzz-bin) sets a line of text in a built font.
test="dbus-daemon opentype-sanitizer python3-fonttools python3-brotli python3-freetype python3-numpy
      systemd libglib2.0-bin procps xvfb xauth xdotool x11-utils imagemagick
      desktop-file-utils appstream xfonts-utils xfonts-intl-japanese libharfbuzz-bin"

case "${1:-build}" in
    build) want="$build $run" ;;
    package) want="$build $run $package" ;;
    test | all) want="$build $run $package $package_check $test" ;;
    *) echo "usage: $0 build|package|test|all" >&2; exit 2 ;;
esac

missing=""
for p in $want; do
    if ! dpkg-query -W -f '${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "Missing packages:$missing" >&2
    echo "Run this script as root, or install sudo." >&2
    exit 1
fi

echo "Installing:$missing"
$as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
# shellcheck disable=SC2086
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
