# Shared by the e2e tests and scripts/run: an Xvfb display, the tool under
# Wine inside the prefix's virtual desktop, and the driver that operates it.
# Usage: . lib.sh CONFIG_EXE DRIVER_EXE
set -euo pipefail
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$E2E_ROOT/scripts/wine-env"
CONFIG_EXE=$(readlink -f "$1")
DRIVER_EXE=$(readlink -f "$2")
# The dialog's control ids by the names res/resource.h gives them
# (IDC_UPDATE=1046), generated into the build tree beside the driver.
E2E_CONTROLS=$(dirname "$DRIVER_EXE")/generated/controls.sh
[ -f "$E2E_CONTROLS" ] || { echo "[e2e] FAIL: no $E2E_CONTROLS (built with e2e_driver)" >&2; exit 1; }
. "$E2E_CONTROLS"
# 32- or 64-bit Wine and prefixes, as the exe under test was built.
E2E_BITS=$(pe_bits "$CONFIG_EXE") || exit 1
use_wine "$E2E_BITS"
export LANG=${E2E_LANG:-ja_JP.UTF-8}
export WINEPREFIX=${E2E_PREFIX:-}
E2E_XVFB_PID=
E2E_TOOL_PID=
E2E_TOOL_STARTED=
E2E_DESKTOP_HOLDER=
E2E_DRIVER_PID=
E2E_WORK=$(mktemp -d /tmp/ringcfg-e2e.XXXXXX)
ARTIFACTS=${ARTIFACTS:-$E2E_ROOT/artifacts}
mkdir -p "$ARTIFACTS"

log() { printf '[e2e] %s\n' "$*" >&2; }
fail() { log "FAIL: $*"; exit 1; }
# limit WHAT: a check this run makes otherwise, or not at all, because this
# host cannot show what a player's Windows would (Wine under QEMU's user
# mode, WINE_ROAD qemu; a host that refuses a fixed layout): said in the log,
# and kept in the file RINGCFG_LIMITS names, from which the test command's
# closing lines name it. No check is dropped without a word.
limit() {
    log "limit: $*"
    [ -z "${RINGCFG_LIMITS:-}" ] || printf '%s\n' "$*" >> "$RINGCFG_LIMITS"
}
# No test ends without saying why: a command that stops the script under
# set -e names itself and its status.
set -E
trap 'log "FAIL: line $LINENO: \"$BASH_COMMAND\" returned $?"' ERR
trap 'exit 1' TERM

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
    read -r n < "$fifo" || fail "Xvfb did not start"
    [ -n "$n" ] || fail "Xvfb did not start"
    export DISPLAY=:$n
}

cleanup() {
    set +e
    trap - ERR
    [ -n "$E2E_TOOL_PID" ] && kill "$E2E_TOOL_PID" 2>/dev/null
    [ -n "$E2E_DRIVER_PID" ] && kill "$E2E_DRIVER_PID" 2>/dev/null
    [ -n "$E2E_DESKTOP_HOLDER" ] && kill "$E2E_DESKTOP_HOLDER" 2>/dev/null
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    mountpoint -q "$E2E_WORK/prefix" 2>/dev/null && umount "$E2E_WORK/prefix"
    [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null && wait "$E2E_XVFB_PID" 2>/dev/null
    chattr -R -i "$E2E_WORK" 2>/dev/null
    mountpoint -q "$E2E_WORK/tiny" 2>/dev/null && umount "$E2E_WORK/tiny"
    rm -rf "$E2E_WORK"
}
trap cleanup EXIT

# Without E2E_PREFIX each run works in its own copy of the x11 prefix: the
# cleanup ends every Wine process of the prefix, and others may be using the
# shared one at the same time.
#
# Wine's own DLLs (a copy of each in system32, syswow64 and winsxs: 0.6 GB in
# a 32-bit prefix, 1.2 GB in a 64-bit one) are linked, not copied: no run
# writes them, and the copy never updates itself, the one thing that would
# (its update mark says so). In the guest a full copy took minutes.
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
if [ -z "$WINEPREFIX" ]; then
    export WINEPREFIX=$E2E_WORK/prefix
    if in_guest; then
        # In the guest of scripts/guest the prefix is read over 9p, where
        # even the copy above takes minutes: an overlay on the guest's tmpfs
        # reads only what Wine opens and keeps every write.
        mkdir -p "$WINEPREFIX" "$E2E_WORK/prefix-changes" "$E2E_WORK/prefix-overlay"
        mount -t overlay overlay -o "lowerdir=$WINE_PREFIX_X11,upperdir=$E2E_WORK/prefix-changes,workdir=$E2E_WORK/prefix-overlay" "$WINEPREFIX" ||
            fail "cannot lay an overlay over the Wine prefix $WINE_PREFIX_X11"
    else
        copy_prefix "$WINE_PREFIX_X11" "$WINEPREFIX" || fail "cannot copy the Wine prefix $WINE_PREFIX_X11"
    fi
fi

# slow_starts: true where a Wine process is slow to start: in the guest of
# scripts/guest (about 40 s), and under QEMU's user mode (1 to 4 s against a
# tenth of that natively). There one driver serves every command.
slow_starts() { in_guest || [ "$WINE_ROAD" = qemu ]; }

# keep_wineserver: the prefix's wineserver, started now and kept until the
# test ends it. By itself it ends 3 s after its last process, and a process
# started in that moment may meet it on its way out. In the guest, where
# both take long, a test once found every Wine process gone, the desktop's
# explorer too, soon after its first one-off driver command.
keep_wineserver() { wineserver -p 2>/dev/null || true; }
keep_wineserver

# install_tool DIR: a copy of config.exe in DIR, as a player would unpack it.
install_tool() {
    mkdir -p "$1"
    cp "$CONFIG_EXE" "$1/config.exe"
}

# start_desktop: the virtual desktop, made before the first Wine process that
# shows a window or asks for one (the tool, the served driver). A Wine process
# that finds no desktop starts explorer and waits 10 s for it; where explorer
# takes longer (in the guest of scripts/guest, or on a loaded machine) the
# process then goes on without a display driver, and the tool, unable to make
# its window, ends at once (with 0). Explorer started by itself takes the
# time it needs. E2E_DESKTOP names the desktop and its size, as the prefix's
# Explorer settings give them to every Wine process.
E2E_DESKTOP=${E2E_DESKTOP:-Default,1024x768}
start_desktop() {
    desktop_shown && return 0
    local log=$E2E_WORK/explorer.log deadline=$((SECONDS + E2E_LIMIT))
    "$WINE" explorer.exe "/desktop=$E2E_DESKTOP" >"$log" 2>&1 &
    local explorer=$!
    # Its early end is no failure: another explorer, started by a Wine process
    # by itself, may be making the desktop.
    until desktop_shown; do
        [ $SECONDS -lt $deadline ] ||
            fail "no Wine desktop within $E2E_LIMIT s (explorer $(running "$explorer"), X server $(running "$E2E_XVFB_PID"), xdotool said: $(tr '\n' '|' <"$E2E_WORK/xdotool.err")); explorer said: $(tail -n 5 "$log" | tr '\n' '|')"
        sleep 0.2
    done
}

# running PID: whether that process still runs, as a failure tells it.
running() { if [ -n "$1" ] && kill -0 "$1" 2>/dev/null; then echo running; else echo ended; fi; }

# desktop_shown: true when the virtual desktop's X window exists; its id is
# then in DESKTOP_WINDOW. xdotool's search ends with an X error when a window
# it reads goes away meanwhile, as Wine's start-up windows do; such a look
# says nothing either way and is made again, for at most E2E_LIMIT s.
desktop_shown() {
    local err=$E2E_WORK/xdotool.err deadline=$((SECONDS + E2E_LIMIT))
    while :; do
        DESKTOP_WINDOW=$(xdotool search --name "Wine desktop" 2>"$err" | head -1) || true
        [ -n "$DESKTOP_WINDOW" ] && return 0
        grep -q '^X Error' "$err" || return 1
        [ $SECONDS -lt $deadline ] ||
            fail "xdotool's search for the Wine desktop met X errors for $E2E_LIMIT s: $(tail -n 2 "$err" | tr '\n' '|')"
    done
}

# hold_desktop: the virtual desktop made (start_desktop) and kept until the
# test ends or Wine is restarted. Wine closes a desktop a second after its
# last process but explorer has ended; a tool started again after such a
# pause met the 10 s limit above on a loaded machine. Any Wine process keeps
# it open: in the guest the served driver, elsewhere a driver whose input
# never gives a command.
hold_desktop() {
    start_desktop
    if ! in_guest && [ -z "$E2E_DESKTOP_HOLDER" ]; then
        exec {E2E_DESKTOP_HOLD}> >(exec "$WINE" "$DRIVER_EXE" serve >/dev/null 2>&1)
        E2E_DESKTOP_HOLDER=$!
    fi
}

# start_tool DIR [CWD]: starts DIR/config.exe from CWD (default DIR), through
# the driver, which keeps the tool's exit code as Windows reports it. The
# driver's time limit starts when wait_tool writes a line to its input.
start_tool() {
    local dir=$1 cwd=${2:-$1} asked=$E2E_WORK/tool-asked.$RANDOM
    hold_desktop
    # A copy that finds a main window of the tool brings it forward and ends
    # at once: a start after another waits until that one's window is gone.
    [ -z "$E2E_TOOL_STARTED" ] || drv gone "$E2E_LIMIT"
    E2E_TOOL_STARTED=1
    E2E_START_NS=$(date +%s%N)
    rm -f "$E2E_WORK/exit-code"
    # Opened both ways here first, so that neither side blocks in the open.
    mkfifo "$asked"
    exec {E2E_TOOL_ASKED}<>"$asked"
    rm -f "$asked"
    (cd "$cwd" && exec "$WINE" "$DRIVER_EXE" run "$E2E_LIMIT" "Z:${dir//\//\\}\\config.exe" \
        <&$E2E_TOOL_ASKED > "$E2E_WORK/exit-code" 2>/dev/null) &
    E2E_TOOL_PID=$!
    # In the guest every driver command would start a Wine process.
    slow_starts && [ -z "$E2E_DRIVER_PID" ] && drv_serve
    return 0
}

# tool_exit_code TEXT: the exit code from the output of the driver's run.
tool_exit_code() {
    local text=${1//$'\r'/} code
    code=$(driver_status "$text")
    [ -n "$code" ] && [[ "$text" != *error:* ]] ||
        fail "no exit code from the tool (the driver said '${text//$'\n'/ }')"
    echo "$code"
}

# run_copy DIR: runs DIR/config.exe from DIR to its end; prints its exit code.
run_copy() {
    local out
    out=$(cd "$1" && "$WINE" "$DRIVER_EXE" run "$E2E_LIMIT" "Z:${1//\//\\}\\config.exe" \
        </dev/null 2>/dev/null) || true
    tool_exit_code "$out"
}

# wait_tool: waits for the tool to end, at most E2E_LIMIT s (the driver then
# names what the tool shows); its exit code goes to TOOL_RC. (Not in a $(...)
# subshell: only this shell can wait for its child.)
wait_tool() {
    echo >&$E2E_TOOL_ASKED
    wait "$E2E_TOOL_PID" || true
    exec {E2E_TOOL_ASKED}>&-
    E2E_TOOL_PID=
    TOOL_RC=$(tool_exit_code "$(cat "$E2E_WORK/exit-code" 2>/dev/null)")
}

# How long any wait for the tool may take before it counts as a fault: far
# beyond what a busy machine needs, so that only a tool that never gets there
# fails. (120 s was not: on a 2-core machine under a load of 15 one start-up
# of the tool took longer.) Wine runs 25 to 100 times slower in the guest of
# scripts/guest.
if in_guest; then E2E_LIMIT=${E2E_LIMIT:-900}; else E2E_LIMIT=${E2E_LIMIT:-600}; fi

# is WHAT GOT WANT: fails, naming WHAT and both values, unless GOT is WANT.
is() { [ "$2" = "$3" ] || fail "$1 is '$2', expected '$3'"; }

# driver_status TEXT: the status from the driver's last line ("#status N"), or
# nothing when the driver ended before it could print one.
driver_status() {
    local last=${1##*$'\n'}
    [[ "$last" =~ ^#status\ (-?[0-9]+)$ ]] && echo "${BASH_REMATCH[1]}"
    return 0
}

# drv COMMAND...: the driver's output (CRs removed). A command the driver
# could not carry out fails the test, naming the command and its answer. The
# status is the one the driver prints last (its Unix status is not to be
# trusted: see the driver).
drv() {
    local out unix=0 status err
    if [ -n "$E2E_DRIVER_PID" ]; then
        err=$E2E_WORK/driver/err
        out=$(served "$@") || unix=$?
    else
        err=$(mktemp "$E2E_WORK/driver-err.XXXXXX")
        # Wine's errors stay on (only shown when the driver fails).
        out=$(WINEDEBUG=-all,err+all "$WINE" "$DRIVER_EXE" "$@" 2>"$err") || unix=$?
    fi
    out=${out//$'\r'/}
    status=$(driver_status "$out")
    if [ "$status" != 0 ]; then
        # Without a status the driver never finished: what Wine said counts.
        [ -n "$status" ] ||
            status="no status (Unix status $unix; Wine said: $(tail -n 8 "$err" | tr '\n' '|'))"
        out=${out%#status*}
        log "FAIL: driver command '$*' returned $status: ${out:-no output}"
        # Inside $(...) an exit ends only that subshell: end the test itself.
        [ "$BASHPID" = $$ ] || kill -TERM $$
        exit 1
    fi
    [ -n "$E2E_DRIVER_PID" ] || rm -f "$err"
    out=${out%#status 0}
    out=${out%$'\n'}
    [ -z "$out" ] || printf '%s\n' "$out"
}

# drv_serve: from here on drv hands its commands to one driver that stays up
# and reads them from a pipe. Where a Wine process is slow to start (about
# 40 s in the guest), a start per command would cost minutes. It lives until
# the test ends or Wine is restarted.
drv_serve() {
    local dir=$E2E_WORK/driver
    in_guest && start_desktop
    mkdir -p "$dir"
    mkfifo "$dir/in" "$dir/out"
    WINEDEBUG=-all,err+all "$WINE" "$DRIVER_EXE" serve <"$dir/in" >"$dir/out" 2>"$dir/err" &
    E2E_DRIVER_PID=$!
    exec {E2E_DRIVER_IN}>"$dir/in" {E2E_DRIVER_OUT}<"$dir/out"
    # Its first answer now: no later command's bound takes in its start.
    drv now >/dev/null
}

# drv_unserve: drv starts a driver per command again; ending its input ends
# the served driver.
drv_unserve() {
    [ -n "$E2E_DRIVER_PID" ] || return 0
    exec {E2E_DRIVER_IN}>&- {E2E_DRIVER_OUT}<&-
    E2E_DRIVER_PID=
    rm -f "$E2E_WORK/driver/in" "$E2E_WORK/driver/out"
}

# served COMMAND...: the served driver's answer to one command, its status
# line last; fails when the driver has ended, or has not answered within
# E2E_LIMIT + 60 s (no command is given more than E2E_LIMIT).
served() {
    local line left bound=$((E2E_LIMIT + 60))
    local deadline=$((SECONDS + bound))
    (IFS=$'\t'; printf '%s\n' "$*") >&"$E2E_DRIVER_IN" || return 1
    while :; do
        left=$((deadline - SECONDS))
        # (read -t 0 would only ask whether input is there.)
        if [ $left -le 0 ]; then
            log "FAIL: the served driver gave no answer to '$*' within $bound s"
            return 1
        fi
        IFS= read -r -t "$left" line <&"$E2E_DRIVER_OUT" || {
            [ $? -le 128 ] || log "FAIL: the served driver gave no answer to '$*' within $bound s"
            return 1
        }
        printf '%s\n' "$line"
        [[ "${line%$'\r'}" =~ ^#status\ -?[0-9]+$ ]] && return 0
    done
}

# wait_dialog: waits until start-up is over (the dialog filled and the tool's
# loop taking messages); prints ms since start_tool. Fails as soon as the run
# of start_tool has ended (the tool, say, left at once), seen in its output.
wait_dialog() {
    drv wait "${1:-$E2E_LIMIT}" "Z:${E2E_WORK//\//\\}\\exit-code" >/dev/null
    echo $(( ($(date +%s%N) - E2E_START_NS) / 1000000 ))
}

# click_done ID: clicks a button and waits until its handler has run. Not for
# the buttons that close the tool or open a message box.
click_done() {
    drv click "$1"
    drv sync "$E2E_LIMIT"
}

# begin_assignment: "設定開始" clicked, then the tool settled (see the
# driver's settle), so that the next press is assigned: the tool takes a
# press only after a look at the keyboard that found none, and it looks only
# when its queue is empty; under a slow emulation painting can keep that
# queue busy past the click and the press that follows.
begin_assignment() {
    click_done $IDC_BEGIN_ASSIGN_1P
    drv settle "$E2E_LIMIT"
}

screenshot() {
    drv paint
    import -window root "$ARTIFACTS/$1.png" 2>/dev/null || log "no screenshot"
}

# focus_desktop: gives the virtual desktop's X window the keyboard focus.
focus_desktop() {
    desktop_shown || fail "no Wine desktop window"
    timeout "$E2E_LIMIT" xdotool windowfocus --sync "$DESKTOP_WINDOW" ||
        fail "the Wine desktop did not take the focus within $E2E_LIMIT s"
}

# hex_of FILE OFFSET COUNT: bytes as one hex string.
hex_of() { od -An -tx1 -v -j "$2" -N "$3" "$1" | tr -d ' \n'; }

# restart_wine [CHANGE...]: ends every Wine process of the prefix (the tool,
# the desktop, the services, the server), so that the next start picks up a
# changed LANG; runs CHANGE while none runs (a server holds the registry and
# writes it back over any edit of its files), then keeps a new server.
restart_wine() {
    [ -n "$E2E_TOOL_PID" ] && kill "$E2E_TOOL_PID" 2>/dev/null
    E2E_TOOL_PID=
    # No window outlives every Wine process.
    E2E_TOOL_STARTED=
    drv_unserve
    if [ -n "$E2E_DESKTOP_HOLDER" ]; then
        exec {E2E_DESKTOP_HOLD}>&-
        E2E_DESKTOP_HOLDER=
    fi
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    "$@"
    keep_wineserver
}

# set_dpi DPI: the prefix's screen at DPI dots per inch, the two values
# winecfg's slider writes. A CHANGE for restart_wine: it waits for its own
# Wine processes to end, which the kept server never does.
set_dpi() {
    local key
    for key in 'HKCU\Control Panel\Desktop' \
               'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
        "$WINE" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
            fail "cannot set LogPixels $1 under $key"
    done
    wineserver -w
}

# press KEY: one press and release through X into the virtual desktop. The
# caller waits for its effect.
press() {
    focus_desktop
    xdotool key --clearmodifiers "$1"
}

# keys_taken: waits until the tool has read every key pressed before, so that
# a press that must change nothing has had its chance to. Wine hands a key to
# the tool's DirectInput before the key's window messages reach the tool's
# thread, and the tool reads DirectInput whenever its queue is empty; a space
# pressed into a focused check box toggles the box when that thread handles
# it. Two spaces leave the box as it was. Only while no assignment runs.
keys_taken() {
    local box=$IDC_FULLSCREEN before want
    before=$(drv check $box)
    drv focus $box
    for want in $((1 - before)) "$before"; do
        press space
        drv waitchecks "$E2E_LIMIT" "$want" $box >/dev/null
    done
}

# wait_text ID EXPECTED: waits until a control shows that text.
wait_text() { drv waittext "$E2E_LIMIT" "$1" "$2" >/dev/null; }

# next_slot N: waits for the check to move on to slot N, then lets the
# dialog's timer record it. The timer does that every 100 ms; the driver's
# tick does the same at once, so the next press never races the period (two
# presses within one period go to the same slot, by design).
next_slot() {
    local states=() s
    for s in "${!SLOT_RADIOS[@]}"; do states+=($([ "$s" = "$1" ] && echo 1 || echo 0)); done
    drv waitchecks "$E2E_LIMIT" "$(printf %s "${states[@]}")" "${SLOT_RADIOS[@]}" >/dev/null
    drv tick
}

# The 2,384 bytes the tool writes when it starts without setup.dat (the
# record the unit tests and the fuzz seeds share).
DEFAULT_RECORD=$E2E_ROOT/tests/data/default-setup.dat

# put_le32 FILE OFFSET VALUE: writes a little-endian 32-bit word in place.
put_le32() {
    local v=$(( $3 ))
    printf "\\x$(printf %02x $((v & 255)))\\x$(printf %02x $(((v >> 8) & 255)))\\x$(printf %02x $(((v >> 16) & 255)))\\x$(printf %02x $(((v >> 24) & 255)))" |
        dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# put_byte FILE OFFSET VALUE
put_byte() {
    printf "\\x$(printf %02x $(( $3 )))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# Player 1's thirteen actions in slot order (as res/resource.h names them):
# radio and edit ids, and binding position.
SLOT_RADIOS=() SLOT_EDITS=()
for action in UP DOWN LEFT RIGHT A B C D L1 R1 L2 R2 START; do
    radio=IDC_P1_RADIO_$action edit=IDC_P1_EDIT_$action
    SLOT_RADIOS+=("${!radio}") SLOT_EDITS+=("${!edit}")
done
SLOT_POSITIONS=(0 1 2 3 4 5 6 8 11 12 13 14 7)

# binding_offset SLOT: where player 1's binding of that action sits in setup.dat.
binding_offset() { echo $((4 + 4 * SLOT_POSITIONS[$1])); }

# checked_slot: the first checked player-1 radio, or -1.
checked_slot() {
    local states s
    states=($(drv checks "${SLOT_RADIOS[@]}"))
    for s in "${!states[@]}"; do
        [ "${states[$s]}" = 1 ] && { echo "$s"; return; }
    done
    echo -1
}

# slot_names: the texts of player 1's thirteen edit boxes, space-separated.
slot_names() { drv texts "${SLOT_EDITS[@]}" | tr '\n' ' ' | sed 's/ $//'; }

# dialog_shot FILE [WIDTH]: the main window alone, cropped from the screen,
# scaled to WIDTH pixels when given.
dialog_shot() {
    local r full
    drv paint
    r=($(drv rects))
    full=$E2E_WORK/shot-full.png
    import -window root "$full" 2>/dev/null || { log "no screenshot"; return 0; }
    local w=$((r[3] - r[1])) h=$((r[4] - r[2]))
    if [ -n "${2:-}" ]; then
        convert "$full" -crop "${w}x${h}+${r[1]}+${r[2]}" +repage -resize "$2x" \
            -strip -colors 64 "$1"
    else
        convert "$full" -crop "${w}x${h}+${r[1]}+${r[2]}" +repage "$1"
    fi
}

# crlf_only FILE: every line ends in CR LF, the last one included, and no CR
# stands alone.
crlf_only() {
    local lf crlf cr
    lf=$(tr -cd '\n' < "$1" | wc -c)
    cr=$(tr -cd '\r' < "$1" | wc -c)
    crlf=$(grep -c $'\r$' "$1" || true)
    [ "$lf" -gt 0 ] && [ "$lf" = "$crlf" ] && [ "$cr" = "$lf" ] &&
        [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' \n')" = 0d0a ]
}

# check_report file|dialog FILE: FILE (UTF-8, CRs removed) follows the report's
# file or dialog form line by line with a real Direct3D HAL device behind it.
# Sets REPORT_FIELDS (the values of both forms, for comparing them).
check_report() {
    local form=$1 lines n=0 t1 t2 t3 t4
    mapfile -t lines < "$2"
    if [ "$form" = file ]; then
        t1=$'\t\t\t\t' t2=$'\t\t\t' t3=$'\t\t' t4=$'\t\t'
    else
        t1=$'\t\t' t2=$'\t\t' t3=$'\t' t4=$'\t'
    fi
    # expect PATTERN: the next line matches the bash regex; BASH_REMATCH kept.
    expect() {
        [ $n -lt ${#lines[@]} ] || fail "$form report ends at line $n, expected /$1/"
        [[ "${lines[$n]}" =~ $1 ]] || fail "$form report line $((n + 1)) is '${lines[$n]}', expected /$1/"
        n=$((n + 1))
    }
    local t=$'\t' vs ps mb gb
    expect '^\[ 起動設定メニュー \]$'
    expect '^$'
    expect "^OS${t1}(Windows .+)$";                 REPORT_FIELDS="os=${BASH_REMATCH[1]}"
    expect "^CPU${t1}(.+)$";                        REPORT_FIELDS+="|cpu=${BASH_REMATCH[1]}"
    expect "^DirectX${t2}(.*DirectX 9.+)$";         REPORT_FIELDS+="|dx=${BASH_REMATCH[1]}"
    expect '^$'
    for what in Total Free; do
        expect "^Memory\\( $what \\)${t}([0-9]+) MB \\( ([0-9]+\\.[0-9]{2}) GB \\)$"
        mb=${BASH_REMATCH[1]} gb=${BASH_REMATCH[2]}
        [ "$(awk -v m="$mb" 'BEGIN { printf "%.2f", m / 1024.0 }')" = "$gb" ] ||
            fail "$form report: $mb MB shown as $gb GB"
        [ "$what" = Total ] && REPORT_TOTAL_MB=$mb
    done
    # The total is the machine's own memory (Linux counts it in kB). Under
    # QEMU's user mode a 32-bit program's total wraps at 4 GiB (QEMU passes
    # sysinfo through unscaled): there it is what a 32-bit probe under the
    # same emulation reads.
    local linux_mb=$(( $(awk '/^MemTotal:/ { print $2 }' /proc/meminfo) / 1024 )) whose="the machine has"
    if [ "$WINE_ROAD" = qemu ]; then
        linux_mb=$(drv physmem) whose="a 32-bit probe under QEMU reads"
        limit "memory above 4 GiB not checked: under QEMU the report's total is compared with a 32-bit probe's, not with the machine's"
    fi
    [ $((REPORT_TOTAL_MB * 100)) -ge $((linux_mb * 98)) ] &&
        [ $((REPORT_TOTAL_MB * 100)) -le $((linux_mb * 102)) ] ||
        fail "$form report: total memory $REPORT_TOTAL_MB MB, $whose $linux_mb MB"
    expect "^VRAM${t2}(.+)$";                       REPORT_FIELDS+="|vram=${BASH_REMATCH[1]}"
    expect '^$'
    expect "^Description ${t}(.+)$";                REPORT_FIELDS+="|desc=${BASH_REMATCH[1]}"
    expect "^Driver ${t2}(.+)$";                    REPORT_FIELDS+="|driver=${BASH_REMATCH[1]}"
    expect "^Device type${t3}D3DDEVTYPE_HAL$"
    expect "^VP mode${t2}HARDWARE_VERTEXPROCESSING$"
    expect "^Max Texture Size${t4}([1-9][0-9]*) x ([1-9][0-9]*)$"
    REPORT_FIELDS+="|tex=${BASH_REMATCH[1]}x${BASH_REMATCH[2]}"
    expect '^$'
    local shader
    for shader in Vertex Pixel; do
        expect "^$shader shader${t}ver ([0-9])\\.([0-9]) - \\[ 1\\.1 : (ok|x) \\], \\[ 2\\.0 : (ok|x) \\]$"
        local v=$((BASH_REMATCH[1] * 256 + BASH_REMATCH[2]))
        [ "${BASH_REMATCH[3]}" = "$([ $v -ge 257 ] && echo ok || echo x)" ] &&
            [ "${BASH_REMATCH[4]}" = "$([ $v -ge 512 ] && echo ok || echo x)" ] ||
            fail "$form report: $shader shader marks do not fit version ${BASH_REMATCH[1]}.${BASH_REMATCH[2]}"
        [ $shader = Vertex ] && vs=$v || ps=$v
        REPORT_FIELDS+="|$shader=${BASH_REMATCH[1]}.${BASH_REMATCH[2]}"
    done
    expect '^$'
    # The texture formats stand before the notes in the dialog, after them in the file.
    formats() {
        local yes no
        [ "$form" = file ] && yes=OK no=NO || yes=ok no=x
        expect "^R5G6B5${t2}($yes|$no)$";   local marks=${BASH_REMATCH[1]}
        expect "^A1R5G5B5${t3}($yes|$no)$"; marks+=${BASH_REMATCH[1]}
        expect "^A4R4G4B4${t3}($yes|$no)$"; marks+=${BASH_REMATCH[1]}
        expect "^A8R8G8B8${t3}($yes)$"      # 32-bit textures are always there on a HAL device
        marks+=${BASH_REMATCH[1]}
        REPORT_FIELDS+="|formats=$(echo "$marks" | tr 'a-z' 'A-Z' | sed 's/X/NO/g')"
    }
    if [ "$form" = dialog ]; then
        expect '^\[ テクスチャフォーマット \]$'
        expect '^$'
        formats
        expect '^$'
    fi
    # Notes: only these four, in this order.
    local notes=("^-- テクスチャがべき乗 & 正方形に補正されます$"
                 "^-- レンダーテクスチャが使用できません$"
                 "^-- シェーダスキニングが実行できます（ ([0-9]+) ）$"
                 "^-- ピクセルシェーダは使用できません$")
    local i pixel_note=0
    for i in 0 1 2 3; do
        if [ $n -lt ${#lines[@]} ] && [[ "${lines[$n]}" =~ ${notes[$i]} ]]; then
            [ $i = 2 ] && [ "${BASH_REMATCH[1]}" -lt 256 ] && fail "$form report: skinning with ${BASH_REMATCH[1]} constants"
            [ $i = 3 ] && pixel_note=1
            n=$((n + 1))
        fi
    done
    # The pixel-shader note: below 2.0 in the dialog, below 1.1 in the file.
    local limit=$([ "$form" = file ] && echo 257 || echo 512)
    [ $pixel_note = $([ $ps -lt $limit ] && echo 1 || echo 0) ] ||
        fail "$form report: pixel-shader note $pixel_note for pixel shader version $ps"
    if [ "$form" = file ]; then
        expect '^$'
        formats
    fi
    [ $n = ${#lines[@]} ] || fail "$form report: unexpected line $((n + 1)): '${lines[$n]}'"
}

# report_box_to FILE: the information box's text, exactly, in UTF-8 (the
# driver's output as it comes, CRs kept, less its status line and the LF it
# adds after the text).
report_box_to() {
    "$WINE" "$DRIVER_EXE" text "$IDC_REPORT" > "$1.raw" 2>/dev/null || true
    local last
    last=$(tail -n 1 "$1.raw")
    is "the driver's status line after 'text $IDC_REPORT'" "$last" "#status 0"
    head -n -1 "$1.raw" | head -c -1 > "$1"
}

# check_debug_txt FILE: Shift-JIS with CR LF only, in the file form; the
# UTF-8 text goes to FILE.utf8.
check_debug_txt() {
    [ -s "$1" ] || fail "$1 missing or empty"
    crlf_only "$1" || fail "$1: not CR LF throughout"
    iconv -f CP932 -t UTF-8 "$1" > "$1.utf8" || fail "$1 is not Shift-JIS"
    tr -d '\r' < "$1.utf8" > "$1.lf"
    check_report file "$1.lf"
}
