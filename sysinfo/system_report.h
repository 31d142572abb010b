// The system report: gathered once per fill of the dialog, shown in the
// information box and written to _debug.txt.
#pragma once

#include <windows.h>
#include "sysinfo/dxdiag_query.h"
#include "sysinfo/graphics_probe.h"
#include "sysinfo/report_fields.h"

// Gathers the fields from DxDiag's texts, the probe, CPUID and the OS into
// *fields and puts the dialog form into edit 1054.
void ShowSystemReport(HWND dialog, const DxDiagInfo* dxDiag, const GraphicsProbe* graphics,
                      ReportFields* fields);
// Writes the file form of the fields gathered in the same fill to _debug.txt.
void WriteReportFile(const GraphicsProbe* graphics, const ReportFields* fields);
