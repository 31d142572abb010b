#include "app/dialog_font.h"

#include <cstdint>
#include <cstdlib>

#include "app/dialog_template.h"
#include "platform/text_table.h"
#include "res/resource.h"

namespace {

struct Template {
    const uint8_t* m_pBytes;
    size_t m_nSize;
};

Template LoadTemplate(HINSTANCE instance)
{
    Template t = {nullptr, 0};
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    if (loaded) {
        t.m_pBytes = static_cast<const uint8_t*>(LockResource(loaded));
        t.m_nSize = SizeofResource(instance, found);
    }
    return t;
}

// The font the dialog manager gave the dialog, whatever stands in for a
// missing face on this Windows.
bool DialogFontDrawsTexts(HWND dialog)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    return FontDrawsTexts(font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
}

} // namespace

bool FontDrawsTexts(HFONT font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return true;
    HGDIOBJ old = SelectObject(dc, font);
    bool draws = true;
    const wchar_t* text = g_szShownCharacters;
    for (int done = 0, total = lstrlenW(text); draws && done < total;) {
        WORD glyphs[64];
        int n = total - done < 64 ? total - done : 64;
        if (GetGlyphIndicesW(dc, text + done, n, glyphs, GGI_MARK_NONEXISTING_GLYPHS) ==
            GDI_ERROR)
            break;
        for (int i = 0; i < n; ++i)
            draws = draws && glyphs[i] != 0xFFFF;
        done += n;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return draws;
}

HANDLE RegisterCarriedFont(HINSTANCE instance)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_CARRIED_FONT), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return nullptr;
    DWORD fonts = 0;
    HANDLE font = AddFontMemResourceEx(bytes, SizeofResource(instance, found), nullptr, &fonts);
    if (font && fonts == 0) {
        RemoveFontMemResourceEx(font);
        return nullptr;
    }
    return font;
}

HWND CreateSettingsDialog(HINSTANCE instance, HWND parent, DLGPROC proc, HANDLE* carriedFont)
{
    *carriedFont = nullptr;
    // Made from the template and asked which font it got: an unseen dialog
    // made first only to ask cost every start-up its making. Only where the
    // font lacks glyphs is the dialog, not shown yet, made again.
    HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), parent, proc, 0);
    if (!dialog || DialogFontDrawsTexts(dialog))
        return dialog;
    Template t = LoadTemplate(instance);
    HANDLE font = t.m_pBytes ? RegisterCarriedFont(instance) : nullptr;
    if (!font)
        return dialog;

    const size_t room = t.m_nSize + sizeof(kCarriedFontFace) + 4;
    uint8_t* copy = static_cast<uint8_t*>(std::malloc(room));
    size_t size =
        copy ? CopyDialogTemplate(t.m_pBytes, t.m_nSize, kCarriedFontFace, true, copy, room) : 0;
    HWND carried = size ? CreateDialogIndirectParamW(
                              instance, reinterpret_cast<LPCDLGTEMPLATEW>(copy), parent, proc, 0)
                        : nullptr;
    std::free(copy);
    if (!carried) {
        RemoveFontMemResourceEx(font);
        return dialog;
    }
    DestroyWindow(dialog);
    *carriedFont = font;
    return carried;
}
