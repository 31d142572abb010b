# The oldest Windows the tool starts on: Wine set to report Windows XP. The
# tool comes up without a message and its report names the XP row of the
# version table. A 64-bit build cannot meet 32-bit XP: Wine reports XP x64
# there, which is version 5.2, the Server 2003 row.
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"
start_display
if [ "$E2E_BITS" = 32 ]; then
    version=winxp want="Windows XP 5.1.2600 Service Pack 3"
else
    version=winxp64 want="Windows Server 2003 5.2.3790 Service Pack 2"
fi
# The private copy of the prefix only.
drv reg 'HKCU\Software\Wine' Version sz $version
game=$E2E_WORK/game
install_tool "$game"
start_tool "$game"
wait_dialog >/dev/null
drv nomsgbox
os=$(iconv -f CP932 -t UTF-8 "$game/_debug.txt" | tr -d '\r' | sed -n 's/^OS\t*//p')
is "the OS the report names under $version" "$os" "$want"
report_box_to "$E2E_WORK/box.txt"
grep -qF "$want" "$E2E_WORK/box.txt" || fail "the information box does not name $want"
log "$version: $os"
drv click $IDC_CANCEL
wait_tool
is "the exit code after cancel" "$TOOL_RC" 1
log "pass"
