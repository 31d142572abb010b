#include "sysinfo/dxdiag_text.h"

#include <cstdint>
#include <cstring>

void NarrowDxDiagText(const void* utf16, char* field)
{
    const unsigned char* units = static_cast<const unsigned char*>(utf16);
    size_t i = 0;
    for (; i < kDxDiagTextSize; ++i) {
        uint16_t unit;
        std::memcpy(&unit, units + 2 * i, sizeof(unit));
        if (unit == 0 || unit > 0xFF)
            break;
        field[i] = static_cast<char>(unit);
    }
    if (i < kDxDiagTextSize)
        field[i] = '\0';
    field[kDxDiagTextSize - 1] = '\0';
}
