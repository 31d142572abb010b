# Shared by the e2e tests and scripts/run: an Xvfb display, the tool under
# Wine inside the prefix's virtual desktop, and the driver that operates it.
# Usage: . lib.sh CONFIG_EXE DRIVER_EXE
set -euo pipefail
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$E2E_ROOT/scripts/wine-env"
CONFIG_EXE=$(readlink -f "$1")
DRIVER_EXE=$(readlink -f "$2")
export LANG=${E2E_LANG:-ja_JP.UTF-8}
export WINEPREFIX=${E2E_PREFIX:-$WINE_PREFIX_X11}
E2E_XVFB_PID=
E2E_TOOL_PID=
E2E_WORK=$(mktemp -d /tmp/ringcfg-e2e.XXXXXX)
ARTIFACTS=${ARTIFACTS:-$E2E_ROOT/artifacts}
mkdir -p "$ARTIFACTS"

log() { printf '[e2e] %s\n' "$*" >&2; }
fail() { log "FAIL: $*"; exit 1; }

start_display() {
    if [ "${E2E_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
    local n=90
    while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && return 0; sleep 0.05; done
    fail "Xvfb did not start"
}

cleanup() {
    set +e
    [ -n "$E2E_TOOL_PID" ] && kill "$E2E_TOOL_PID" 2>/dev/null
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null && wait "$E2E_XVFB_PID" 2>/dev/null
    chattr -R -i "$E2E_WORK" 2>/dev/null
    mountpoint -q "$E2E_WORK/tiny" 2>/dev/null && umount "$E2E_WORK/tiny"
    rm -rf "$E2E_WORK"
}
trap cleanup EXIT

# install_tool DIR: a copy of config.exe in DIR, as a player would unpack it.
install_tool() {
    mkdir -p "$1"
    cp "$CONFIG_EXE" "$1/config.exe"
}

# start_tool DIR [CWD]: starts DIR/config.exe from CWD (default DIR).
start_tool() {
    local dir=$1 cwd=${2:-$1}
    E2E_START_NS=$(date +%s%N)
    (cd "$cwd" && exec wine "$dir/config.exe" >/dev/null 2>&1) &
    E2E_TOOL_PID=$!
}

# wait_tool: waits for the tool's process; its exit code goes to TOOL_RC.
# (Not in a $(...) subshell: only this shell can wait for its child.)
wait_tool() {
    TOOL_RC=0
    wait "$E2E_TOOL_PID" || TOOL_RC=$?
    E2E_TOOL_PID=
}

drv() { wine "$DRIVER_EXE" "$@" 2>/dev/null | tr -d '\r'; }

# wait_dialog: waits for the filled dialog; prints ms since start_tool.
wait_dialog() {
    drv wait "${1:-90}" >/dev/null || fail "dialog did not appear"
    echo $(( ($(date +%s%N) - E2E_START_NS) / 1000000 ))
}

screenshot() { import -window root "$ARTIFACTS/$1.png" 2>/dev/null || log "no screenshot"; }

# focus_desktop: gives the virtual desktop's X window the keyboard focus.
focus_desktop() {
    local d
    d=$(xdotool search --name "Wine desktop" 2>/dev/null | head -1)
    [ -n "$d" ] || fail "no Wine desktop window"
    xdotool windowfocus --sync "$d" 2>/dev/null || xdotool windowfocus "$d"
}

# hex_of FILE OFFSET COUNT: bytes as one hex string.
hex_of() { od -An -tx1 -v -j "$2" -N "$3" "$1" | tr -d ' \n'; }
