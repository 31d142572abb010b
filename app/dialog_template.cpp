#include "app/dialog_template.h"

#include <cstring>

namespace {
constexpr size_t kStyleOffset = 12;
constexpr size_t kItemCountOffset = 16;
constexpr size_t kMenuOffset = 26;      // after the frame's x, y, cx, cy
constexpr uint32_t kDsSetFont = 0x40;
constexpr size_t kFontFieldsSize = 6;   // point size, weight, italic, charset

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Past a NUL-terminated UTF-16 string at offset; 0 when it runs off the end.
size_t SkipString(const uint8_t* tmpl, size_t size, size_t offset)
{
    for (; offset + 2 <= size; offset += 2) {
        if (Word(tmpl + offset) == 0)
            return offset + 2;
    }
    return 0;
}

// Past a menu or class field: none (0x0000), an ordinal (0xFFFF, id) or a name.
size_t SkipNameOrOrdinal(const uint8_t* tmpl, size_t size, size_t offset)
{
    if (offset + 2 > size)
        return 0;
    uint16_t first = Word(tmpl + offset);
    if (first == 0x0000)
        return offset + 2;
    if (first == 0xFFFF)
        return offset + 4 <= size ? offset + 4 : 0;
    return SkipString(tmpl, size, offset);
}

size_t AlignToDword(size_t n) { return (n + 3) & ~static_cast<size_t>(3); }
}

bool FindDialogFontPlace(const uint8_t* tmpl, size_t size, DialogFontPlace* place)
{
    if (!tmpl || size < kMenuOffset || Word(tmpl) != 1 || Word(tmpl + 2) != 0xFFFF)
        return false;
    uint32_t style = static_cast<uint32_t>(Word(tmpl + kStyleOffset)) |
                     static_cast<uint32_t>(Word(tmpl + kStyleOffset + 2)) << 16;
    if (!(style & kDsSetFont))
        return false;
    size_t p = SkipNameOrOrdinal(tmpl, size, kMenuOffset);       // menu
    p = p ? SkipNameOrOrdinal(tmpl, size, p) : 0;                // window class
    p = p ? SkipString(tmpl, size, p) : 0;                       // title
    if (!p || p + kFontFieldsSize > size)
        return false;
    size_t faceEnd = SkipString(tmpl, size, p + kFontFieldsSize);
    if (!faceEnd)
        return false;
    place->m_nFaceOffset = p + kFontFieldsSize;
    place->m_nFaceEnd = faceEnd;
    place->m_nItemsOffset = AlignToDword(faceEnd) < size ? AlignToDword(faceEnd) : size;
    return true;
}

size_t CopyDialogTemplate(const uint8_t* tmpl, size_t size, const wchar_t* face,
                          bool withControls, uint8_t* out, size_t outSize)
{
    DialogFontPlace place;
    if (!FindDialogFontPlace(tmpl, size, &place))
        return 0;
    size_t faceBytes = place.m_nFaceEnd - place.m_nFaceOffset;
    if (face) {
        size_t units = 0;
        while (face[units])
            ++units;
        faceBytes = (units + 1) * 2;
    }
    // The controls keep their DWORD alignment: they start on one here too.
    const size_t header = AlignToDword(place.m_nFaceOffset + faceBytes);
    const size_t controls = withControls ? size - place.m_nItemsOffset : 0;
    if (header + controls > outSize)
        return 0;
    std::memset(out, 0, header);
    std::memcpy(out, tmpl, place.m_nFaceOffset);
    for (size_t i = 0; i < faceBytes / 2; ++i) {
        const uint16_t unit = face ? static_cast<uint16_t>(face[i])
                                   : Word(tmpl + place.m_nFaceOffset + 2 * i);
        out[place.m_nFaceOffset + 2 * i] = static_cast<uint8_t>(unit & 0xFF);
        out[place.m_nFaceOffset + 2 * i + 1] = static_cast<uint8_t>(unit >> 8);
    }
    if (withControls)
        std::memcpy(out + header, tmpl + place.m_nItemsOffset, controls);
    else
        out[kItemCountOffset] = out[kItemCountOffset + 1] = 0;
    return header + controls;
}
