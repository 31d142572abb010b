# setup.dat: the default record, and bytes read and written in place.
# Sourced by lib.sh.

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

# Where player 1's thirteen actions, in slot order, keep their bindings.
SLOT_POSITIONS=(0 1 2 3 4 5 6 8 11 12 13 14 7)

# binding_offset SLOT: where player 1's binding of that action sits in setup.dat.
binding_offset() { echo $((4 + 4 * SLOT_POSITIONS[$1])); }

# hex_of FILE OFFSET COUNT: bytes as one hex string.
hex_of() { od -An -tx1 -v -j "$2" -N "$3" "$1" | tr -d ' \n'; }
