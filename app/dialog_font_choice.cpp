#include "app/dialog_font_choice.h"

namespace {

bool SameText(const wchar_t* a, const wchar_t* b)
{
    if (!a || !b)
        return false;
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

} // namespace

bool TemplateFaceIsPresent(const DialogFontSeen& given)
{
    return given.m_bDrawsTexts && SameText(given.m_szName, kTemplateFace);
}

bool NeedsCarriedFont(const DialogFontSeen& given, const DialogFontSeen* carried)
{
    if (!carried || TemplateFaceIsPresent(given))
        return false;
    if (!given.m_bDrawsTexts)
        return true;
    // A face of other names but the same metrics (a replacement drawn to
    // them) lays the dialog out as the template was laid out.
    return given.m_nBaseX != carried->m_nBaseX || given.m_nBaseY != carried->m_nBaseY;
}
