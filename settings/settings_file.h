// setup.dat in the working directory (the tool's own directory).
#pragma once

#include "settings/settings_block.h"

// Fills the record from setup.dat or with the defaults; shows the old-file
// message for a wrong length. Returns the file's length (0: missing or empty).
long LoadSettings(SettingsBlock* block);
// Writes the record; on any failure shows the write-failure message and leaves
// the old setup.dat as it was. Returns 1 on success, 0 on failure.
int SaveSettings(const SettingsBlock* block);
