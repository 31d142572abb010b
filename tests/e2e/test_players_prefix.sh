# A player's own Wine prefix: Debian's Japanese fonts, and nothing set up to
# stand for "MS UI Gothic", the face the dialog was laid out in. Wine gives
# the template a stand-in of other metrics there (IPAGothic, base units
# 6 x 13: a dialog of 639 x 652 with its labels cut off); the tool makes the
# dialog in the font it carries, drawn to MS UI Gothic's metrics.
#   1. At 96 DPI: 746 x 602 pixels (426 x 401 dialog units at 7 x 12), the
#      main window 752 wide, every text drawn and every label whole.
#   2. At 120 DPI: those metrics, scaled: the dialog as large as with a face
#      drawn to them standing for MS UI Gothic, and larger than at 96 DPI
#      (under Wine 10, which scales the window whole, as at 96 DPI in the
#      tool's own coordinates, and shown a quarter larger).
#   3. As 1, with a face of other metrics set up to stand for MS UI Gothic
#      (IPAGothic as Wine's replacement, which then goes by the name of the
#      face it replaces).
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"
. "$(dirname "$0")/glyphs/checks.sh"

# The prefix as set-up makes it: what a player has.
if grep -q '^"MS UI Gothic"=' "$WINEPREFIX/user.reg"; then
    fail "the prefix set-up made has a replacement for MS UI Gothic"
fi
start_display
game=$E2E_WORK/game
install_tool "$game"

log "[96] the prefix as set up"
start_tool "$game"
wait_dialog >/dev/null
check_glyphs 96 whole
is "[96] the dialog's face" "$FACES" "$CARRIED_FACE"
is "[96] the dialog" "$(dialog_size)" 746x602
is "[96] the main window's width" "$(main_width)" 752
dialog_shot "$ARTIFACTS/players-prefix-dialog.png"
drv click $IDC_CANCEL
wait_tool
is "[96] the exit code after cancel" "$TOOL_RC" 1

log "[120] 120 DPI"
set_dpi 120
restart_wine
start_tool "$game"
wait_dialog >/dev/null
check_glyphs 120
is "[120] the dialog's face" "$FACES" "$CARRIED_FACE"
carried=$(dialog_size)
w=${carried%x*} h=${carried#*x}
if [ "$(wine_generation)" = 10 ]; then
    # Wine 10 scales a window that declares no DPI awareness whole: the
    # tool lays the dialog out at 96 DPI, and the screen shows it larger.
    is "[120] the dialog under Wine 10, which scales it whole" "$carried" 746x602
    read -r _ _ xw _ < <(shown_window)
    is "[120] the main window's width on the X screen" "$xw" $((752 * 5 / 4))
else
    [ "$w" -gt 746 ] && [ "$h" -gt 602 ] || fail "[120] the dialog is $carried, not larger than at 96 DPI"
fi
drv click $IDC_CANCEL
wait_tool

log "[120] Ume UI Gothic standing for MS UI Gothic"
restart_wine
stand_for_ui_gothic "Ume UI Gothic"
start_tool "$game"
wait_dialog >/dev/null
check_glyphs 120-face
[[ "$FACES" != *"$CARRIED_FACE"* ]] || fail "[120-face] the dialog took the carried font: $FACES"
is "[120] the dialog in the carried font, against the face's" "$carried" "$(dialog_size)"
drv click $IDC_CANCEL
wait_tool

log "[96] IPAGothic standing for MS UI Gothic"
set_dpi 96
restart_wine
stand_for_ui_gothic IPAGothic
start_tool "$game"
wait_dialog >/dev/null
check_glyphs 96-ipa whole
is "[96-ipa] the dialog's face" "$FACES" "$CARRIED_FACE"
is "[96-ipa] the dialog" "$(dialog_size)" 746x602
drv click $IDC_CANCEL
wait_tool
log "pass: 746x602 at 96 DPI, $carried at 120 DPI"
