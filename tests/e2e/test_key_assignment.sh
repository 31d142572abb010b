# Keys assigned the way a player does it: "設定開始", real key presses through
# X into the Wine desktop (read by DirectInput), "設定終了", "更新"; the codes
# land in setup.dat at the actions' positions and the names show beside them.
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"
start_display
game=$E2E_WORK/game
install_tool "$game"
start_tool "$game"
wait_dialog >/dev/null
drv nomsgbox
drv activate

log "a key pressed before \"設定開始\" is not assigned"
press k
keys_taken
is "slot 0 before the assignment began" "$(drv text $IDC_P1_EDIT_UP)" "↑"

begin_assignment
is "設定開始 enabled after its click" "$(drv enabled $IDC_BEGIN_ASSIGN_1P)" 0
is "設定終了 enabled" "$(drv enabled $IDC_END_ASSIGN_1P)" 1
is "the checked slot" "$(checked_slot)" 0
is "the control with the focus" "$(drv focused)" "$IDC_P1_RADIO_UP"
is "the main window active" "$(drv active)" 1

# Three actions, three keys; each press moves the check on.
keys=(k 1 F5)
names=(K 1 F5)
codes=(25 02 3f)
for slot in 0 1 2; do
    press "${keys[$slot]}"
    wait_text "${SLOT_EDITS[$slot]}" "${names[$slot]}"
    next_slot $((slot + 1))
done
is "slot 3" "$(drv text $IDC_P1_EDIT_RIGHT)" "→"

click_done $IDC_END_ASSIGN_1P
is "設定開始 enabled after 設定終了" "$(drv enabled $IDC_BEGIN_ASSIGN_1P)" 1
is "the control with the focus after 設定終了" "$(drv focused)" "$IDC_REPORT"
log "after \"設定終了\" a press assigns nothing"
press m
keys_taken
is "slot 3 after a press past 設定終了" "$(drv text $IDC_P1_EDIT_RIGHT)" "→"

drv click $IDC_UPDATE
wait_tool
is "the exit code after update" "$TOOL_RC" 1
cp "$DEFAULT_RECORD" "$E2E_WORK/expected.dat"
for slot in 0 1 2; do
    printf "\\x${codes[$slot]}" | dd of="$E2E_WORK/expected.dat" bs=1 seek="$(binding_offset $slot)" conv=notrunc status=none
    is "the binding stored for slot $slot" "$(hex_of "$game/setup.dat" "$(binding_offset $slot)" 4)" "${codes[$slot]}000000"
done
cmp "$game/setup.dat" "$E2E_WORK/expected.dat" || fail "setup.dat differs beyond the three bindings"
log "pass"
