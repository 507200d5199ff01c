# With a display the server shows its window: hwnd answers the window's X11 id, the title
# carries the font's name and "*" while it is unsaved.  Runs under Xvfb; skipped (77) where
# Xvfb is not installed.
. "$(dirname "$0")/fontd_lib.sh"

if [ -z "${FONTD_TEST_DISPLAY:-}" ]; then
    command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
    rm -rf "$work"
    FONTD_TEST_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi
run_on_private_bus "$@"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY under xvfb-run"

"$fontd" 2>"$work/server.err" &
pid=$!
wait_for_name 300 || fail "the server did not start: $(cat "$work/server.err")"

window=$(call_app hwnd | sed -n 's/^i \(-*[0-9][0-9]*\)$/\1/p')
[ -n "$window" ] && [ "$window" -ne 0 ] || fail "hwnd answered '$window' with a display"
# X11 ids are unsigned; an int32 may have wrapped.
[ "$window" -gt 0 ] || window=$((window + 4294967296))

title() {
    xprop -id "$window" _NET_WM_NAME WM_NAME 2>/dev/null
}

# Qt sets the title and maps the window asynchronously: poll.
expect_title() {
    tries=50
    while ! title | grep -q -- "$1"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "title does not match '$1': $(title)"
        sleep 0.1
    done
}

expect_title 'pointillo-fontd'
document=$(new_file 1)
[ -n "$document" ] || fail "NewFile"
expect_title 'Untitled (Western)'
call_doc "$document" selectall || fail "selectall"
call_doc "$document" Delete || fail "Delete"
expect_title 'Untitled\* (Western)'
call_doc "$document" SaveAs s "$work/shown.ttf" || fail "SaveAs"
expect_title 'shown.ttf (Western)'

xwininfo -id "$window" | grep -q 'Map State: IsViewable' || fail "the window is not mapped"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM: $(cat "$work/server.err")"
no_sanitizer_report "$work/server.err"
echo "PASS"
