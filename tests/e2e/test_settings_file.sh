# setup.dat as a player meets it: missing, saved, kept, found next to the
# exe from any working directory, of the wrong length; one copy only.
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"

start_display
game=$E2E_WORK/game
install_tool "$game"

log "no setup.dat, then cancel: nothing is written"
start_tool "$game"
ms=$(wait_dialog)
echo "startup_ms=$ms (process start to the dialog filled)"
drv nomsgbox
screenshot settings-startup
drv click $IDC_CANCEL
wait_tool
is "the exit code after cancel" "$TOOL_RC" 1
[ ! -e "$game/setup.dat" ] || fail "cancel created setup.dat"

log "no setup.dat, then update: the default record is written"
start_tool "$game"
wait_dialog >/dev/null
drv click $IDC_UPDATE
wait_tool
is "the exit code after update" "$TOOL_RC" 1
cp "$DEFAULT_RECORD" "$E2E_WORK/expected.dat"
cmp "$game/setup.dat" "$E2E_WORK/expected.dat" || fail "setup.dat is not the default record"

log "a second copy brings the first forward and exits 0, touching nothing"
start_tool "$game"
wait_dialog >/dev/null
before=$(stat -c %Y.%s "$game/setup.dat")
is "the second copy's exit code" "$(run_copy "$game")" 0
is "setup.dat's time and size after the second copy" "$(stat -c %Y.%s "$game/setup.dat")" "$before"
drv click $IDC_CANCEL
wait_tool
is "the first copy's exit code" "$TOOL_RC" 1

log "started from another directory: reads and writes next to the exe"
other=$E2E_WORK/elsewhere
mkdir -p "$other"
# Stored: full screen on, resolution code 4 (1024x768), FSAA 4.
cp "$DEFAULT_RECORD" "$game/setup.dat"
printf '\x03\x41\x58\x00' | dd of="$game/setup.dat" bs=1 seek=260 conv=notrunc 2>/dev/null
printf '\x04' | dd of="$game/setup.dat" bs=1 seek=272 conv=notrunc 2>/dev/null
start_tool "$game" "$other"
wait_dialog >/dev/null
is "the stored full-screen box" "$(drv check $IDC_FULLSCREEN)" 1
is "the stored resolution item" "$(drv cursel $IDC_RESOLUTION)" 4
is "the stored anti-aliasing item" "$(drv cursel $IDC_FSAA)" 2
drv setcheck $IDC_FULLSCREEN 0
drv select $IDC_RESOLUTION 0
drv click $IDC_UPDATE
wait_tool
is "the exit code after update" "$TOOL_RC" 1
[ ! -e "$other/setup.dat" ] || fail "setup.dat written to the working directory"
is "the options saved next to the exe" "$(hex_of "$game/setup.dat" 260 4)" 01215800
is "the length of setup.dat" "$(stat -c %s "$game/setup.dat")" 2384

log "a setup.dat of the wrong length: message at start, defaults not applied"
head -c 100 /dev/urandom > "$game/setup.dat"
cp "$game/setup.dat" "$E2E_WORK/short.dat"
start_tool "$game"
is "the message for a 100-byte setup.dat" "$(drv msgbox "$E2E_LIMIT")" "ERROR|設定ファイルが古いので読み込めませんでした"
wait_dialog >/dev/null
drv click $IDC_CANCEL
wait_tool
cmp "$game/setup.dat" "$E2E_WORK/short.dat" || fail "cancel changed the short file"

log "pass"
