# Game pads for the guest tests: Linux uinput devices made by
# pad/virtual_pads (built beside the driver), which Wine reads through SDL as
# any pad. Sourced after tests/e2e/lib.sh.

# The range every pad declares for its X, Y and Z axes (a 16-bit stick).
PAD_AXIS_MIN=-32768
PAD_AXIS_MAX=32767

# Wine's services read pads through SDL, which must find the devices itself
# where no udev daemon runs; they take this from the first Wine process.
export SDL_JOYSTICK_DISABLE_UDEV=1

# pads_start: the pad program, waiting for commands (see pad).
pads_start() {
    local exe
    exe=$(dirname "$DRIVER_EXE")/virtual_pads
    # Wine's bus loads the SDL of Wine's own architecture: without it no pad
    # would ever be listed, and the test would only wait for one.
    local sdl=/usr/lib/$([ "$E2E_BITS" = 32 ] && echo i386 || echo x86_64)-linux-gnu/libSDL2-2.0.so.0
    [ -e "$sdl" ] || fail "no $sdl: $E2E_BITS-bit Wine reads no game pad without it (scripts/setup installs it)"
    [ -x "$exe" ] || fail "no $exe (it is built beside the driver)"
    [ -w /dev/uinput ] || fail "no /dev/uinput here: the pad tests run in the guest (scripts/guest)"
    coproc PAD_PROGRAM { exec "$exe" "$PAD_AXIS_MIN" "$PAD_AXIS_MAX"; }
    exec {PAD_IN}>&"${PAD_PROGRAM[1]}" {PAD_OUT}<&"${PAD_PROGRAM[0]}"
}

# pad COMMAND...: one command of pad/virtual_pads.cpp, done when this returns;
# prints what the answer adds to "ok".
pad() {
    local answer
    echo "$*" >&"$PAD_IN"
    IFS= read -r answer <&"$PAD_OUT" || fail "the virtual pads ended at '$*'"
    [[ "$answer" == ok* ]] || fail "virtual pads: '$*' answered '$answer'"
    answer=${answer#ok}
    [ -z "$answer" ] || echo "${answer# }"
}

# axis_at PERMILLE: the raw reading that DirectInput scales to PERMILLE in the
# tool's range of -1000 to 1000 (rounded to the nearest).
axis_at() {
    local span=$((PAD_AXIS_MAX - PAD_AXIS_MIN))
    echo $((PAD_AXIS_MIN + (($1 + 1000) * span + 1000) / 2000))
}
