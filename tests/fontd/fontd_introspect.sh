# busctl and gdbus see every member of the application object and of a document.
. "$(dirname "$0")/fontd_lib.sh"
run_on_private_bus "$@"

app_members="ActiveDocument NewFile hwnd OpenFile Documents Quit"
doc_members="setcode getcode viewnextcode viewpreviouscode selectall Delete ImportBmpfile
             SetLeftRightSidebearing saved save SaveAs FileName GlyphCodes Close"

# The first call activates the server from the service file.
busctl --user --timeout=30 introspect TTEdit.Application /Application >"$work/app.busctl" ||
    fail "busctl introspect /Application"
gdbus introspect --session --dest TTEdit.Application --object-path /Application \
    >"$work/app.gdbus" || fail "gdbus introspect /Application"
for member in $app_members; do
    grep -q "^\.$member " "$work/app.busctl" || fail "busctl does not show $member"
    grep -q "^ *$member(" "$work/app.gdbus" || fail "gdbus does not show $member"
done
grep -q '^\.NewFile  *method  *nb  *o ' "$work/app.busctl" || fail "NewFile is not (nb) -> o"
grep -q '^\.hwnd  *method  *-  *i ' "$work/app.busctl" || fail "hwnd is not -> i"

document=$(new_file 0)
[ -n "$document" ] || fail "NewFile answered no document"
busctl --user introspect TTEdit.Application "$document" >"$work/doc.busctl" ||
    fail "busctl introspect $document"
gdbus introspect --session --dest TTEdit.Application --object-path "$document" \
    >"$work/doc.gdbus" || fail "gdbus introspect $document"
for member in $doc_members; do
    grep -q "^\.$member " "$work/doc.busctl" || fail "busctl does not show $member"
    grep -q "^ *$member(" "$work/doc.gdbus" || fail "gdbus does not show $member"
done
# Both signatures of setcode.
grep -q '^\.setcode  *method  *nib ' "$work/doc.busctl" || fail "setcode(nib) missing"
grep -q '^\.setcode  *method  *nnb ' "$work/doc.busctl" || fail "setcode(nnb) missing"
grep -q '^\.getcode  *method  *nb  *n ' "$work/doc.busctl" || fail "getcode is not (nb) -> n"
grep -q '^\.FamilyName  *property  *s .*writable' "$work/doc.busctl" ||
    fail "FamilyName is not a writable string property"

# The object tree lists the application and the document.
busctl --user tree TTEdit.Application >"$work/tree" || fail "busctl tree"
grep -q '/Application' "$work/tree" || fail "tree lacks /Application"
grep -q "$document" "$work/tree" || fail "tree lacks $document"

call_app Quit || fail "Quit"
echo "PASS"
