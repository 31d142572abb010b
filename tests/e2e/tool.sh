# The tool's life: installed, started by the driver, waited for to the end of
# its start-up and to its end with the exit code Windows keeps; and the one
# driver, served for the whole test, through which every command goes.
# Sourced by lib.sh.
E2E_DRIVER_PID=

# install_tool DIR: a copy of config.exe in DIR, as a player would unpack it.
install_tool() {
    mkdir -p "$1"
    cp "$CONFIG_EXE" "$1/config.exe"
}

# winpath PATH: a Unix path as Wine's Z: drive shows it.
winpath() { printf 'Z:%s\n' "${1//\//\\}"; }

# start_tool DIR [CWD]: starts DIR/config.exe from CWD (default DIR), once
# the window of one started before has gone; E2E_START_NS: when. The driver
# keeps its process: wait_dialog sees it end early, wait_tool gets its exit
# code.
start_tool() {
    start_driver
    E2E_START_NS=$(drv start "$E2E_LIMIT" "$(winpath "${2:-$1}")" "$(winpath "$1")\\config.exe")
}

# wait_dialog [SECONDS [POLL_MS]]: waits until start-up is over (the dialog
# filled and the tool's loop taking messages); prints ms since start_tool.
# Fails as soon as the tool has ended (it left at once, say).
wait_dialog() { echo $(( ($(drv wait "${1:-$E2E_LIMIT}" ${2:+"$2"}) - E2E_START_NS) / 1000000 )); }

# wait_tool: waits for the tool to end, at most E2E_LIMIT s (the driver then
# names what the tool shows); its exit code goes to TOOL_RC.
wait_tool() { TOOL_RC=$(drv ended "$E2E_LIMIT"); }

# run_copy DIR: runs DIR/config.exe from DIR to its end, beside the tool
# started before; prints its exit code.
run_copy() { drv finish "$E2E_LIMIT" "$(winpath "$1")" "$(winpath "$1")\\config.exe"; }

# start_driver: the driver every command goes to, started once the desktop is
# there and kept until the test ends or Wine is restarted; one Wine process
# for them all (a start costs 1 to 4 s under QEMU's user mode, about 40 s in
# the guest). It holds the desktop: Wine closes one a second after its last
# process but explorer has ended, and a tool started again after such a pause
# met the 10 s limit of start_desktop on a loaded machine. Started by the
# test's own shell (drv does it), not inside a $(...).
start_driver() {
    [ -z "$E2E_DRIVER_PID" ] || return 0
    [ "$BASHPID" = $$ ] || fail "the driver is first asked inside a \$(...): call start_driver before"
    start_desktop
    local dir=$E2E_WORK/driver
    mkdir -p "$dir"
    rm -f "$dir/in" "$dir/out"
    mkfifo "$dir/in" "$dir/out"
    # Wine's errors stay on, in the driver's log (shown when a command
    # fails); the programs it starts write there too.
    WINEDEBUG=-all,err+all "$WINE" "$DRIVER_EXE" serve <"$dir/in" >"$dir/out" 2>>"$dir/err" &
    E2E_DRIVER_PID=$!
    exec {E2E_DRIVER_IN}>"$dir/in" {E2E_DRIVER_OUT}<"$dir/out"
    # Its first answer now: no later command's bound takes in its start.
    drv now >/dev/null
}

# tool_forgotten: the driver, as every Wine process ends; it ends with its
# input.
tool_forgotten() {
    [ -n "$E2E_DRIVER_PID" ] || return 0
    exec {E2E_DRIVER_IN}>&- {E2E_DRIVER_OUT}<&-
    E2E_DRIVER_PID=
}

# drv COMMAND [ARG...]: the driver's answer (CRs removed). A command the
# driver could not carry out fails the test, naming the command and its
# answer. The status is the one the driver prints last (its Unix status is
# not to be trusted: see the driver).
drv() {
    local out status
    start_driver
    out=$(served "$@") || true
    out=${out//$'\r'/}
    status=
    [[ "${out##*$'\n'}" =~ ^#status\ (-?[0-9]+)$ ]] && status=${BASH_REMATCH[1]}
    if [ "$status" != 0 ]; then
        # Without a status the driver never finished: what Wine said counts.
        [ -n "$status" ] ||
            status="no status (Wine said: $(tail -n 8 "$E2E_WORK/driver/err" | tr '\n' '|'))"
        out=${out%#status*}
        fail "driver command '$*' returned $status: ${out:-no output}"
    fi
    out=${out%#status 0}
    out=${out%$'\n'}
    [ -z "$out" ] || printf '%s\n' "$out"
}

# served COMMAND...: the driver's answer to one command as it comes, its
# status line last; fails when the driver has ended, or has not answered
# within E2E_LIMIT + 60 s (no command is given more than E2E_LIMIT).
served() {
    local line bound=$((E2E_LIMIT + 60))
    local deadline=$((SECONDS + bound))
    drv_send "$@" || return 1
    while [ $SECONDS -lt $deadline ] && drv_line line $((deadline - SECONDS)); do
        printf '%s\n' "$line"
        [[ "${line%$'\r'}" =~ ^#status\ -?[0-9]+$ ]] && return 0
    done
    log "the served driver has ended, or gave no answer to '$*' within $bound s"
    return 1
}

# drv_send COMMAND [ARG...]: hands the driver one command, its words
# separated by tabs; its answer is read with drv_line.
drv_send() {
    start_driver
    (IFS=$'\t'; printf '%s\n' "$*") >&"$E2E_DRIVER_IN"
}

# drv_line NAME SECONDS: the driver's next line (CR kept) into the variable
# NAME, waited for at most SECONDS (more than 0); false when the driver has
# ended or the time is up.
drv_line() { IFS= read -r -t "$2" "$1" <&"$E2E_DRIVER_OUT"; }
