# The test's environment: its work folder and what it leaves behind, an X
# display, a private Wine prefix and its session, the virtual desktop and
# key presses into it. Sourced by lib.sh.
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$E2E_ROOT/scripts/wine-env"

log() { printf '[e2e] %s\n' "$*" >&2; }
# fail WHY: ends the test, from inside a $(...) too.
fail() {
    log "FAIL: $*"
    [ "$BASHPID" = $$ ] || kill -TERM $$
    exit 1
}
# is WHAT GOT WANT: fails, naming WHAT and both values, unless GOT is WANT.
is() { [ "$2" = "$3" ] || fail "$1 is '$2', expected '$3'"; }
# limit WHAT: a check this run makes otherwise, or not at all, because this
# host cannot show what a player's Windows would (Wine under QEMU's user
# mode, WINE_ROAD qemu; a host that refuses a fixed layout): said in the log,
# and kept in the file RINGCFG_LIMITS names, from which the test command's
# closing lines name it. No check is dropped without a word.
limit() {
    log "limit: $*"
    [ -z "${RINGCFG_LIMITS:-}" ] || printf '%s\n' "$*" >> "$RINGCFG_LIMITS"
}

# e2e_begin CONFIG_EXE DRIVER_EXE: the work folder, the prefix and its
# server, for the exe's architecture; the dialog's control ids by the names
# res/resource.h gives them (IDC_UPDATE=1046), generated into the build tree
# beside the driver, and player 1's slots by them (dialog.sh).
e2e_begin() {
    set -euo pipefail
    CONFIG_EXE=$(readlink -f "$1")
    DRIVER_EXE=$(readlink -f "$2")
    local controls
    controls=$(dirname "$DRIVER_EXE")/generated/controls.sh
    [ -f "$controls" ] || fail "no $controls (it is made with e2e_driver)"
    . "$controls"
    slot_ids
    # 32- or 64-bit Wine and prefixes, as the exe under test was built.
    E2E_BITS=$(pe_bits "$CONFIG_EXE") || exit 1
    use_wine "$E2E_BITS"
    export LANG=${E2E_LANG:-ja_JP.UTF-8}
    # How long any wait for the tool may take before it counts as a fault:
    # far beyond what a busy machine needs, so that only a tool that never
    # gets there fails: scripts/common gives it, with its reasons, for the
    # host and for the guest of scripts/guest.
    E2E_LIMIT=${E2E_LIMIT:-$(e2e_limit)}
    # Any one wait on the X side alone (Xvfb's start and end, one xdotool
    # call), which no Wine start slows (scripts/common).
    E2E_X_LIMIT=${E2E_X_LIMIT:-$LIMIT_E2E_X}
    E2E_DESKTOP=${E2E_DESKTOP:-Default,1024x768}
    E2E_XVFB_PID=
    ARTIFACTS=${ARTIFACTS:-$E2E_ROOT/artifacts}
    mkdir -p "$ARTIFACTS"
    # No test ends without saying why: a command that stops the script under
    # set -e names itself and its status.
    set -E
    trap 'log "FAIL: line $LINENO: \"$BASH_COMMAND\" returned $?"' ERR
    trap 'exit 1' TERM
    trap e2e_end EXIT
    E2E_WORK=$(mktemp -d /tmp/ringcfg-e2e.XXXXXX)
    defer rm -rf "$E2E_WORK"
    use_prefix
    keep_wineserver
}

# defer COMMAND [ARG...]: COMMAND runs when the test ends, however it ends,
# before what was deferred earlier; every Wine process of the prefix has
# ended by then, so nothing of the test's is still in use.
E2E_DEFERRED=()
defer() { E2E_DEFERRED+=("$(printf '%q ' "$@")"); }

# e2e_end: the end of every test (its EXIT trap).
e2e_end() {
    set +e
    trap - ERR
    [ -z "${E2E_WINE:-}" ] || end_wine
    local i
    for ((i = ${#E2E_DEFERRED[@]} - 1; i >= 0; i--)); do eval "${E2E_DEFERRED[i]}"; done
}

# start_display [WIDTHxHEIGHT]: an X screen of that size (1024x768 unless
# given) for the test.
start_display() {
    if [ "${E2E_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
    # Xvfb picks a free display itself and writes its number once it takes
    # connections: no race with another test's display, no wait by time.
    local fifo=$E2E_WORK/displayfd n
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    defer stop_display
    read -r -t "$E2E_X_LIMIT" n < "$fifo" || fail "Xvfb did not start within $E2E_X_LIMIT s"
    [ -n "$n" ] || fail "Xvfb did not start"
    export DISPLAY=:$n
}
# stop_display: the test's X server ended, killed if it has not ended
# within E2E_X_LIMIT s of being asked.
stop_display() {
    kill "$E2E_XVFB_PID" 2>/dev/null || return 0
    local deadline=$((SECONDS + E2E_X_LIMIT))
    while kill -0 "$E2E_XVFB_PID" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    kill -KILL "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
}

# use_prefix: the prefix E2E_PREFIX names; without it each run works in its
# own copy of the x11 prefix: the test's end ends every Wine process of the
# prefix, and others may be using the shared one at the same time.
use_prefix() {
    export WINEPREFIX=${E2E_PREFIX:-$E2E_WORK/prefix}
    [ -z "${E2E_PREFIX:-}" ] || return 0
    if in_guest; then
        # In the guest of scripts/guest the prefix is read over 9p, where
        # even the copy below takes minutes: an overlay on the guest's tmpfs
        # reads only what Wine opens and keeps every write.
        mkdir -p "$WINEPREFIX" "$E2E_WORK/prefix-changes" "$E2E_WORK/prefix-overlay"
        mount -t overlay overlay -o "lowerdir=$WINE_PREFIX_X11,upperdir=$E2E_WORK/prefix-changes,workdir=$E2E_WORK/prefix-overlay" "$WINEPREFIX" ||
            fail "cannot lay an overlay over the Wine prefix $WINE_PREFIX_X11"
        defer umount "$WINEPREFIX"
    else
        copy_prefix "$WINE_PREFIX_X11" "$WINEPREFIX" || fail "cannot copy the Wine prefix $WINE_PREFIX_X11"
    fi
}

# copy_prefix FROM TO: Wine's own DLLs (a copy of each in system32, syswow64
# and winsxs: 0.6 GB in a 32-bit prefix, 1.2 GB in a 64-bit one) are linked,
# not copied: no run writes them, and the copy never updates itself, the one
# thing that would (its update mark says so). In the guest a full copy took
# minutes.
copy_prefix() {
    local from=$1 to=$2 d
    mkdir -p "$to" &&
        tar -C "$from" -cf - --exclude=./drive_c/windows/system32 \
            --exclude=./drive_c/windows/syswow64 --exclude=./drive_c/windows/winsxs . |
        tar -C "$to" -xf - || return 1
    for d in system32 syswow64 winsxs; do
        [ ! -d "$from/drive_c/windows/$d" ] || cp -as "$from/drive_c/windows/$d" "$to/drive_c/windows/" ||
            return 1
    done
    echo disable > "$to/.update-timestamp"
}

# keep_wineserver: the prefix's wineserver, started now and kept until the
# test ends it. By itself it ends 3 s after its last process, and a process
# started in that moment may meet it on its way out. In the guest, where
# both take long, a test once found every Wine process gone, the desktop's
# explorer too, soon after its first one-off driver command. What it says
# (a protocol error ends a process with no word of its own) goes to the
# work folder's wineserver.log, shown when the desktop does not come.
keep_wineserver() {
    E2E_WINE=1
    E2E_BOOTED=0
    wineserver -p 2>>"$E2E_WORK/wineserver.log" || true
}

# end_wine: every Wine process of the prefix ended (the tool, the driver, the
# desktop, the services, the server), or the test fails naming those left.
end_wine() {
    tool_forgotten
    wineserver -k 2>/dev/null || true
    timeout "$(wine_end_limit)" wineserver -w 2>/dev/null ||
        fail "Wine's processes of $WINEPREFIX did not end within $(wine_end_limit) s: $(wine_processes | tr '\n' '|')"
}

# boot_wine: the session booted (wineboot run to its end: services, devices
# and the start-up programs done), so that no process of the boot asks for a
# desktop beside the test's. The first Wine process of a session is held
# until wineboot has made the session, and wineboot then goes on without it.
boot_wine() {
    [ "$E2E_BOOTED" = 0 ] || return 0
    timeout "$E2E_LIMIT" "$WINE" wineboot.exe >>"$E2E_WORK/wineboot.log" 2>&1 ||
        fail "Wine's session did not boot within $E2E_LIMIT s (wineboot said: $(tail -n 5 "$E2E_WORK/wineboot.log" | tr '\n' '|'))"
    E2E_BOOTED=1
}

# wine_processes: every process of the test's prefix, one line each: pid,
# state, CPU time (user and system ticks), command line.
wine_processes() {
    local env pid
    for env in /proc/[0-9]*/environ; do
        pid=${env#/proc/}; pid=${pid%/environ}
        tr '\0' '\n' 2>/dev/null <"$env" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        printf '%s %s %s\n' "$pid" \
            "$(awk '{ sub(/^.*\) /, ""); print $1, "user", $12, "sys", $13 }' "/proc/$pid/stat" 2>/dev/null)" \
            "$(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline")"
    done
}

# restart_wine [CHANGE...]: ends every Wine process of the prefix, so that
# the next start picks up a changed LANG or what the registry holds now;
# runs CHANGE while none runs (a server holds the registry and writes it back
# over any edit of its files), then keeps a new server.
restart_wine() {
    end_wine
    "$@"
    keep_wineserver
}

# set_dpi DPI: the prefix's screen at DPI dots per inch, the two values
# winecfg's slider writes, set through the driver: read by every Wine process
# started after it, and by the desktop's from the next restart_wine on (the
# server writes the registry out as it ends).
set_dpi() {
    local key
    for key in 'HKCU\Control Panel\Desktop' \
               'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
        drv reg "$key" LogPixels dword "$1"
    done
}

# start_desktop: the virtual desktop, made before the first Wine process that
# shows a window or asks for one (the tool, the driver), once the session has
# booted. A Wine process that finds no desktop starts explorer and waits 10 s
# for it; where explorer takes longer (in the guest of scripts/guest, or on a
# loaded machine) the process then goes on without a display driver, and the
# tool, unable to make its window, ends at once (with 0). Explorer started by
# itself takes the time it needs. E2E_DESKTOP names the desktop and its size,
# as the prefix's Explorer settings give them to every Wine process. Wine's
# errors and its process starts go to explorer.log; a desktop that does not
# come leaves a dump of the session in artifacts/ (desktop_dump).
start_desktop() {
    desktop_shown && return 0
    local try log=$E2E_WORK/explorer.log deadline explorer nodrv
    for try in 1 2; do
        boot_wine
        deadline=$((SECONDS + E2E_LIMIT))
        WINEDEBUG=err+all,+timestamp,+pid,+process "$WINE" explorer.exe "/desktop=$E2E_DESKTOP" >"$log" 2>&1 &
        explorer=$!
        until desktop_shown; do
            # An explorer that went on without its display driver (a race
            # of Wine's own start-up, docs/known-issues.md) makes no
            # desktop: once, the session starts again, the tool not yet in it.
            nodrv=0
            grep -q 'nodrv_CreateWindow' "$log" && nodrv=1
            if [ $nodrv = 1 ] && [ $try = 1 ]; then
                desktop_dump
                log "explorer went on without its display driver: the session starts again"
                restart_wine
                continue 2
            fi
            # Nothing else of the booted session asks for a desktop: an
            # explorer that has ended will not make one, nor one without
            # its driver.
            if [ $nodrv = 1 ] || [ $SECONDS -ge $deadline ] || ! kill -0 "$explorer" 2>/dev/null; then
                desktop_dump
                fail "no Wine desktop within $((E2E_LIMIT - deadline + SECONDS)) s (explorer $(running "$explorer"), X server $(running "$E2E_XVFB_PID"), xdotool said: $(tr '\n' '|' <"$E2E_WORK/xdotool.err")); explorer said: $(tail -n 5 "$log" | tr '\n' '|'); the session's dump is in $E2E_DUMP"
            fi
            sleep 0.2
        done
        return 0
    done
}

# desktop_dump: what the session was doing when the desktop did not come,
# into artifacts/ (E2E_DUMP names the file): the prefix's processes with
# their kernel stacks, twice a few seconds apart, the X windows, and what
# explorer, wineboot and the wineserver said.
desktop_dump() {
    E2E_DUMP=$ARTIFACTS/desktop-dump-$(basename "$0" .sh)-$$.txt
    local take line
    {
        for take in 1 2; do
            [ $take = 1 ] || sleep 3
            echo "=== the prefix's processes, take $take ($(date +%T))"
            wine_processes | while read -r line; do
                echo "$line"
                sed 's/^/    /' "/proc/${line%% *}/stack" 2>/dev/null || echo "    (no kernel stack)"
            done
        done
        echo "=== xwininfo -root -tree"
        timeout "$E2E_X_LIMIT" xwininfo -root -tree 2>&1 || echo "(xwininfo failed)"
        local f
        for f in explorer wineboot wineserver; do
            echo "=== $f.log"
            cat "$E2E_WORK/$f.log" 2>/dev/null || echo "(none)"
        done
    } > "$E2E_DUMP" 2>&1
    log "the session's dump: $E2E_DUMP"
}

# running PID: whether that process still runs, as a failure tells it.
running() { if [ -n "$1" ] && kill -0 "$1" 2>/dev/null; then echo running; else echo ended; fi; }

# desktop_shown: true when the virtual desktop's X window exists; its id is
# then in DESKTOP_WINDOW (Wine 10 gives it a title in the prefix's language). xdotool's search ends with an X error when a window
# it reads goes away meanwhile, as Wine's start-up windows do; such a look
# says nothing either way and is made again, for at most E2E_LIMIT s.
desktop_shown() {
    local err=$E2E_WORK/xdotool.err deadline=$((SECONDS + E2E_LIMIT))
    while :; do
        DESKTOP_WINDOW=$(timeout "$E2E_X_LIMIT" xdotool search --name 'Wine ([Dd]esktop|デスクトップ)' 2>"$err" | head -1) || true
        [ -n "$DESKTOP_WINDOW" ] && return 0
        grep -q '^X Error' "$err" || return 1
        [ $SECONDS -lt $deadline ] ||
            fail "xdotool's search for the Wine desktop met X errors for $E2E_LIMIT s: $(tail -n 2 "$err" | tr '\n' '|')"
    done
}

# focus_desktop: gives the virtual desktop's X window the keyboard focus.
focus_desktop() {
    desktop_shown || fail "no Wine desktop window"
    timeout "$E2E_LIMIT" xdotool windowfocus --sync "$DESKTOP_WINDOW" ||
        fail "the Wine desktop did not take the focus within $E2E_LIMIT s"
}

# press KEY: one press and release through X into the virtual desktop. The
# caller waits for its effect.
press() {
    focus_desktop
    timeout "$E2E_X_LIMIT" xdotool key --clearmodifiers "$1" ||
        fail "xdotool did not press $1 within $E2E_X_LIMIT s"
}
