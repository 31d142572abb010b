// Figures, not checks: how long the DxDiag step, the Direct3D probe and one
// CPUID request take on their own with the platform's real components.
#include <gtest/gtest.h>

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/test_support.h"
#include "sysinfo/cpu_info.h"
#include "sysinfo/dxdiag_query.h"
#include "sysinfo/graphics_probe.h"

namespace {

double NowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PrintFigures(const char* name, std::vector<double> ms)
{
    const double first = ms.front();
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double m : ms)
        sum += m;
    std::printf("[ figures  ] %-28s first %8.2f ms  min %8.2f  median %8.2f  max %8.2f  (%zu runs)\n",
                name, first, ms.front(), ms[ms.size() / 2], ms.back(), ms.size());
}

TEST(SysinfoBenchmark, DxDiagStepDirect3DProbeAndCpuid)
{
    const int runs = 5;
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    MessageRecorder messages;  // the null driver has no adapter: keep its boxes quiet
    HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPED, 0, 0, 64, 64, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);

    std::vector<double> dxdiag, probe, cpuid;
    int32_t valid = 0, probed = 0;
    for (int i = 0; i < runs; ++i) {
        DxDiagInfo info = {};
        double t0 = NowMs();
        OpenDxDiag(&info);
        ReadDxDiagStrings(&info);
        ReleaseDxDiag(&info);
        dxdiag.push_back(NowMs() - t0);
        valid = info.m_bDxDiagValid;

        GraphicsProbe graphics = {};
        t0 = NowMs();
        probed = ProbeGraphics(&graphics, window, 0);
        ReleaseGraphics(&graphics);
        probe.push_back(NowMs() - t0);

        char brand[128];
        t0 = NowMs();
        QueryCpuBrand(brand);
        cpuid.push_back(NowMs() - t0);
    }
    DestroyWindow(window);
    CoUninitialize();

    PrintFigures("DxDiag open/read/release", dxdiag);
    PrintFigures("Direct3D probe and release", probe);
    PrintFigures("CPUID brand request", cpuid);
    std::printf("[ figures  ] DxDiag valid %d, probe result %d, message boxes %zu\n", valid, probed,
                messages.Messages().size());
}

}  // namespace
