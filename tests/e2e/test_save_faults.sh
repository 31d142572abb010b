# A save that cannot complete keeps the old setup.dat byte for byte and says
# so: a read-only setup.dat, a read-only folder, and a file system with no
# room for the new copy.
. "$(dirname "$0")/lib.sh" "$@"
start_display

# try_update DIR: starts the tool in DIR, changes a box, presses "更新" and
# expects the write-failure message; setup.dat must keep its bytes.
try_update() {
    local dir=$1 box
    cp "$dir/setup.dat" "$E2E_WORK/kept.dat"
    start_tool "$dir"
    wait_dialog >/dev/null
    drv setcheck 1045 1
    drv click 1046
    box=$(drv msgbox 60) || fail "no message after a failed save in $dir"
    [ "$box" = "ERROR|設定ファイルの書き込みに失敗しました。" ] || fail "message was: $box"
    wait_tool; [ "$TOOL_RC" = 1 ] || fail "exit code after a failed save: $TOOL_RC"
    drv nomsgbox || fail "a second message box"
    cmp "$dir/setup.dat" "$E2E_WORK/kept.dat" || fail "setup.dat changed in $dir"
}

log "read-only setup.dat"
game=$E2E_WORK/game
install_tool "$game"
default_settings > "$game/setup.dat"
chattr +i "$game/setup.dat"
try_update "$game"
chattr -i "$game/setup.dat"
leftover=$(ls "$game" | grep -v -e '^config.exe$' -e '^setup.dat$' -e '^_debug.txt$' || true)
[ -z "$leftover" ] || fail "temporary files left behind: $leftover"

log "read-only folder"
game=$E2E_WORK/readonly
install_tool "$game"
default_settings > "$game/setup.dat"
chattr +i "$game"
try_update "$game"
chattr -i "$game"
[ "$(ls "$game" | wc -l)" = 2 ] || fail "files left in the read-only folder: $(ls "$game")"

log "full file system"
tiny=$E2E_WORK/tiny
mkdir -p "$tiny"
mount -t tmpfs -o size=2m tmpfs "$tiny" || fail "cannot mount a tmpfs (needs root)"
install_tool "$tiny"
default_settings > "$tiny/setup.dat"
# Fill what is left, so the temporary copy cannot take its 2,384 bytes.
dd if=/dev/zero of="$tiny/filler" bs=1k 2>/dev/null || true
sync
[ "$(df --output=avail -B1 "$tiny" | tail -1)" -lt 2384 ] || fail "the tmpfs is not full"
try_update "$tiny"
leftover=$(ls "$tiny" | grep -v -e '^config.exe$' -e '^setup.dat$' -e '^filler$' -e '^_debug.txt$' || true)
[ -z "$leftover" ] || fail "temporary files left behind: $leftover"

log "pass"
