# "デフォルト" pressed while an assignment runs, as a player meets it: the
# directions forced, "設定開始", one key, then "デフォルト". The assignment
# must be over afterwards (a running one with both buttons disabled left the
# player no way out), the defaults shown, and the next "設定開始" must work.
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"
start_display
game=$E2E_WORK/game
install_tool "$game"
start_tool "$game"
wait_dialog >/dev/null
drv nomsgbox
drv activate

DEFAULT_NAMES="↑ ↓ ← → Z X C V A S Q W ESCAPE"
STICK_NAMES="PAD1-↑ PAD1-↓ PAD1-← PAD1-→"

log "directions forced, \"設定開始\", Q"
drv setcheck $IDC_FORCE_DIR_1P 1
begin_assignment
is "the names once the assignment began" "$(slot_names)" "$STICK_NAMES Z X C V A S Q W ESCAPE"
is "the checked slot" "$(checked_slot)" 4
press q
wait_text "${SLOT_EDITS[4]}" Q
next_slot 5

log "\"デフォルト\" during the assignment"
click_done $IDC_DEFAULT

# not_assigning WHEN: the dialog as a player finds it with no assignment running.
not_assigning() {
    is "設定開始 enabled $1" "$(drv enabled $IDC_BEGIN_ASSIGN_1P)" 1
    is "the forced-direction box enabled $1" "$(drv enabled $IDC_FORCE_DIR_1P)" 1
    is "設定終了 enabled $1" "$(drv enabled $IDC_END_ASSIGN_1P)" 0
    is "the radios' checks $1" "$(drv checks "${SLOT_RADIOS[@]}")" "1 0 0 0 0 0 0 0 0 0 0 0 0"
    local slot
    for slot in "${!SLOT_RADIOS[@]}"; do
        is "radio of slot $slot enabled $1" "$(drv enabled "${SLOT_RADIOS[$slot]}")" 0
    done
    is "the names $1" "$(slot_names)" "$DEFAULT_NAMES"
}
not_assigning "after デフォルト"
is "the forced-direction box after デフォルト" "$(drv check $IDC_FORCE_DIR_1P)" 1

log "W and E pressed change nothing"
press w
press e
keys_taken
not_assigning "after W and E"

log "the next \"設定開始\" works"
begin_assignment
is "設定開始 enabled after its second click" "$(drv enabled $IDC_BEGIN_ASSIGN_1P)" 0
is "設定終了 enabled after the second 設定開始" "$(drv enabled $IDC_END_ASSIGN_1P)" 1
is "the names once the second assignment began" "$(slot_names)" "$STICK_NAMES Z X C V A S Q W ESCAPE"
is "the checked slot in the second assignment" "$(checked_slot)" 4
is "the control with the focus" "$(drv focused)" "$IDC_P1_RADIO_A"
press r
wait_text "${SLOT_EDITS[4]}" R
next_slot 5
click_done $IDC_END_ASSIGN_1P

drv click $IDC_UPDATE
wait_tool
is "the exit code after update" "$TOOL_RC" 1
cp "$DEFAULT_RECORD" "$E2E_WORK/expected.dat"
for slot in 0 1 2 3; do
    put_le32 "$E2E_WORK/expected.dat" "$(binding_offset $slot)" $((0x10100 + slot))
done
put_le32 "$E2E_WORK/expected.dat" "$(binding_offset 4)" 0x13
put_byte "$E2E_WORK/expected.dat" 269 1
cmp "$game/setup.dat" "$E2E_WORK/expected.dat" ||
    fail "setup.dat is not the defaults with the stick on the directions and R on A"
log "pass"
