#!/bin/sh
# The Debian package of this build tree as a user gets it: lintian finds no error in it, its
# dependencies hold nothing to build with, apt installs it, and installed_files and
# installed_session check what it put into /usr, the session run by a user who cannot write
# there, and every package the running programs loaded from comes with it.  Installing
# changes the machine, so that part runs only as root and when asked for
# (POINTILLO_INSTALL_PACKAGE=1, as CI does); the package, replacing any installed before (one
# left by a run that was killed), is purged again at the end.
#   installed_package.sh <build-dir>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../common/bus_lib.sh"
build="${1:?usage: installed_package.sh <build-dir>}"
work=$(mktemp -d)
# apt's download user and the session's user read from here.
chmod 755 "$work"
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
fail_logs="$work/log"

made=$(sh "$here/../../scripts/package.sh" "$build") || fail "scripts/package.sh $build"
[ -f "$made" ] || fail "scripts/package.sh named no package: '$made'"
name="pointillo_$(dpkg-deb -f "$made" Version)_$(dpkg --print-architecture).deb"
[ "$(basename "$made")" = "$name" ] || fail "the package is $made, not $name"
deb="$work/$name"
cp "$made" "$deb"

lintian --fail-on error "$deb" >"$work/log" 2>&1 || fail "lintian $deb"
sed 's/^/lintian: /' "$work/log"
version=$(dpkg-deb -f "$deb" Version)
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/pointillo/changelog.gz | zcat |
    head -n 1 | grep -q "^pointillo ($version) " || fail "doc/changelog has no entry for $version at its top"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | tr ',|' '\n\n' | grep -q -e '-dev\b' -e '^ *\(g++\|gcc\|cmake\|make\)\b' &&
    fail "the package depends on build tools: $depends"

if [ "$(id -u)" != 0 ] || [ "${POINTILLO_INSTALL_PACKAGE:-}" != 1 ]; then
    echo "SKIP: lintian passed; installing the package needs root and POINTILLO_INSTALL_PACKAGE=1"
    exit 77
fi
cleanup() {
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq pointillo >/dev/null 2>&1 || true
    rm -rf "$work"
}
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/log" 2>&1 ||
    fail "apt-get install $deb"
sh "$here/installed_files.sh" --installed /usr

# The session reads these as its user: copies where that user can.
user="$work/user"
mkdir -p "$user/tests/app" "$user/tests/common" "$user/bin"
cp "$here/installed_session.sh" "$here/xvfb_lib.sh" "$user/tests/app/"
cp "$here/../common/bus_lib.sh" "$user/tests/common/"
cp "$here/../lsan.supp" "$user/"
cp "${POINTILLO_BIN_DIR:?POINTILLO_BIN_DIR is not set}/font_dots" "$user/bin/"
chown -R nobody:nogroup "$user"
HOME="$user" POINTILLO_BIN_DIR="$user/bin" POINTILLO_MAPS="$user/maps" \
    LSAN_OPTIONS="suppressions=$user/lsan.supp:print_suppressions=0" \
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
    sh "$user/tests/app/installed_session.sh" --installed /usr

# Every packaged file the running programs had loaded (libraries, plugins, fonts, Qt's
# translations) belongs to a package that apt installs with this one, or to an essential one:
# a machine that happens to have more installed hides no missing dependency.
apt-cache depends --recurse --no-suggests --no-conflicts --no-breaks --no-replaces \
    --no-enhances pointillo |
    sed -n 's/^ *|\{0,1\}\(PreDepends\|Depends\|Recommends\): //; s/^ *//; s/[<>]//g; p' |
    sort -u >"$work/brought"
awk '$6 ~ /^\// { print $6 }' "$user/maps" | sort -u | xargs dpkg -S 2>/dev/null |
    sed 's/: \/.*//' | tr ',' '\n' | sed 's/^ *//; s/:.*//' | sort -u >"$work/loaded"
for package in $(comm -23 "$work/loaded" "$work/brought"); do
    [ "$(dpkg-query -W -f '${Essential}' "$package")" = yes ] ||
        fail "the programs loaded files of $package, which installing the package does not bring"
done
echo "PASS: lintian, apt install, the installed files and a user's whole job; $(wc -l <"$work/loaded") packages loaded from, all brought"
