# Real game pads (Linux uinput devices that Wine reads through SDL) through
# the real config.exe, as a player uses them: nine pads attached at start,
# one more plugged in and one pulled out while the tool runs. Every kind of
# input (button, the four stick directions, both Z directions, the four hat
# directions) is assigned through "設定開始"; its name shows as PADn-...
# with the number the tool gave the pad; "更新" saves exactly those codes.
# One start of the tool for all of it: in the guest a Wine process takes
# about 40 s to start.
# Usage (in the guest, see scripts/guest): test_pads.sh CONFIG_EXE DRIVER_EXE
. "$(dirname "$0")/../e2e/lib.sh" && e2e_begin "$@"
. "$(dirname "$0")/pads.sh"
start_display
pads_start
for n in 1 2 3 4 5 6 7 8 9; do pad plug >/dev/null; done
start_driver
log "nine pads attached ($SECONDS s)"
# Wine lists all nine before the tool starts, so its start-up finds them.
# PADS[i]: the pad DirectInput lists i-th, the tool's controller i + 1.
mapfile -t listed <<< "$(drv pads "$E2E_LIMIT" 9)"
PADS=("${listed[@]##* }")
is "the pads DirectInput lists" "$(printf '%s\n' "${PADS[@]}" | sort | tr '\n' ' ')" "1 2 3 4 5 6 7 8 9 "

game=$E2E_WORK/game
install_tool "$game"
# Everything but the thirteen bindings must come back as it was.
cp "$DEFAULT_RECORD" "$game/setup.dat"
put_le32 "$game/setup.dat" $((4 + 4 * 32)) 0x10104   # player 2's first binding
put_byte "$game/setup.dat" 2000 0x5a                   # a byte the tool does not map
cp "$game/setup.dat" "$E2E_WORK/expected.dat"
start_tool "$game"
log "the dialog after $(wait_dialog) ms ($SECONDS s)"
drv nomsgbox
drv activate
mapfile -t start_names <<< "$(drv texts "${SLOT_EDITS[@]}")"

ninth="virtual pad ${PADS[8]}"
click_done $IDC_BEGIN_ASSIGN_1P
is "the checked slot after 設定開始" "$(checked_slot)" 0

# assigned SLOT NAME PAD: the name shows in the slot's box; the pad goes back
# to rest, and the next press waits until DirectInput reads the rest (so the
# tool can see nothing active in between); the check moves on.
assigned() {
    wait_text "${SLOT_EDITS[$1]}" "$2"
    pad rest "$3"
    drv padwait "$E2E_LIMIT" rest "virtual pad $3"
    next_slot $((($1 + 1) % 13))
}

# The stick or Z held just outside a direction (898 of 1000: the tool sets
# every axis to -1000..1000 and a direction counts from 900) is no input: the
# hat pressed with them is what the tool takes, though both come first in its
# order. Just inside (902), the direction itself is taken.
p=${PADS[0]}
pad axis "$p" y "$(axis_at -898)"
pad axis "$p" z "$(axis_at 898)"
pad hat "$p" 0 -1
assigned 0 PAD1-HAT_UP "$p"
pad axis "$p" y "$(axis_at -902)"
assigned 1 PAD1-↑ "$p"
p=${PADS[1]}
pad axis "$p" y "$(axis_at 898)"
pad axis "$p" z "$(axis_at -898)"
pad hat "$p" 1 0
assigned 2 PAD2-HAT_RIGHT "$p"
pad axis "$p" y "$(axis_at 902)"
assigned 3 PAD2-↓ "$p"

# A pad swapped while the tool runs: one pulled out, another plugged in.
pad unplug "${PADS[1]}"
drv pads "$E2E_LIMIT" 8 >/dev/null
late=$(pad plug)
now=$(drv pads "$E2E_LIMIT" 9)
[[ $'\n'$now$'\n' == *$'\n'"virtual pad $late"$'\n'* ]] ||
    fail "DirectInput does not list the pad plugged in late: ${now//$'\n'/, }"
log "pad 2 pulled out, pad $late plugged in ($SECONDS s)"

# The tool makes its controllers once, at start-up, and keeps eight: the
# ninth pad is never read, nor is the late one, even now that a pad has gone.
# Each gives a fresh press from rest while a slot waits, DirectInput (in the
# driver) reading it down. The tool takes a pad's press only when its pass
# before found no pad active, and then the first active input in its order:
# a press of pad 3 in the same pass as the ninth's would hide the ninth. So
# the next press is a key, which reaches the tool later (its way runs
# through X and Wine's desktop): a tool that read either pad would name it
# in slot 4 or 5, where the key and pad 3 belong.
# fresh_press PAD: that press, held until the caller rests the pad.
fresh_press() {
    pad button "$1" 0 1
    drv padwait "$E2E_LIMIT" 0 "virtual pad $1"
}
fresh_press "${PADS[8]}"
fresh_press "$late"
press k
wait_text "${SLOT_EDITS[4]}" K
next_slot 5
# The tool goes on: the pad after the pulled one is still read (the two
# unread pads held block nothing), and a held button is taken once.
p=${PADS[2]}
pad button "$p" 0 1
wait_text "${SLOT_EDITS[5]}" PAD3-0
next_slot 6
is "slot 6 while pad 3's button is still held" "$(drv text "${SLOT_EDITS[6]}")" "${start_names[6]}"
pad rest "$p"
pad rest "${PADS[8]}"
pad rest "$late"
drv padwait "$E2E_LIMIT" rest "virtual pad $p" "$ninth" "virtual pad $late"

p=${PADS[3]}
pad axis "$p" x "$(axis_at -898)"
pad hat "$p" 0 1
assigned 6 PAD4-HAT_DOWN "$p"
pad axis "$p" x "$(axis_at -902)"
assigned 7 PAD4-← "$p"
p=${PADS[4]}
pad axis "$p" x "$(axis_at 898)"
pad hat "$p" -1 0
assigned 8 PAD5-HAT_LEFT "$p"
pad axis "$p" x "$(axis_at 902)"
assigned 9 PAD5-→ "$p"
p=${PADS[5]}
pad axis "$p" z "$(axis_at 902)"
assigned 10 PAD6-Z1 "$p"
p=${PADS[6]}
pad axis "$p" z "$(axis_at -902)"
assigned 11 PAD7-Z2 "$p"
p=${PADS[7]}
pad button "$p" 1 1
assigned 12 PAD8-1 "$p"
log "thirteen actions assigned from eight pads and a key ($SECONDS s)"
dialog_shot "$ARTIFACTS/guest-pads.png"

drv click $IDC_UPDATE
wait_tool
is "the exit code after 更新" "$TOOL_RC" 1
codes=(0x10106 0x10100 0x10107 0x10101 0x25 0x10000 0x10108 0x10102 0x10109 0x10103
       0x10104 0x10105 0x10001)
for slot in "${!codes[@]}"; do
    put_le32 "$E2E_WORK/expected.dat" "$(binding_offset "$slot")" "${codes[$slot]}"
done
cmp "$game/setup.dat" "$E2E_WORK/expected.dat" ||
    fail "setup.dat is not the file before with the thirteen codes"
log "pass ($SECONDS s)"
