# A player's whole visit, on a Japanese Windows and again on a Western one
# (Wine under LANG=C.UTF-8 has code page 1252): start without setup.dat,
# assign all thirteen actions with real key presses (the check wraps after
# the last), change options, update; setup.dat must then be the default
# record plus exactly those changes, _debug.txt the report, and the next
# start must show what was saved. Both languages must write the same bytes.
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"
start_display

# One key per action, in slot order, then one more that wraps to slot 0.
KEYS=(i k j l f g h t 1 2 e r p)
NAMES=(I K J L F G H T 1 2 E R P)
CODES=(0x17 0x25 0x24 0x26 0x21 0x22 0x23 0x14 0x02 0x03 0x12 0x13 0x19)
WRAP_KEY=u WRAP_NAME=U WRAP_CODE=0x16

# The default record with this run's changes.
expected_settings() {
    cp "$DEFAULT_RECORD" "$1"
    local slot
    for slot in "${!CODES[@]}"; do put_le32 "$1" "$(binding_offset "$slot")" "${CODES[$slot]}"; done
    put_le32 "$1" "$(binding_offset 0)" $WRAP_CODE
    # Full screen, FPS display (both bits), no render textures and 16-bit
    # colour on, FPS lock off, resolution code 4 (1024x768).
    put_le32 "$1" 260 0x00D84E03
    put_byte "$1" 269 1                # force the directions (player 1)
    put_le32 "$1" 272 4                # anti-aliasing x4
}

# run_scenario TAG CODEPAGE: the whole visit in a fresh directory; keeps setup.dat and
# _debug.txt as $E2E_WORK/TAG.dat and $E2E_WORK/TAG.txt.
run_scenario() {
    local tag=$1 acp=$2 game=$E2E_WORK/game-$1 slot pid personality
    install_tool "$game"
    log "[$tag] start without setup.dat"
    start_tool "$game"
    wait_dialog >/dev/null
    is "[$tag] Wine's code page" "$(drv acp)" "$acp"
    drv nomsgbox
    # Wine's loader ran with randomisation off (scripts/wine-loader), and the
    # tool's process, started by Wine, inherited that. Wine shows a process's
    # Windows command line: the tool's is its own path alone.
    if [ "$WINE_ROAD" = qemu ]; then
        # Under QEMU a process's /proc shows QEMU's command line and layout.
        limit "the tool's address-space layout not checked: under QEMU /proc shows QEMU's process, not the Windows one"
    elif ! fixed_layout_allowed; then
        limit "the tool's address-space layout not checked: this host refuses setarch -R"
    else
        pid=$(pgrep -f "^[^ ]*${E2E_WORK##*/}.game-$tag.config\.exe\$" || true)
        [[ "$pid" =~ ^[0-9]+$ ]] || fail "[$tag] not one process of the tool: '${pid//$'\n'/ }'"
        personality=$(cat "/proc/$pid/personality" 2>/dev/null || echo none)
        [ "$personality" != none ] && (( 0x$personality & 0x40000 )) ||
            fail "[$tag] the tool's process runs with a random layout (personality '$personality')"
    fi
    is "[$tag] the title" "$(drv title)" "起動設定メニュー"
    is "[$tag] the text of IDC_BEGIN_ASSIGN_1P" "$(drv text $IDC_BEGIN_ASSIGN_1P)" "設定開始"
    is "[$tag] resolution item 3" "$(drv itemtext $IDC_RESOLUTION 3)" "800×600（デフォルト）"
    is "[$tag] anti-aliasing item 0" "$(drv itemtext $IDC_FSAA 0)" "なし"
    is "[$tag] the default names" "$(slot_names)" "↑ ↓ ← → Z X C V A S Q W ESCAPE"
    is "[$tag] the text of IDC_P1_RADIO_START" "$(drv text $IDC_P1_RADIO_START)" "START：メニュー"
    is "[$tag] the text of IDC_FORCE_DIR_1P" "$(drv text $IDC_FORCE_DIR_1P)" "方向キーを強制設定（アナログ不可）"
    report_box_to "$E2E_WORK/box-$tag.txt"
    crlf_only "$E2E_WORK/box-$tag.txt" || fail "[$tag] the report box's lines do not end in CR LF"
    tr -d '\r' < "$E2E_WORK/box-$tag.txt" > "$E2E_WORK/box-$tag.lf"
    check_report dialog "$E2E_WORK/box-$tag.lf"
    screenshot "typical-run-$tag-startup"

    log "[$tag] \"設定開始\" and a key for each of the 13 actions"
    drv activate
    begin_assignment
    is "[$tag] 設定開始 enabled after its click" "$(drv enabled $IDC_BEGIN_ASSIGN_1P)" 0
    is "[$tag] the checked slot at the start" "$(checked_slot)" 0
    for slot in "${!KEYS[@]}"; do
        press "${KEYS[$slot]}"
        wait_text "${SLOT_EDITS[$slot]}" "${NAMES[$slot]}"
        next_slot $(((slot + 1) % 13))
    done
    # Wrapped: slot 0 checked again, and slot 12's radio no longer.
    is "[$tag] the first and the last action's radios after the wrap" \
        "$(drv checks $IDC_P1_RADIO_UP $IDC_P1_RADIO_START)" "1 0"
    press $WRAP_KEY
    wait_text $IDC_P1_EDIT_UP $WRAP_NAME
    is "[$tag] the names after the assignment" "$(slot_names)" "$WRAP_NAME ${NAMES[*]:1}"
    screenshot "typical-run-$tag-assigned"
    [ "$tag" = ja ] && dialog_shot "$ARTIFACTS/typical-run-dialog.png" 480

    log "[$tag] \"設定終了\", options, \"更新\""
    click_done $IDC_END_ASSIGN_1P
    is "[$tag] the forced-direction box enabled after 設定終了" "$(drv enabled $IDC_FORCE_DIR_1P)" 1
    drv setcheck $IDC_FORCE_DIR_1P 1
    drv setcheck $IDC_FULLSCREEN 1
    drv setcheck $IDC_FPS_LOCK 0
    drv setcheck $IDC_FPS_DISPLAY 1
    drv setcheck $IDC_NO_RENDER_TEXTURE 1
    drv setcheck $IDC_16BIT_COLOR 1
    drv select $IDC_RESOLUTION 4
    drv select $IDC_FSAA 2
    drv click $IDC_UPDATE
    wait_tool
    is "[$tag] the exit code after update" "$TOOL_RC" 1

    expected_settings "$E2E_WORK/expected.dat"
    is "[$tag] the length of setup.dat" "$(stat -c %s "$game/setup.dat")" 2384
    if ! cmp -l "$game/setup.dat" "$E2E_WORK/expected.dat" > "$E2E_WORK/diff.txt"; then
        fail "[$tag] setup.dat differs (offset, got, expected in octal): $(head -10 "$E2E_WORK/diff.txt" | tr '\n' ';')"
    fi
    check_debug_txt "$game/_debug.txt"
    cp "$game/setup.dat" "$E2E_WORK/$tag.dat"
    cp "$game/_debug.txt" "$E2E_WORK/$tag.txt"

    log "[$tag] the next start shows what was saved"
    start_tool "$game"
    wait_dialog >/dev/null
    drv nomsgbox
    local boxes=($IDC_FULLSCREEN $IDC_FPS_LOCK $IDC_FPS_DISPLAY $IDC_16BIT_COLOR $IDC_NO_RENDER_TEXTURE
                 $IDC_TEXTURE_POW2 $IDC_BGM_IN_MEMORY $IDC_SCREEN_EFFECTS $IDC_CEL_SHADING $IDC_SHADOWS
                 $IDC_LOW_RES_MODEL $IDC_FORCE_DIR_1P $IDC_FORCE_DIR_2P)
    is "[$tag] boxes ${boxes[*]}" "$(drv checks "${boxes[@]}")" "1 0 1 1 1 0 1 1 1 1 0 1 0"
    is "[$tag] the resolution item" "$(drv cursel $IDC_RESOLUTION)" 4
    is "[$tag] the anti-aliasing item" "$(drv cursel $IDC_FSAA)" 2
    is "[$tag] the names after a restart" "$(slot_names)" "$WRAP_NAME ${NAMES[*]:1}"
    check_debug_txt "$game/_debug.txt"
    drv click $IDC_CANCEL
    wait_tool
    is "[$tag] the exit code after cancel" "$TOOL_RC" 1
    cmp -s "$game/setup.dat" "$E2E_WORK/$tag.dat" || fail "[$tag] cancel changed setup.dat"
}

run_scenario ja 932
# Same prefix, another language: Wine must start afresh to take it.
restart_wine
export LANG=C.UTF-8
run_scenario c 1252

cmp "$E2E_WORK/ja.dat" "$E2E_WORK/c.dat" || fail "setup.dat differs between code pages 932 and 1252"
# Free memory changes from run to run (and the total may move by a page), so
# the two memory lines are masked; every other byte must match.
mask_memory() { LC_ALL=C sed 's/^\(Memory( [A-Za-z]* )\).*/\1 masked/' "$1"; }
diff <(mask_memory "$E2E_WORK/ja.txt") <(mask_memory "$E2E_WORK/c.txt") >&2 ||
    fail "_debug.txt differs between code pages 932 and 1252"
log "pass"
