# The tool's life: installed, started through the driver, waited for to
# the end of its start-up and to its end with its exit code; and the driver
# that operates it. Sourced by lib.sh.
E2E_TOOL_PID=
E2E_TOOL_STARTED=
E2E_DESKTOP_HOLDER=
E2E_DRIVER_PID=

# slow_starts: true where a Wine process is slow to start: in the guest of
# scripts/guest (about 40 s), and under QEMU's user mode (1 to 4 s against a
# tenth of that natively). There one driver serves every command.
slow_starts() { in_guest || [ "$WINE_ROAD" = qemu ]; }

# install_tool DIR: a copy of config.exe in DIR, as a player would unpack it.
install_tool() {
    mkdir -p "$1"
    cp "$CONFIG_EXE" "$1/config.exe"
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

# tool_forgotten: the tool and the driver, as every Wine process ends.
tool_forgotten() {
    [ -n "$E2E_TOOL_PID" ] && kill "$E2E_TOOL_PID" 2>/dev/null
    E2E_TOOL_PID=
    # No window outlives every Wine process.
    E2E_TOOL_STARTED=
    drv_unserve
    if [ -n "$E2E_DESKTOP_HOLDER" ]; then
        exec {E2E_DESKTOP_HOLD}>&-
        E2E_DESKTOP_HOLDER=
    fi
    return 0
}
