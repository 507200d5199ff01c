# SIGTERM and SIGINT end the server cleanly: exit status 0, no sanitizer report, and the name
# is free for the next one.
. "$(dirname "$0")/fontd_lib.sh"
run_on_private_bus "$@"

for signal in TERM INT; do
    "$fontd" --headless 2>"$work/$signal.err" &
    pid=$!
    wait_for_name 300 || fail "the server did not claim its name"
    document=$(new_file 1)
    [ -n "$document" ] || fail "NewFile"
    kill -"$signal" "$pid"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "SIG$signal: exit status $status: $(cat "$work/$signal.err")"
    no_sanitizer_report "$work/$signal.err"
    wait_for_no_name 50 || fail "the name is still owned after SIG$signal"
done

# Quit over D-Bus ends it the same way, after answering.
"$fontd" --headless 2>"$work/quit.err" &
pid=$!
wait_for_name 300 || fail "the server did not claim its name"
call_app Quit || fail "Quit got no reply"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "Quit: exit status $status"
no_sanitizer_report "$work/quit.err"
echo "PASS"
