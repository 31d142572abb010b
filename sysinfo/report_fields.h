// The five texts gathered at the start of every report, shared by the dialog
// form and the file form.
#pragma once

struct ReportFields {
    char m_szOs[128];
    char m_szCpu[128];
    char m_szDirectX[128];
    char m_szVram[128];
    char m_szVpMode[128];
};
