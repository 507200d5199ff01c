#!/bin/sh
# What `cmake --install` gives a desktop: both programs, the D-Bus service file that starts
# the installed server, the menu entry, the icon and the software-centre description, each
# passing the freedesktop validators without a remark.
#   installed_files.sh <build-dir>
set -eu
. "$(dirname "$0")/../common/bus_lib.sh"
build="${1:?usage: installed_files.sh <build-dir>}"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (Debian: desktop-file-utils)"
command -v appstreamcli >/dev/null || fail "appstreamcli is missing (Debian: appstream)"

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail_logs="$prefix/log"
cmake --install "$build" --prefix "$prefix" >"$prefix/log" 2>&1 || fail "cmake --install"
: >"$prefix/log"

for program in pointillo pointillo-fontd; do
    [ -x "$prefix/bin/$program" ] || fail "$program is not installed"
done
share="$prefix/share"
service="$share/dbus-1/services/TTEdit.Application.service"
grep -qx 'Name=TTEdit.Application' "$service" || fail "$service does not name TTEdit.Application"
grep -qx "Exec=$prefix/bin/pointillo-fontd" "$service" ||
    fail "$service does not start the installed server: $(grep Exec "$service")"

id=org.marrowby.Pointillo
desktop="$share/applications/$id.desktop"
desktop-file-validate "$desktop" >"$prefix/log" 2>&1 && [ ! -s "$prefix/log" ] ||
    fail "desktop-file-validate $desktop"
grep -qx "Exec=$prefix/bin/pointillo" "$desktop" || fail "$desktop does not run the installed program"
icon="$share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$desktop").svg"
/usr/bin/python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1]).getElementsByTagName("svg")[0]' \
    "$icon" || fail "the entry's icon is not an SVG in the hicolor theme"

metainfo="$share/metainfo/$id.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$prefix/log" 2>&1 && ! grep -q '^[IWE]:' "$prefix/log" ||
    fail "appstreamcli validate --no-net $metainfo"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "$metainfo does not launch $id.desktop"
echo "PASS"
