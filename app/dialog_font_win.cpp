#include "app/dialog_font.h"

#include <cstdint>
#include <cstdlib>

#include "app/dialog_template.h"
#include "platform/text_table.h"
#include "res/resource.h"

namespace {

INT_PTR CALLBACK ProbeProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

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

// The template's frame and font without its controls, made into an unseen
// dialog: the font the dialog manager gives it is the one the settings
// dialog would get, whatever stands in for a missing face on this Windows.
bool TemplateFontDrawsTexts(HINSTANCE instance, const Template& t, HWND parent)
{
    uint8_t* header = static_cast<uint8_t*>(std::malloc(t.m_nSize + 4));
    size_t size = header ? CopyDialogTemplate(t.m_pBytes, t.m_nSize, nullptr, false, header,
                                              t.m_nSize + 4)
                         : 0;
    HWND probe = size ? CreateDialogIndirectParamW(
                            instance, reinterpret_cast<LPCDLGTEMPLATEW>(header), parent,
                            ProbeProc, 0)
                      : nullptr;
    std::free(header);
    // Without a probe nothing can be told: the template stays as it is.
    if (!probe)
        return true;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(probe, WM_GETFONT, 0, 0));
    bool draws = FontDrawsTexts(font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    DestroyWindow(probe);
    return draws;
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
    Template t = LoadTemplate(instance);
    HANDLE font = nullptr;
    if (t.m_pBytes && !TemplateFontDrawsTexts(instance, t, parent))
        font = RegisterCarriedFont(instance);
    if (!font)
        return CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), parent, proc, 0);

    const size_t room = t.m_nSize + sizeof(kCarriedFontFace) + 4;
    uint8_t* copy = static_cast<uint8_t*>(std::malloc(room));
    size_t size =
        copy ? CopyDialogTemplate(t.m_pBytes, t.m_nSize, kCarriedFontFace, true, copy, room) : 0;
    HWND dialog = size ? CreateDialogIndirectParamW(
                             instance, reinterpret_cast<LPCDLGTEMPLATEW>(copy), parent, proc, 0)
                       : nullptr;
    std::free(copy);
    if (!dialog) {
        RemoveFontMemResourceEx(font);
        return CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), parent, proc, 0);
    }
    *carriedFont = font;
    return dialog;
}
