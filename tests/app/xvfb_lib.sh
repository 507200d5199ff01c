# Shared by the tests that drive the real window on Xvfb with Qt's xcb platform (POSIX sh,
# sourced): the X server and the bus, the window, its pixels, real clicks and keys.

. "$(dirname "$0")/../common/bus_lib.sh"

# Exits 77 (skipped) where the X tools are not installed.
require_x_tools() {
    for tool in xvfb-run xauth xdotool /usr/bin/import /usr/bin/convert; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed (Debian: xvfb xauth xdotool imagemagick)"
            exit 77
        fi
    done
}

# Re-runs the calling script once under Xvfb, on a private session bus that starts with the
# environment of the call.
run_under_xvfb() {
    [ -z "${POINTILLO_XVFB:-}" ] || return 0
    require_x_tools
    POINTILLO_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- sh "$0" "$@"
}

# Sets window to a visible window named Pointillo: the main window (1018 pixels wide) for
# $1 = main, a message box for $1 = box.  Fails (1) while there is none, and for good when
# pointillo ($pid) has ended.
find_window() {
    widths=""
    for w in $(xdotool search --onlyvisible --name '^Pointillo$' 2>/dev/null); do
        width=$(xdotool getwindowgeometry --shell "$w" 2>/dev/null | sed -n 's/^WIDTH=//p')
        widths="$widths $width"
        case "$1:$width" in
            main:1018) window=$w && return 0 ;;
            box:1018 | box:) ;;
            box:*) window=$w && return 0 ;;
        esac
    done
    alive "$pid" || fail "pointillo ended before its $1 window appeared"
    return 1
}

# Waits up to 30 s for the window of find_window and prints its id.
wait_window() {
    within 300 find_window "$1" || fail "no $1 window within 30 s; widths seen:${widths:- none}"
    echo "$window"
}

shown() { xdotool search --onlyvisible --name '^Pointillo$' 2>/dev/null | grep -qx "$1"; }
hidden() { ! shown "$1"; }

# Answers the message box that comes up with key $1, and waits until it has gone.
answer_box() {
    box=$(wait_window box)
    xdotool windowfocus --sync "$box"
    xdotool key "$1"
    within 150 hidden "$box" || fail "the message box stayed after $1"
}

# Colour of pixel ($1, $2) of window $wid as r,g,b.
pixel() {
    /usr/bin/import -window "$wid" "$work/shot.png"
    /usr/bin/convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}

pixel_is() { seen="$(pixel "$1" "$2")" && [ "$seen" = "$3" ]; }

# Waits until pixel ($1, $2) shows colour $3 (150 looks: 15 s and more, for a loaded machine);
# fails naming it $4 otherwise.
expect_pixel() { within 150 pixel_is "$1" "$2" "$3" || fail "$4 is $seen, expected $3"; }

# A real click of button $3 at position ($1, $2) of window $wid.
click() {
    xdotool mousemove --window "$wid" "$1" "$2"
    sleep 0.2
    xdotool click "$3"
}

# The answer of GlyphCodes on $document is $1.
glyphs_are() { [ "$(call_doc "$document" GlyphCodes 2>/dev/null)" = "$1" ]; }

# Real keys ($@) to window $wid: no window manager gives it the focus, so it is given here.
keys() {
    xdotool windowfocus --sync "$wid"
    xdotool key "$@"
}

# Waits up to 10 s for pointillo ($pid) to end; fails on a sanitizer report in its log, and
# on an exit status other than $1 when given.
wait_pointillo_gone() {
    wait_gone "$pid" 100 || fail "pointillo did not end"
    status=0
    wait "$pid" || status=$?
    pid=""
    no_sanitizer_report "$work/log"
    [ "$status" = "${1:-$status}" ] || fail "pointillo ended with status $status"
}
