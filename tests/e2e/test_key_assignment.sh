# Keys assigned the way a player does it: "設定開始", real key presses through
# X into the Wine desktop (read by DirectInput), "設定終了", "更新"; the codes
# land in setup.dat at the actions' positions and the names show beside them.
. "$(dirname "$0")/lib.sh" "$@"
start_display
game=$E2E_WORK/game
install_tool "$game"
start_tool "$game"
wait_dialog >/dev/null
drv nomsgbox || fail "a message box at start-up"
drv activate
focus_desktop

log "a key pressed before \"設定開始\" is not assigned"
press k
[ "$(drv text 1020)" = "↑" ] || fail "slot 0 changed before the assignment began: $(drv text 1020)"

drv click 1065
for _ in $(seq 50); do [ "$(drv enabled 1065)" = 0 ] && break; sleep 0.1; done
[ "$(drv enabled 1065)" = 0 ] || fail "設定開始 still enabled after its click"
[ "$(drv enabled 1067)" = 1 ] || fail "設定終了 not enabled"
[ "$(drv check 1012)" = 1 ] || fail "slot 0 not checked"
[ "$(drv focused)" = 1012 ] || fail "the focus is on $(drv focused), not on slot 0's radio"
[ "$(drv active)" = 1 ] || fail "the main window is not the active window"

# Three actions, three keys; each press moves the check on.
keys=(k 1 F5)
names=(K 1 F5)
codes=(25 02 3f)
for slot in 0 1 2; do
    press "${keys[$slot]}"
    wait_text "${SLOT_EDITS[$slot]}" "${names[$slot]}"
    for _ in $(seq 20); do [ "$(checked_slot)" = $((slot + 1)) ] && break; sleep 0.1; done
    [ "$(checked_slot)" = $((slot + 1)) ] || fail "after slot $slot the check is on slot $(checked_slot)"
done
[ "$(drv text 1023)" = "→" ] || fail "slot 3 changed: $(drv text 1023)"

drv click 1067
for _ in $(seq 50); do [ "$(drv enabled 1065)" = 1 ] && break; sleep 0.1; done
[ "$(drv enabled 1065)" = 1 ] || fail "設定開始 not enabled again after 設定終了"
[ "$(drv focused)" = 1054 ] || fail "設定終了 left the focus on $(drv focused)"
log "after \"設定終了\" a press assigns nothing"
press m
sleep 0.3
[ "$(drv text 1023)" = "→" ] || fail "a press after 設定終了 was assigned: $(drv text 1023)"

drv click 1046
wait_tool; [ "$TOOL_RC" = 1 ] || fail "exit code after update: $TOOL_RC"
default_settings > "$E2E_WORK/expected.dat"
for slot in 0 1 2; do
    printf "\\x${codes[$slot]}" | dd of="$E2E_WORK/expected.dat" bs=1 seek="$(binding_offset $slot)" conv=notrunc status=none
    got=$(hex_of "$game/setup.dat" "$(binding_offset $slot)" 4)
    [ "$got" = "${codes[$slot]}000000" ] || fail "slot $slot stored $got, expected ${codes[$slot]}000000"
done
cmp "$game/setup.dat" "$E2E_WORK/expected.dat" || fail "setup.dat differs beyond the three bindings"
log "pass"
