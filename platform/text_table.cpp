#include "platform/text_table.h"

#include "text_table_data.h"  // generated into the build tree

const wchar_t* const g_szShownCharacters = kShownCharacters;

namespace {
constexpr int kTableSize = sizeof(kTextTable) / sizeof(kTextTable[0]);

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The UTF-16 of one Shift-JIS code, or 0 when the table does not know it.
uint16_t LookUpTextTable(uint16_t sjis)
{
    int low = 0;
    int high = kTableSize - 1;
    while (low <= high) {
        int mid = (low + high) / 2;
        if (kTextTable[mid].m_nSjis == sjis)
            return kTextTable[mid].m_nUtf16;
        if (kTextTable[mid].m_nSjis < sjis)
            low = mid + 1;
        else
            high = mid - 1;
    }
    return 0;
}
}

int SjisToWideByTable(const char* sjis, wchar_t* out, int outChars)
{
    if (!out || outChars <= 0)
        return 0;
    out[0] = L'\0';
    if (!sjis)
        return 0;
    int n = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(sjis); *p;) {
        wchar_t c;
        if (*p < 0x80) {
            c = *p++;
        } else {
            // A lead byte before the terminator is a cut character: not known.
            uint16_t code = IsLeadByte(*p) && p[1] ? static_cast<uint16_t>(p[0] << 8 | p[1]) : *p;
            uint16_t wide = LookUpTextTable(code);
            if (!wide) {
                out[0] = L'\0';
                return -1;
            }
            c = static_cast<wchar_t>(wide);
            p += code > 0xFF ? 2 : 1;
        }
        // Past the buffer the rest is still read: an unknown sequence there
        // sends the whole text elsewhere too.
        if (n + 1 < outChars)
            out[n++] = c;
    }
    out[n] = L'\0';
    return n;
}
