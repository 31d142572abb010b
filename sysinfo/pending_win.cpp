// Temporary empty entry points so the exe links while the diagnostics are
// being written; removed as the real ones land.
#include "sysinfo/dxdiag_query.h"
#include "sysinfo/graphics_probe.h"
#include "sysinfo/system_report.h"

int32_t OpenDxDiag(DxDiagInfo*) { return 0; }
void ReadDxDiagStrings(DxDiagInfo*) {}
void ReleaseDxDiag(DxDiagInfo*) {}
int32_t ProbeGraphics(GraphicsProbe*, HWND, int32_t) { return 0; }
void ReleaseGraphics(GraphicsProbe*) {}
void ShowSystemReport(HWND, ReportFields*) {}
void WriteReportFile(const ReportFields*) {}
