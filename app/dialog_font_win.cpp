#include "app/dialog_font.h"

#include <cstdint>
#include <cstdlib>

#include "app/dialog_font_choice.h"
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

// The name the selected font gives itself, its full name from its own name
// table: GetTextFace, and even the family there, give the face asked for
// where Wine replaces it with another font (or Windows substitutes one).
// A font without outlines goes by its face.
void FontOwnName(HFONT font, wchar_t (&name)[LF_FACESIZE])
{
    name[0] = L'\0';
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return;
    HGDIOBJ old = SelectObject(dc, font);
    UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
    OUTLINETEXTMETRICW* otm =
        size >= sizeof(OUTLINETEXTMETRICW) ? static_cast<OUTLINETEXTMETRICW*>(std::malloc(size))
                                           : nullptr;
    if (otm && GetOutlineTextMetricsW(dc, size, otm) == size) {
        // The name's place is an offset from the record's start.
        size_t at = reinterpret_cast<size_t>(otm->otmpFaceName);
        const wchar_t* own = reinterpret_cast<const wchar_t*>(reinterpret_cast<char*>(otm) + at);
        size_t n = 0;
        if (at >= sizeof(OUTLINETEXTMETRICW) && at < size)
            for (size_t most = (size - at) / sizeof(wchar_t); n < most && n + 1 < LF_FACESIZE && own[n];
                 ++n)
                name[n] = own[n];
        name[n] = L'\0';
    }
    std::free(otm);
    if (!name[0])
        GetTextFaceW(dc, LF_FACESIZE, name);
    SelectObject(dc, old);
    DeleteDC(dc);
}

// The template's frame and font without its controls, made into an unseen
// dialog (in face, or in the template's own where face is null): the font
// the dialog manager gives it is the one the settings dialog would get,
// whatever stands in for a missing face on this Windows. False when no probe
// can be made.
bool SeeDialogFont(HINSTANCE instance, const Template& t, const wchar_t* face, HWND parent,
                   DialogFontSeen* seen, wchar_t (&name)[LF_FACESIZE])
{
    const size_t room = t.m_nSize + sizeof(kCarriedFontFace) + 4;
    uint8_t* header = static_cast<uint8_t*>(std::malloc(room));
    size_t size = header ? CopyDialogTemplate(t.m_pBytes, t.m_nSize, face, false, header, room)
                         : 0;
    HWND probe = size ? CreateDialogIndirectParamW(
                            instance, reinterpret_cast<LPCDLGTEMPLATEW>(header), parent,
                            ProbeProc, 0)
                      : nullptr;
    std::free(header);
    if (!probe)
        return false;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(probe, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    FontOwnName(font, name);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(probe, &units);
    seen->m_szName = name;
    seen->m_nBaseX = units.right;
    seen->m_nBaseY = units.bottom;
    seen->m_bDrawsTexts = FontDrawsTexts(font);
    DestroyWindow(probe);
    return true;
}

} // namespace

HANDLE CarriedFontIfNeeded(HINSTANCE instance, const uint8_t* tmpl, size_t size, HWND parent)
{
    const Template t = {tmpl, size};
    wchar_t givenName[LF_FACESIZE];
    DialogFontSeen given;
    // Without a probe nothing can be told: the template stays as it is.
    if (!SeeDialogFont(instance, t, nullptr, parent, &given, givenName) ||
        TemplateFaceIsPresent(given))
        return nullptr;
    HANDLE font = RegisterCarriedFont(instance);
    if (!font)
        return nullptr;
    wchar_t carriedName[LF_FACESIZE];
    DialogFontSeen carried;
    bool measured = SeeDialogFont(instance, t, kCarriedFontFace, parent, &carried, carriedName) &&
                    lstrcmpW(carriedName, kCarriedFontFace) == 0;
    if (!NeedsCarriedFont(given, measured ? &carried : nullptr)) {
        RemoveFontMemResourceEx(font);
        return nullptr;
    }
    return font;
}

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
    if (t.m_pBytes)
        font = CarriedFontIfNeeded(instance, t.m_pBytes, t.m_nSize, parent);
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
