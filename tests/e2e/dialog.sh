# The dialog as a player uses it, through the driver: clicks that wait for
# their handler, the key assignment slot by slot, the report box, shots of
# the screen. Sourced by lib.sh.

# slot_ids: SLOT_RADIOS and SLOT_EDITS, player 1's thirteen actions in slot
# order as res/resource.h names them: their radios and their edit boxes.
slot_ids() {
    local action radio edit
    SLOT_RADIOS=() SLOT_EDITS=()
    for action in UP DOWN LEFT RIGHT A B C D L1 R1 L2 R2 START; do
        radio=IDC_P1_RADIO_$action edit=IDC_P1_EDIT_$action
        SLOT_RADIOS+=("${!radio}") SLOT_EDITS+=("${!edit}")
    done
}

# click_done ID: clicks a button and waits until its handler has run. Not for
# the buttons that close the tool or open a message box.
click_done() {
    drv click "$1"
    drv sync "$E2E_LIMIT"
}

# begin_assignment: "設定開始" clicked, then the tool settled (see the
# driver's settle), so that the next press is assigned: the tool takes a
# press only after a look at the keyboard that found none, and it looks only
# when its queue is empty; under a slow emulation painting can keep that
# queue busy past the click and the press that follows.
begin_assignment() {
    click_done $IDC_BEGIN_ASSIGN_1P
    drv settle "$E2E_LIMIT"
}

screenshot() {
    drv paint
    timeout "$E2E_X_LIMIT" import -window root "$ARTIFACTS/$1.png" 2>/dev/null || log "no screenshot"
}

# keys_taken: waits until the tool has read every key pressed before, so that
# a press that must change nothing has had its chance to. Wine hands a key to
# the tool's DirectInput before the key's window messages reach the tool's
# thread, and the tool reads DirectInput whenever its queue is empty; a space
# pressed into a focused check box toggles the box when that thread handles
# it. Two spaces leave the box as it was. Only while no assignment runs.
keys_taken() {
    local box=$IDC_FULLSCREEN before want
    before=$(drv check $box)
    drv focus $box
    for want in $((1 - before)) "$before"; do
        press space
        drv waitchecks "$E2E_LIMIT" "$want" $box >/dev/null
    done
}

# wait_text ID EXPECTED: waits until a control shows that text.
wait_text() { drv waittext "$E2E_LIMIT" "$1" "$2" >/dev/null; }

# next_slot N: waits for the check to move on to slot N, then lets the
# dialog's timer record it. The timer does that every 100 ms; the driver's
# tick does the same at once, so the next press never races the period (two
# presses within one period go to the same slot, by design).
next_slot() {
    local states=() s
    for s in "${!SLOT_RADIOS[@]}"; do states+=($([ "$s" = "$1" ] && echo 1 || echo 0)); done
    drv waitchecks "$E2E_LIMIT" "$(printf %s "${states[@]}")" "${SLOT_RADIOS[@]}" >/dev/null
    drv tick
}

# checked_slot: the first checked player-1 radio, or -1.
checked_slot() {
    local states s
    states=($(drv checks "${SLOT_RADIOS[@]}"))
    for s in "${!states[@]}"; do
        [ "${states[$s]}" = 1 ] && { echo "$s"; return; }
    done
    echo -1
}

# slot_names: the texts of player 1's thirteen edit boxes, space-separated.
slot_names() { drv texts "${SLOT_EDITS[@]}" | tr '\n' ' ' | sed 's/ $//'; }

# dialog_shot FILE [WIDTH]: the main window alone, cropped from the screen,
# scaled to WIDTH pixels when given.
dialog_shot() {
    local r full
    drv paint
    r=($(drv rects))
    full=$E2E_WORK/shot-full.png
    timeout "$E2E_X_LIMIT" import -window root "$full" 2>/dev/null || { log "no screenshot"; return 0; }
    local w=$((r[3] - r[1])) h=$((r[4] - r[2]))
    if [ -n "${2:-}" ]; then
        convert "$full" -crop "${w}x${h}+${r[1]}+${r[2]}" +repage -resize "$2x" \
            -strip -colors 64 "$1"
    else
        convert "$full" -crop "${w}x${h}+${r[1]}+${r[2]}" +repage "$1"
    fi
}

# x_geometry ID: "X Y WIDTH HEIGHT" of X window ID on the X screen.
x_geometry() {
    timeout "$E2E_X_LIMIT" xwininfo -id "$1" |
        awk -F: '/Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
                 /Width/ { w = $2 } /Height/ { h = $2 } END { print x + 0, y + 0, w + 0, h + 0 }'
}

# shown_window: x_geometry of the tool's main window, the X window Wine gives
# it inside the desktop's. Wine 10 scales a window that declares no DPI
# awareness whole, as Windows 8.1 and later do, so there it is larger than
# the tool's own coordinates say.
shown_window() {
    local id
    id=$(timeout "$E2E_X_LIMIT" xdotool search --name '^起動設定メニュー$' 2>/dev/null | head -1)
    [ -n "$id" ] || fail "no X window of the tool's main window"
    x_geometry "$id"
}

# report_box_to FILE: the information box's text, exactly, in UTF-8 (the
# driver's answer as it comes, CRs kept, less its status line and the LF it
# adds after the text).
report_box_to() {
    served text "$IDC_REPORT" > "$1.raw" || true
    is "the driver's status line after 'text IDC_REPORT'" "$(tail -n 1 "$1.raw")" "#status 0"
    head -n -1 "$1.raw" | head -c -1 > "$1"
}
