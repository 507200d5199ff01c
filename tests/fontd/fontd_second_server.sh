# A second server on a bus where one already owns TTEdit.Application ends at once, with a
# message and a failure status; the first one goes on answering.
. "$(dirname "$0")/fontd_lib.sh"
run_on_private_bus "$@"

call_app ActiveDocument >/dev/null || fail "the first server did not start"
status=0
timeout 60 "$fontd" --headless 2>"$work/second.err" >/dev/null || status=$?
[ "$status" -ne 0 ] || fail "the second server exited with status 0"
[ "$status" -ne 124 ] || fail "the second server did not end by itself"
[ "$status" -lt 128 ] || fail "the second server died of a signal (status $status)"
grep -q 'already owns the name TTEdit.Application' "$work/second.err" ||
    fail "unexpected message: $(cat "$work/second.err")"
no_sanitizer_report "$work/second.err"
call_app ActiveDocument >/dev/null || fail "the first server stopped answering"
call_app Quit || fail "Quit"
echo "PASS"
