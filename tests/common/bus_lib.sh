# Shared by the shell-level tests (POSIX sh, sourced): failing with the logs, the font
# server's members through busctl, waiting for the bus name and for processes.

# fail_logs: files shown after the failure, when they exist.
fail_logs=""

fail() {
    echo "FAIL: $*" >&2
    for log in $fail_logs; do
        [ -f "$log" ] || continue
        echo "--- $log:" >&2
        cat "$log" >&2
    done
    exit 1
}

call_app() {
    member=$1
    shift
    busctl --user --timeout=30 call TTEdit.Application /Application TTEdit.Application "$member" "$@"
}

call_doc() {
    document=$1
    member=$2
    shift 2
    busctl --user --timeout=30 call TTEdit.Application "$document" TTEdit.Document "$member" "$@"
}

# NewFile of kind $1 (1 Western, 0 Japanese): the new document's object path, empty when
# there is none.
new_file() {
    call_app NewFile nb "$1" true | object_path
}

# The object path in a busctl answer 'o "PATH"'.
object_path() {
    sed -n 's/^o "\(.*\)"$/\1/p'
}

name_has_owner() {
    busctl --user call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus \
        NameHasOwner s TTEdit.Application 2>/dev/null | grep -q true
}

# Runs the command $2... every tenth of a second until it succeeds, at most $1 times; fails
# (status 1) when it never does.
within() {
    tries=$1
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

no_owner() { ! name_has_owner; }

# Waits up to $1 tenths of a second for the name to get an owner, or to lose it.
wait_for_name() { within "$1" name_has_owner; }
wait_for_no_name() { within "$1" no_owner; }

# True while process $1 exists and is not a zombie.
alive() {
    state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
    case "$state" in
        Z*) return 1 ;;
        *) return 0 ;;
    esac
}

gone() { ! alive "$1"; }

# Waits up to $2 tenths of a second for process $1 to end.
wait_gone() { within "$2" gone "$1"; }

# The sanitizers report on stderr; their reports count as failures even when the exit status
# happens to be right.
no_sanitizer_report() {
    if grep -q -e 'AddressSanitizer' -e 'LeakSanitizer' -e 'runtime error:' "$1"; then
        cat "$1" >&2
        fail "sanitizer report in $1"
    fi
}
