#!/usr/bin/env bash
# The same sources give the same config.exe byte for byte, whatever folder
# they are built in: builds the program again from a copy of the source tree
# in another folder and compares the two files. Players and distributors can
# then check a download against a build of the sources.
# Usage: check_reproducible.sh SOURCE_DIR TOOLCHAIN_FILE CONFIG_EXE
set -euo pipefail
src=$1 toolchain=$2 exe=$3
[ -f "$exe" ] || { echo "FAIL: $exe missing"; exit 1; }
tmp=$(mktemp -d /tmp/ringcfg-repro.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
copy=$tmp/another/place/for/the/sources
mkdir -p "$copy"
tar -C "$src" --exclude=./build --exclude=./.prefix --exclude=./artifacts --exclude=./.git \
    -cf - . | tar -C "$copy" -xf -
# The toolchain file as it sits in the copy: nothing may point back to the
# first tree.
cmake -S "$copy" -B "$copy/out" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$copy/cmake/$(basename "$toolchain")" > "$tmp/configure.log" 2>&1 ||
    { cat "$tmp/configure.log"; echo "FAIL: configuring the second build"; exit 1; }
cmake --build "$copy/out" -j2 --target config > "$tmp/build.log" 2>&1 ||
    { tail -30 "$tmp/build.log"; echo "FAIL: the second build"; exit 1; }
if ! cmp -s "$exe" "$copy/out/config.exe"; then
    echo "FAIL: config.exe differs between $(dirname "$exe") and a build in $copy/out"
    echo "sizes: $(stat -c %s "$exe") and $(stat -c %s "$copy/out/config.exe")"
    echo "first differing bytes (offset, octal values):"
    cmp -l "$exe" "$copy/out/config.exe" | head -10
    exit 1
fi
echo "config.exe is the same $(stat -c %s "$exe") bytes from both folders (sha256 $(sha256sum "$exe" | cut -c1-16)...)"
