# A Windows without Japanese fonts (a Western Windows without the East Asian
# language files, a Wine set-up without Japanese fonts): the dialog still
# reads in Japanese. The check runs inside the tool's own process
# (tests/e2e/glyphs): every control's text, each combo item and the report box
# has a glyph for each of its characters in the font that control draws with.
#   1. A Windows with the face the dialog asks for (the prefix with Japanese
#      fonts, and Ume UI Gothic standing for MS UI Gothic): the dialog keeps
#      the font Windows gives it, not the carried one, draws every text and
#      cuts no label.
#   2. The same prefix made to see no Japanese font at all, on a Western code
#      page: the dialog draws every text in the font the tool carries, at the
#      same size as in 1, every label whole.
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"
. "$(dirname "$0")/glyphs/checks.sh"

# hide_japanese_fonts: fontconfig lists no font at all (Wine keeps its own, in
# the prefix's Fonts folder, none of them Japanese), and the prefix forgets
# what it found before: Wine lists fontconfig's fonts in the registry's font
# lists with their Z: paths and would load them from there, and a name for
# "MS UI Gothic" would stand in for it. Wine's cache of font names
# (HKCU\Software\Wine\Fonts\Cache) lives only as long as its server. Runs
# inside restart_wine, with no server to overwrite the edited registry.
hide_japanese_fonts() {
    printf '%s\n' '<?xml version="1.0"?>' '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">' \
        '<fontconfig></fontconfig>' > "$E2E_WORK/fonts.conf"
    export FONTCONFIG_FILE=$E2E_WORK/fonts.conf
    local reg
    for reg in system.reg user.reg; do
        awk '/^\[/ { fonts = $0 ~ /CurrentVersion\\\\Fonts\]|Wine\\\\Fonts\\\\External Fonts\]/
                     stand_in = $0 ~ /^\[Software\\\\Wine\\\\Fonts\\\\Replacements\]/ }
             fonts && /^"[^"]*"="Z:/ { next }
             stand_in && /^"MS UI Gothic"=/ { next }
             { print }' "$WINEPREFIX/$reg" > "$E2E_WORK/$reg" &&
            cat "$E2E_WORK/$reg" > "$WINEPREFIX/$reg" || fail "cannot edit the prefix's $reg"
    done
    if grep -q '="Z:.*\.\(ttf\|ttc\|otf\)"' "$WINEPREFIX/system.reg"; then
        fail "the prefix still lists fonts outside it"
    fi
    if grep -q '^"MS UI Gothic"=' "$WINEPREFIX/user.reg"; then
        fail "the prefix still has a replacement for MS UI Gothic"
    fi
}

start_display
game=$E2E_WORK/game
install_tool "$game"

log "[fonts] Japanese fonts, and a face for MS UI Gothic"
stand_for_ui_gothic "Ume UI Gothic"
start_tool "$game"
wait_dialog >/dev/null
check_glyphs fonts whole
[[ "$FACES" != *"$CARRIED_FACE"* ]] || fail "[fonts] the dialog took the carried font: $FACES"
size_with=$(dialog_size)
drv click $IDC_CANCEL
wait_tool
is "[fonts] the exit code after cancel" "$TOOL_RC" 1

log "[no-fonts] no Japanese font, code page 1252"
export LANG=C.UTF-8
restart_wine hide_japanese_fonts
start_tool "$game"
wait_dialog >/dev/null
drv nomsgbox
check_glyphs no-fonts whole
[ "$FACES" = "$CARRIED_FACE" ] || fail "[no-fonts] the texts use $FACES, not the carried $CARRIED_FACE"
size_without=$(dialog_size)
[ "$size_without" = "$size_with" ] ||
    fail "[no-fonts] the dialog is $size_without, with Japanese fonts $size_with"
is "[no-fonts] the title" "$(drv title)" "起動設定メニュー"
dialog_shot "$ARTIFACTS/no-japanese-fonts-dialog.png" 480
drv click $IDC_CANCEL
wait_tool
is "[no-fonts] the exit code after cancel" "$TOOL_RC" 1
log "pass: dialog $size_with in both"
