# Saves that cannot go the safe way (a new copy beside setup.dat, swapped in)
# write setup.dat in place, as a player's Windows needs under file
# virtualisation; only when that fails too does the player see the message,
# and nothing is left behind. A read-only setup.dat keeps its bytes; a folder
# that refuses new entries and a full file system still take the new record
# into an existing setup.dat; a full file system without one gets nothing.
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"
start_display

# The record the update below saves: the defaults with full screen on.
cp "$DEFAULT_RECORD" "$E2E_WORK/updated.dat"
put_byte "$E2E_WORK/updated.dat" 260 0x03

# try_update DIR saved|refused: starts the tool in DIR, turns full screen on
# and presses "更新". saved: no message and setup.dat holds the new record;
# refused: the write-failure message and setup.dat (if any) as it was.
try_update() {
    local dir=$1 outcome=$2 box
    [ -e "$dir/setup.dat" ] && cp "$dir/setup.dat" "$E2E_WORK/kept.dat" || rm -f "$E2E_WORK/kept.dat"
    start_tool "$dir"
    wait_dialog >/dev/null
    drv setcheck $IDC_FULLSCREEN 1
    drv click $IDC_UPDATE
    if [ "$outcome" = refused ]; then
        is "the message after a failed save in $dir" "$(drv msgbox "$E2E_LIMIT")" \
            "ERROR|設定ファイルの書き込みに失敗しました。"
    fi
    wait_tool
    is "the exit code after the update in $dir" "$TOOL_RC" 1
    drv nomsgbox
    if [ "$outcome" = saved ]; then
        cmp "$dir/setup.dat" "$E2E_WORK/updated.dat" || fail "setup.dat in $dir is not the new record"
    elif [ -e "$E2E_WORK/kept.dat" ]; then
        cmp "$dir/setup.dat" "$E2E_WORK/kept.dat" || fail "setup.dat changed in $dir"
    else
        [ ! -e "$dir/setup.dat" ] || fail "a setup.dat was left in $dir"
    fi
}

# only_files DIR NAME...: DIR holds these entries and nothing else (but the
# report _debug.txt, which a full or closed folder may not take).
only_files() {
    local dir=$1; shift
    local want have
    want=$(printf '%s\n' "$@" | sort | paste -sd ' ')
    have=$(ls "$dir" | grep -vx _debug.txt | sort | paste -sd ' ')
    [ "$have" = "$want" ] || fail "$dir holds '$have', expected '$want'"
}

# try_immutable DIR FIXED saved|refused: try_update in DIR, which holds the
# tool and the default record, while FIXED (DIR or its setup.dat) refuses
# every change; DIR holds those two files alone after.
try_immutable() {
    install_tool "$1"
    cp "$DEFAULT_RECORD" "$1/setup.dat"
    chattr +i "$2"
    defer chattr -i "$2"
    try_update "$1" "$3"
    chattr -i "$2"
    only_files "$1" config.exe setup.dat
}

log "read-only setup.dat: refused, kept"
try_immutable "$E2E_WORK/game" "$E2E_WORK/game/setup.dat" refused
log "a folder that refuses new entries: saved in place"
try_immutable "$E2E_WORK/immutable" "$E2E_WORK/immutable" saved

log "a full file system: saved in place over the existing setup.dat"
tiny=$E2E_WORK/tiny
mkdir -p "$tiny"
mount -t tmpfs -o size=2m tmpfs "$tiny" || fail "cannot mount a tmpfs (needs root)"
defer umount "$tiny"
# Wine 10 runs in a mount namespace of its own, made as each Wine process of
# the session started (scripts/wine10/run): a session started after the
# mount sees it.
restart_wine
install_tool "$tiny"
cp "$DEFAULT_RECORD" "$tiny/setup.dat"
# Fill what is left, so the temporary copy cannot take its 2,384 bytes.
dd if=/dev/zero of="$tiny/filler" bs=1k 2>/dev/null || true
sync
[ "$(df --output=avail -B1 "$tiny" | tail -1)" -lt 2384 ] || fail "the tmpfs is not full"
try_update "$tiny" saved
only_files "$tiny" config.exe setup.dat filler

log "a full file system without setup.dat: refused, nothing left behind"
rm -f "$tiny/setup.dat" "$tiny/_debug.txt"
dd if=/dev/zero of="$tiny/filler2" bs=1k 2>/dev/null || true
sync
try_update "$tiny" refused
only_files "$tiny" config.exe filler filler2

log "pass"
