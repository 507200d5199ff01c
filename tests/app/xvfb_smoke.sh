#!/bin/sh
# The real program on a real X server: Xvfb with Qt's xcb platform, on a private session bus
# where pointillo-fontd runs with a font open.  The main window "Pointillo" must appear at its
# full size, show the dot grid, take a real mouse click on the grid, send the glyph to the font
# server with the TTEdit button, and end when told to.
#   xvfb_smoke.sh <bin-dir>
set -eu

if [ "${1:-}" != "--inside" ]; then
    bin="${1:-${POINTILLO_BIN_DIR:-}}"
    [ -x "$bin/pointillo" ] || { echo "no pointillo in '$bin'" >&2; exit 1; }
    for tool in xvfb-run xauth xdotool /usr/bin/import /usr/bin/convert; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed (Debian: xvfb xauth xdotool imagemagick)"
            exit 77
        fi
    done
    exec xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- sh "$0" --inside "$bin"
fi

bin="$2"
work="$(mktemp -d)"
pid=""
server=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "--- pointillo's output:" >&2
    cat "$work/log" >&2 || true
    exit 1
}

# Colour of one window pixel as r,g,b.
pixel() {
    /usr/bin/import -window "$wid" "$work/shot.png"
    /usr/bin/convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}

# Waits up to 5 s until pixel ($1, $2) shows colour $3; fails naming it $4 otherwise.
expect_pixel() {
    i=0
    until seen="$(pixel "$1" "$2")" && [ "$seen" = "$3" ]; do
        [ $i -lt 50 ] || fail "$4 is $seen, expected $3"
        sleep 0.1
        i=$((i + 1))
    done
}

# A real click of button $3 at window position ($1, $2).
click() {
    xdotool mousemove --window "$wid" "$1" "$2"
    sleep 0.2
    xdotool click "$3"
}

call_app() {
    member=$1
    shift
    busctl --user --timeout=30 call TTEdit.Application /Application TTEdit.Application "$member" "$@"
}

# The font server without a window of its own, so that nothing covers the editor, with a
# Western font open: the editor attaches to it and asks nothing.
"$bin/pointillo-fontd" --headless >"$work/fontd.log" 2>&1 &
server=$!
i=0
until call_app ActiveDocument >/dev/null 2>&1; do
    [ $i -lt 100 ] || { cat "$work/fontd.log" >&2; echo "FAIL: no font server" >&2; exit 1; }
    sleep 0.1
    i=$((i + 1))
done
document="$(call_app NewFile nb 1 true | sed -n 's/^o "\(.*\)"$/\1/p')"
[ -n "$document" ] || { echo "FAIL: NewFile gave no document" >&2; exit 1; }

# The editor writes its glyph file beside itself: a copy in the work folder keeps the build's
# bin folder clean.
cp "$bin/pointillo" "$work/pointillo"
QT_QPA_PLATFORM=xcb "$work/pointillo" >"$work/log" 2>&1 &
pid=$!

wid=""
i=0
while [ $i -lt 150 ]; do
    wid="$(xdotool search --onlyvisible --name '^Pointillo$' 2>/dev/null | head -n 1)" || true
    [ -n "$wid" ] && break
    kill -0 "$pid" 2>/dev/null || fail "pointillo ended before its window appeared"
    sleep 0.2
    i=$((i + 1))
done
[ -n "$wid" ] || fail "no window named Pointillo within 30 s"
echo "window $wid: $(xdotool getwindowname "$wid")"

eval "$(xdotool getwindowgeometry --shell "$wid")"
echo "size ${WIDTH}x${HEIGHT}"
[ "$WIDTH" -eq 1018 ] || fail "window width $WIDTH, expected 1018"
menu=$((HEIGHT - 584))
[ "$menu" -gt 0 ] && [ "$menu" -lt 80 ] || fail "window height $HEIGHT leaves no menu bar"

# The grid canvas sits at (8, 80) of the client area.  With 12 x 20 square dots the first
# grid line is canvas column 95, and dot (0, 0) starts at column 96.
expect_pixel $((8 + 95)) $((menu + 80 + 10)) "200,200,200" "grid line pixel"
dotx=$((8 + 96 + 12))
doty=$((menu + 80 + 12))
expect_pixel $dotx $doty "255,255,255" "empty dot pixel"

# A real left click on dot (0, 0) sets it.
click $dotx $doty 1
expect_pixel $dotx $doty "0,0,0" "dot after a click"

# The TTEdit button sends the glyph of code 33 to the font; the grid comes back after it.
click $((136 + 36)) $((menu + 56 + 8)) 1
i=0
until busctl --user call TTEdit.Application "$document" TTEdit.Document GlyphCodes 2>/dev/null |
    grep -q '^ai 1 33$'; do
    [ $i -lt 50 ] || fail "the font has no glyph at 33: $(busctl --user call TTEdit.Application "$document" TTEdit.Document GlyphCodes 2>&1)"
    sleep 0.1
    i=$((i + 1))
done
[ -s "$work/ptl_dots.bmp" ] || fail "no ptl_dots.bmp beside the program"
expect_pixel $((8 + 95)) $((menu + 80 + 10)) "200,200,200" "grid line pixel after the export"

# Right button clears the dot again.
click $dotx $doty 3
expect_pixel $dotx $doty "255,255,255" "dot after a right click"

kill "$pid"
i=0
while kill -0 "$pid" 2>/dev/null; do
    [ $i -lt 50 ] || fail "pointillo did not end"
    sleep 0.1
    i=$((i + 1))
done
pid=""
echo "the window came up, painted, sent a glyph to the font server and ended"
