# A font on the command line that cannot be read, or a wrong option, gives a message and a
# failure status: never a crash, and the name stays free.
. "$(dirname "$0")/fontd_lib.sh"
run_on_private_bus "$@"

# A real font of the server's own, to cut short.
document=$(new_file 1)
[ -n "$document" ] || fail "NewFile"
call_doc "$document" SaveAs s "$work/good.ttf" || fail "SaveAs"
call_app Quit || fail "Quit"
wait_for_no_name 50 || fail "the first server did not quit"
size=$(wc -c <"$work/good.ttf")
[ "$size" -gt 100 ] || fail "the saved font is only $size bytes"

head -c $((size / 2)) "$work/good.ttf" >"$work/half.ttf"
head -c 12 "$work/good.ttf" >"$work/header-only.ttf"
printf 'This is not a font at all, just some text.\n' >"$work/text.ttf"
head -c 4096 /dev/urandom >"$work/random.ttf"
: >"$work/empty.ttf"
mkdir "$work/folder.ttf"

expect_refusal() {
    label=$1
    shift
    status=0
    timeout 60 "$fontd" --headless "$@" >/dev/null 2>"$work/err" || status=$?
    [ "$status" -ne 0 ] || fail "$label: exit status 0"
    [ "$status" -ne 124 ] || fail "$label: did not end"
    [ "$status" -lt 128 ] || fail "$label: died of a signal (status $status)"
    [ -s "$work/err" ] || fail "$label: no message"
    no_sanitizer_report "$work/err"
    ! name_has_owner || fail "$label: the name was claimed"
    echo "ok $label: $(head -n 1 "$work/err")"
}

expect_refusal "truncated font" "$work/half.ttf"
expect_refusal "header only" "$work/header-only.ttf"
expect_refusal "text" "$work/text.ttf"
expect_refusal "random bytes" "$work/random.ttf"
expect_refusal "empty file" "$work/empty.ttf"
expect_refusal "folder" "$work/folder.ttf"
expect_refusal "missing file" "$work/missing.ttf"
expect_refusal "unknown option" --frobnicate
expect_refusal "two files" "$work/good.ttf" "$work/good.ttf"

# The good font opens, and the document carries its name.
"$fontd" --headless "$work/good.ttf" 2>"$work/good.err" &
pid=$!
wait_for_name 300 || fail "the server with a good font did not start: $(cat "$work/good.err")"
active=$(call_app ActiveDocument | object_path)
call_doc "$active" FileName | grep -q "good.ttf" || fail "the opened font has another name"
call_app Quit || fail "Quit"
wait "$pid" || fail "the server with a good font ended with status $?"
no_sanitizer_report "$work/good.err"
echo "PASS"
