# A DISPLAY that cannot be opened (a stale one in the bus's activation environment) leaves a
# server without a window: it answers, hwnd is 0, and it ends cleanly.
. "$(dirname "$0")/fontd_lib.sh"
run_on_private_bus "$@"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# A display number nobody serves.
export DISPLAY=:87

"$fontd" 2>"$work/server.err" &
pid=$!
wait_for_name 300 || fail "the server did not start: $(cat "$work/server.err")"
call_app hwnd | grep -q '^i 0$' || fail "hwnd is not 0 without a display"
document=$(new_file 0)
[ -n "$document" ] || fail "NewFile"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$work/server.err")"
no_sanitizer_report "$work/server.err"
echo "PASS"
