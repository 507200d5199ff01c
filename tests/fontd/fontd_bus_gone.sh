# An activated server ends by itself when its bus goes away: no pointillo-fontd is left
# behind once dbus-run-session has finished.
. "$(dirname "$0")/fontd_lib.sh"

dbus-run-session -- sh -c '
    busctl --user --timeout=30 call TTEdit.Application /Application TTEdit.Application \
        ActiveDocument >/dev/null || exit 1
    busctl --user call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus \
        GetConnectionUnixProcessID s TTEdit.Application' >"$work/pid" ||
    fail "the server could not be activated"
pid=$(sed -n 's/^u \([0-9][0-9]*\)$/\1/p' "$work/pid")
[ -n "$pid" ] || fail "no process id in: $(cat "$work/pid")"
wait_gone "$pid" 100 || fail "pointillo-fontd $pid still runs 10 s after its bus ended"
echo "PASS"
