# Shared by the shell-level tests of pointillo-fontd (POSIX sh, sourced).

. "$(dirname "$0")/../common/bus_lib.sh"

fontd="${POINTILLO_BIN_DIR:?POINTILLO_BIN_DIR is not set}/pointillo-fontd"
[ -x "$fontd" ] || { echo "FAIL: $fontd is not built" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Re-runs the calling script on a private session bus of its own, once.
run_on_private_bus() {
    if [ -z "${FONTD_TEST_BUS:-}" ]; then
        rm -rf "$work"
        FONTD_TEST_BUS=1 exec dbus-run-session -- sh "$0" "$@"
    fi
}
