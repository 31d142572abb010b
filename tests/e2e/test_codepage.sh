# On a Windows whose code page is not Japanese (Wine with LANG=C.UTF-8 gives
# code page 1252) the window title and the dialog's texts still read right.
E2E_LANG=C.UTF-8
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"
start_display
install_tool "$E2E_WORK/game"
start_tool "$E2E_WORK/game"
wait_dialog >/dev/null
is "the title" "$(drv title)" "起動設定メニュー"
is "resolution item 3" "$(drv itemtext $IDC_RESOLUTION 3)" "800×600（デフォルト）"
is "the update button" "$(drv text $IDC_UPDATE)" "更新"
screenshot codepage-1252
drv click $IDC_CANCEL
wait_tool
is "the exit code after cancel" "$TOOL_RC" 1
log "pass"
