# The glyph check, made by the driver inside the tool through its hook
# (glyph_hook.cpp), for the e2e tests of the dialog's font. Sourced after
# lib.sh; does nothing until a function is called.
CARRIED_FACE="Ume UI Gothic Subset"

# check_glyphs TAG [whole]: runs the check in the tool; its answer stays in
# $E2E_WORK/glyphs-TAG.txt. Fails on a missing glyph, a control or combo the
# check did not see, an empty report box; with whole, on a label that runs
# past its control too. FACES: the faces the texts use.
check_glyphs() {
    local out=$E2E_WORK/glyphs-$1.txt n missing cut controls
    controls=$(grep -cE '^\s*CONTROL ' "$E2E_ROOT/res/config.rc")
    drv glyphs "$E2E_LIMIT" > "$out"
    n=$(awk -F'\t' '$2 == "text" || $2 == "bitmap"' "$out" | wc -l)
    [ "$n" = "$controls" ] || fail "[$1] the check saw $n controls, res/config.rc has $controls"
    n=$(awk -F'\t' -v id="$IDC_RESOLUTION" '$1 == id && $2 ~ /^item /' "$out" | wc -l)
    [ "$n" = 6 ] || fail "[$1] $n resolution items checked, not 6"
    n=$(awk -F'\t' -v id="$IDC_FSAA" '$1 == id && $2 ~ /^item /' "$out" | wc -l)
    [ "$n" -ge 1 ] || fail "[$1] no anti-aliasing item checked"
    awk -F'\t' -v id="$IDC_REPORT" '$1 == id && $2 == "text" && $5 > 100 { ok = 1 } END { exit !ok }' "$out" ||
        fail "[$1] the report box was not checked"
    missing=$(awk -F'\t' '$4 > 0' "$out")
    [ -z "$missing" ] || fail "[$1] $(wc -l <<<"$missing") texts lack glyphs in their font; the first (id, what, face, missing, characters, which):
$(head -8 <<<"$missing")"
    FACES=$(awk -F'\t' '$2 != "bitmap" { print $3 }' "$out" | sort -u | paste -sd '|')
    log "[$1] $(awk -F'\t' '$2 != "bitmap"' "$out" | wc -l) texts, each character with its glyph in $FACES"
    [ "${2:-}" = whole ] || return 0
    # The hook's last column on a control's line: pixels its label runs past
    # its control (-1: the button could not say).
    cut=$(awk -F'\t' '$2 == "text" && $7 != 0' "$out")
    [ -z "$cut" ] || fail "[$1] $(wc -l <<<"$cut") labels cut off; the first (id, what, face, missing, characters, which, pixels past):
$(head -8 <<<"$cut")"
    log "[$1] every label whole"
}

# dialog_size: the settings dialog's width x height in pixels; main_width:
# the main window's outer width.
dialog_size() { local r=($(drv rects)); echo "$((r[8] - r[6]))x$((r[9] - r[7]))"; }
main_width() { local r=($(drv rects)); echo "$((r[3] - r[1]))"; }

# stand_for_ui_gothic FACE: this copy of the prefix gets FACE standing for
# "MS UI Gothic", as Wine's replacement for it. With Ume UI Gothic, drawn to
# that face's metrics, the dialog sees what a Windows with MS UI Gothic
# shows it. Takes effect for Wine processes started after it.
stand_for_ui_gothic() { drv reg 'HKCU\Software\Wine\Fonts\Replacements' 'MS UI Gothic' sz "$1"; }
