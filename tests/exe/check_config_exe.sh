# What Wine cannot tell about config.exe, read from the file itself: Wine
# exports every function of every Windows version, ignores the manifest's
# execution level and never asks to elevate. So, without running it:
# - the 32-bit exe (the one players get) asks for no Windows newer than XP
#   in its header and imports only functions listed in xp_sp3_imports.txt;
# - the manifest names this build's processor architecture and asks for no
#   execution level (that would switch off file virtualisation);
# - it asks for the common controls of version 6 (the look the tool has) and
#   the exe imports comctl32's initialisation, without which Windows XP
#   makes none of the dialog's windows;
# - it declares no DPI awareness, so that Windows 8.1 and later scale the
#   tool whole at a raised DPI;
# - the version resource carries the tool's description and versions, and no
#   word that makes Windows take the tool for an installer;
# - the exe is stripped (the 32-bit one within 320 KiB), its unstripped copy
#   keeps the debug information.
# Usage: check_config_exe.sh CONFIG_EXE UNSTRIPPED_EXE MINGW_TRIPLE 32|64
set -euo pipefail
exe=$1 unstripped=$2 triple=$3 bits=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

headers=$("$triple-objdump" -p "$exe")

# --- header ---
want_format=$([ "$bits" = 32 ] && echo pei-i386 || echo pei-x86-64)
format=$("$triple-objdump" -f "$exe" | sed -n 's/.*file format //p')
[ "$format" = "$want_format" ] && pass "file format $format" || fail "file format $format, expected $want_format"
field() { awk -v f="$1" '$1 == f { print $2; exit }' <<<"$headers"; }
if [ "$bits" = 32 ]; then
    for what in OSystem Subsystem; do
        v="$(field "Major${what}Version").$(field "Minor${what}Version")"
        # Windows XP is 5.1: a higher number here and its loader refuses the exe.
        awk -v v="$v" 'BEGIN { split(v, p, "."); exit !(p[1] < 5 || (p[1] == 5 && p[2] <= 1)) }' &&
            pass "$what version $v" || fail "$what version $v is newer than Windows XP (5.1)"
    done
fi

# --- imports ---
imports=$(awk '/DLL Name:/ { dll = $3; next }
               dll && NF == 0 { dll = ""; next }
               dll && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, (NF >= 3 ? $3 : "#ordinal") }' <<<"$headers")
[ -n "$imports" ] || fail "no imports found in $exe"
if [ "$bits" = 32 ]; then
    allowed=$(grep -v '^#' "$here/xp_sp3_imports.txt" | awk 'NF { print tolower($1), $2 }')
    unknown=$(awk '{ print tolower($1), $2 }' <<<"$imports" | grep -vxF -f <(echo "$allowed") || true)
    if [ -z "$unknown" ]; then
        pass "$(wc -l <<<"$imports") imports, each exported by Windows XP SP3"
    else
        fail "imports not known to be in Windows XP SP3 (tests/exe/xp_sp3_imports.txt):"
        sed 's/^/        /' <<<"$unknown"
    fi
else
    # The 64-bit build proves the program on hosts without 32-bit support;
    # no player gets it, so its runtime's imports are not held to XP.
    pass "$(wc -l <<<"$imports") imports (64-bit build, not held to XP)"
fi

# --- resources, decompiled ---
rc=$("$triple-windres" -i "$exe" -O rc) || { fail "windres cannot read the resources of $exe"; rc=; }
# The manifest's lines, unquoted from the rc form.
manifest=$(awk '/^1 24/ { on = 1; next } on && /^END/ { exit } on && /^  "/' <<<"$rc" |
           sed -e 's/^  "//' -e 's/\\n"$//' -e 's/""/"/g')
grep -q '<assembly' <<<"$manifest" && pass "manifest present" || fail "no manifest in $exe"
if grep -qE '<(trustInfo|requestedExecutionLevel)' <<<"$manifest"; then
    fail "the manifest asks for an execution level: file virtualisation would be off"
else
    pass "manifest asks for no execution level"
fi
# Windows XP loads no comctl32 for the classes the manifest redirects to it:
# the tool must, before its first window.
if grep -F 'name="Microsoft.Windows.Common-Controls"' <<<"$manifest" | grep -q 'version="6\.'; then
    pass "manifest asks for the common controls of version 6"
    grep -qiE '^comctl32\.dll (InitCommonControls|InitCommonControlsEx)$' <<<"$imports" &&
        pass "imports comctl32's initialisation" ||
        fail "the manifest asks for the common controls of version 6, but comctl32's InitCommonControls(Ex) is not imported: Windows XP would make no dialog"
else
    fail "the manifest does not ask for the common controls of version 6 (the tool's look)"
fi
if grep -qi 'dpiAware' <<<"$manifest" || grep -qi ' SetProcessDpiAware' <<<"$imports"; then
    fail "the tool declares a DPI awareness: Windows 8.1 and later would no longer scale it whole"
else
    pass "no DPI awareness declared"
fi
want_arch=$([ "$bits" = 32 ] && echo x86 || echo amd64)
archs=$(grep -o 'processorArchitecture="[^"]*"' <<<"$manifest" | sed 's/.*="\(.*\)"/\1/' | sort -u | paste -sd ' ')
[ "$archs" = "$want_arch" ] && pass "manifest architecture $archs" ||
    fail "manifest architectures '$archs', expected $want_arch"

# Version strings, wide escapes turned into UTF-8.
strings=$(grep -E '^ +VALUE "[A-Za-z]+", L?"' <<<"$rc" |
          perl -CS -pe 's/\\x([0-9a-fA-F]{4})/chr(hex($1))/ge; s/^ +VALUE "([A-Za-z]+)", L?"(.*)"[ \t\r]*$/$1=$2/')
value() { sed -n "s/^$1=//p" <<<"$strings"; }
[ "$(value FileDescription)" = "起動設定メニュー" ] && pass "file description 起動設定メニュー" ||
    fail "file description '$(value FileDescription)'"
for v in FileVersion ProductVersion; do
    [[ "$(value $v)" =~ ^[0-9]+(\.[0-9]+){3}$ ]] && pass "$v $(value $v)" || fail "$v '$(value $v)'"
done
installer=$(grep -iE 'setup|install|update|patch' <<<"$strings" || true)
[ -z "$installer" ] && pass "no installer word in the version strings" ||
    fail "version strings with an installer word (Windows would ask to elevate): $installer"

# --- debug information ---
sections() { "$triple-objdump" -h "$1" | awk '$2 ~ /^\./ { print $2 }'; }
debug=$(sections "$exe" | grep '^\.debug' | paste -sd ' ' || true)
[ -z "$debug" ] && pass "stripped: $(stat -c %s "$exe") bytes" || fail "debug sections in $exe: $debug"
# The file players get stays small: 320 KiB at most, the carried font included.
if [ "$bits" = 32 ]; then
    size=$(stat -c %s "$exe")
    [ "$size" -le $((320 * 1024)) ] && pass "within 320 KiB ($size bytes)" ||
        fail "$size bytes, more than 320 KiB ($((320 * 1024)) bytes)"
fi
sections "$unstripped" | grep -qx '.debug_info' &&
    pass "unstripped copy keeps its debug information ($(stat -c %s "$unstripped") bytes)" ||
    fail "no debug information in $unstripped"

[ $failures -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
