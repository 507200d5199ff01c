#!/bin/sh
# What `cmake --install` gives a desktop: both programs, the D-Bus service file that starts
# the installed server, the menu entry, the icon and the software-centre description, each
# passing the freedesktop validators without a remark, and the man pages.
#   installed_files.sh <build-dir>              installed into a temporary prefix
#   installed_files.sh --installed <prefix>     as a package installed them
set -eu
. "$(dirname "$0")/../common/bus_lib.sh"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (Debian: desktop-file-utils)"
command -v appstreamcli >/dev/null || fail "appstreamcli is missing (Debian: appstream)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail_logs="$work/log"
if [ "${1:-}" = --installed ]; then
    prefix="${2:?usage: installed_files.sh --installed <prefix>}"
else
    prefix="$work/prefix"
    cmake --install "${1:?usage: installed_files.sh <build-dir>}" --prefix "$prefix" >"$work/log" 2>&1 ||
        fail "cmake --install"
fi
: >"$work/log"

for program in pointillo pointillo-fontd; do
    [ -x "$prefix/bin/$program" ] || fail "$program is not installed"
    [ -s "$prefix/share/man/man1/$program.1.gz" ] || fail "$program has no man page"
done
share="$prefix/share"
service="$share/dbus-1/services/TTEdit.Application.service"
grep -qx 'Name=TTEdit.Application' "$service" || fail "$service does not name TTEdit.Application"
# The server's own program, which pointillo-fontd hands every run but a build over to.
server="$prefix/libexec/pointillo/pointillo-fontd"
[ -x "$server" ] || fail "the font server $server is not installed"
grep -qx "Exec=$server" "$service" ||
    fail "$service does not start the installed server: $(grep Exec "$service")"

id=org.marrowby.Pointillo
desktop="$share/applications/$id.desktop"
desktop-file-validate "$desktop" >"$work/log" 2>&1 && [ ! -s "$work/log" ] ||
    fail "desktop-file-validate $desktop"
grep -qx "Exec=$prefix/bin/pointillo" "$desktop" || fail "$desktop does not run the installed program"
icon="$share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$desktop").svg"
/usr/bin/python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1]).getElementsByTagName("svg")[0]' \
    "$icon" || fail "the entry's icon is not an SVG in the hicolor theme"

metainfo="$share/metainfo/$id.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$work/log" 2>&1 && ! grep -q '^[IWE]:' "$work/log" ||
    fail "appstreamcli validate --no-net $metainfo"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "$metainfo does not launch $id.desktop"
echo "PASS"
