# The report's two forms, checked line by line: _debug.txt (the file form)
# and the information box (the dialog form). Sourced by lib.sh.

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

# check_debug_txt FILE: Shift-JIS with CR LF only, in the file form; the
# UTF-8 text goes to FILE.utf8.
check_debug_txt() {
    [ -s "$1" ] || fail "$1 missing or empty"
    crlf_only "$1" || fail "$1: not CR LF throughout"
    iconv -f CP932 -t UTF-8 "$1" > "$1.utf8" || fail "$1 is not Shift-JIS"
    tr -d '\r' < "$1.utf8" > "$1.lf"
    check_report file "$1.lf"
}
