# A screen above 96 DPI, as winecfg's slider sets it, and as Windows XP and 7
# (at 125 %) hand it to a program that declares no DPI awareness: the dialog
# grows with its font. At 144 DPI on a 1920x1080 screen with Wine's taskbar,
# so that the work area is less than the screen, the main window fitted to
# the grown dialog lies within the work area, and a real mouse click on
# "更新" saves the record and ends the tool. Wine 10 instead scales the whole
# window, as Windows 8.1 and later do: the window, laid out at 96 DPI, is
# shown half as large again, on the screen, and the click there saves.
. "$(dirname "$0")/lib.sh" && e2e_begin "$@"

# taskbar_desktop: every Wine process in one desktop of the screen's size
# with Wine's taskbar, from the next restart_wine on.
taskbar_desktop() {
    local explorer='HKCU\Software\Wine\Explorer'
    drv reg "$explorer" Desktop sz shell
    drv reg "$explorer\\Desktops" shell sz 1920x1080
    drv reg "$explorer\\Desktops\\shell" EnableShell dword 1
    set_dpi 144
}

start_display 1920x1080
taskbar_desktop
restart_wine
E2E_DESKTOP=shell,1920x1080
game=$E2E_WORK/game
install_tool "$game"
start_tool "$game"
wait_dialog >/dev/null
drv nomsgbox

read -r _ sw sh _ wl wt wr wb _ dpi < <(drv screen)
r=($(drv rects))
main="${r[1]},${r[2]}-${r[3]},${r[4]}"
log "DPI $dpi, screen ${sw}x$sh, work area $wl,$wt-$wr,$wb; main window $main; dialog ${r[6]},${r[7]}-${r[8]},${r[9]}"
if [ "$(wine_generation)" = 10 ]; then
    # Wine 10 scales a window that declares no DPI awareness whole, as
    # Windows 8.1 and later do: the tool lays itself out at 96 DPI on a
    # screen a third smaller, and the player sees it half as large again.
    is "the DPI the tool sees under Wine 10" "$dpi" 96
    is "the screen the tool sees under Wine 10" "${sw}x$sh" 1280x720
    scale=3/2
else
    is "the DPI the tool sees" "$dpi" 144
    is "the screen the tool sees" "${sw}x$sh" 1920x1080
    [ "$wb" -lt "$sh" ] || fail "the work area $wl,$wt-$wr,$wb is the whole screen: no taskbar"
    # The case the placement has to mend: below the top computed for 752 x
    # 655 the grown window would run past the work area.
    [ $(((sh >> 1) - (655 >> 1) + r[4] - r[2])) -gt "$wb" ] ||
        fail "the window ($main) fits below its computed top at 144 DPI: nothing here to mend"
    scale=1
fi
[ "${r[1]}" -ge "$wl" ] && [ "${r[2]}" -ge "$wt" ] && [ "${r[3]}" -le "$wr" ] && [ "${r[4]}" -le "$wb" ] ||
    fail "the main window $main does not lie within the work area $wl,$wt-$wr,$wb"

# What the player sees: the desktop fills the X screen (the desktop's X
# window that holds the tool now: under QEMU's user mode the one found when
# the tool was started was once a desktop made meanwhile by another Wine
# process, gone since), and the tool's X window lies on it, as large as the
# tool's window times the scale.
desktop_shown || fail "no Wine desktop window with the tool's dialog up"
read -r dx dy dw dh < <(x_geometry "$DESKTOP_WINDOW")
is "the desktop's place on the X screen" "$dx,$dy ${dw}x$dh" "0,0 1920x1080"
read -r xx xy xw xh < <(shown_window)
log "the main window on the X screen: ${xw}x$xh at $xx,$xy"
is "the main window's width on the X screen" "$xw" $(((r[3] - r[1]) * $scale))
[ "$xx" -ge 0 ] && [ "$xy" -ge 0 ] && [ $((xx + xw)) -le "$dw" ] && [ $((xy + xh)) -le "$dh" ] ||
    fail "the main window shown at $xx,$xy (${xw}x$xh) does not lie on the 1920x1080 screen"
# A point of the tool's window, through its place and scale on the X screen.
b=($(drv rect $IDC_UPDATE))
x=$((xx + ((b[0] + b[2]) / 2 - r[1]) * xw / (r[3] - r[1])))
y=$((xy + ((b[1] + b[3]) / 2 - r[2]) * xh / (r[4] - r[2])))
log "clicking \"更新\" (${b[0]},${b[1]}-${b[2]},${b[3]}) at $x,$y on the X screen"
screenshot raised-dpi
timeout "$E2E_X_LIMIT" xdotool mousemove "$x" "$y" click 1 || fail "xdotool did not click within $E2E_X_LIMIT s"
wait_tool
is "the exit code after the click on \"更新\"" "$TOOL_RC" 1
cp "$DEFAULT_RECORD" "$E2E_WORK/expected.dat"
[ -f "$game/setup.dat" ] || fail "the click on \"更新\" saved no setup.dat"
is "the length of setup.dat" "$(stat -c %s "$game/setup.dat")" 2384
cmp "$game/setup.dat" "$E2E_WORK/expected.dat" || fail "setup.dat is not the default record"
log "pass: main window $main within the work area $wl,$wt-$wr,$wb, shown ${xw}x$xh at $xx,$xy, at 144 DPI"
