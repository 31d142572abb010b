# What the machine offers, as the player and support see it: _debug.txt next
# to the exe (Shift-JIS, CR LF, the file form) and the information box (the
# dialog form), both from the platform's real Direct3D, DxDiag and memory.
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"
start_display
game=$E2E_WORK/game
install_tool "$game"
mkdir -p "$E2E_WORK/elsewhere"

log "started from another directory: _debug.txt is written next to the exe"
start_tool "$game" "$E2E_WORK/elsewhere"
wait_dialog >/dev/null
drv nomsgbox
[ ! -e "$E2E_WORK/elsewhere/_debug.txt" ] || fail "_debug.txt written to the working directory"
check_debug_txt "$game/_debug.txt"
file_fields=$REPORT_FIELDS
log "file: $file_fields"
grep -q $'\xe8\xb5\xb7\xe5\x8b\x95' "$game/_debug.txt" && fail "_debug.txt holds UTF-8, not Shift-JIS"

log "the information box holds the dialog form"
report_box_to "$E2E_WORK/box.txt"
crlf_only "$E2E_WORK/box.txt" || fail "the information box's lines do not end in CR LF"
tr -d '\r' < "$E2E_WORK/box.txt" > "$E2E_WORK/box.lf"
check_report dialog "$E2E_WORK/box.lf"
[ "$REPORT_FIELDS" = "$file_fields" ] ||
    fail "the two forms disagree: box '$REPORT_FIELDS', file '$file_fields'"

log "defaults refill the dialog and rewrite _debug.txt"
rm "$game/_debug.txt"
click_done $IDC_DEFAULT
check_debug_txt "$game/_debug.txt"
drv click $IDC_CANCEL
wait_tool
is "the exit code after cancel" "$TOOL_RC" 1
log "pass"
