// The game controllers as DirectInput shows them to the driver's own process:
// the same Wine, so the same devices, in the same order, as the tool gets.
#pragma once

#include <string>
#include <vector>

// What a controller reads, the axes in the tool's range (-1000 to 1000).
struct PadReading {
    long m_lX, m_lY, m_lZ;
    unsigned long m_dwPov;  // hundredths of a degree, 0xFFFFFFFF centred
    unsigned char m_Buttons[128];  // bit 7 set: down
};

// The product names of the attached game controllers, in DirectInput's order.
// Each one listed is opened and kept open for the rest of the driver's run:
// a device reads only the reports that come after it was opened. False when
// DirectInput cannot be asked.
bool ListGameControllers(std::vector<std::wstring>* names);

// What the controller named NAME reads now. False when it cannot be read.
bool ReadGameController(const std::wstring& name, PadReading* reading);
