// Figures, not a test: passes of the idle step per second, with the fake
// DirectInput objects and with the platform's own DirectInput 8. Run with
//   win_input_tests.exe --gtest_also_run_disabled_tests --gtest_filter=IdleBenchmark.*
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "app/app_lifecycle.h"
#include "app/settings_dialog_proc.h"
#include "input/input_devices.h"
#include "input/key_assign.h"
#include "input/key_assign_fixture.h"
#include "platform/platform_seam.h"
#include "res/resource.h"
#include "settings/settings_block.h"

namespace {

constexpr double kSecondsPerRun = 2.0;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& freq)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Runs a step for about two seconds; returns passes per second.
template <typename Step>
double MeasurePasses(Step step)
{
    LARGE_INTEGER freq, start, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    long long passes = 0;
    do {
        for (int i = 0; i < 1000; ++i)
            step();
        passes += 1000;
        QueryPerformanceCounter(&now);
    } while (Seconds(start, now, freq) < kSecondsPerRun);
    return static_cast<double>(passes) / Seconds(start, now, freq);
}

double MeasureIdlePasses() { return MeasurePasses(RunIdleStep); }

void Report(const char* devices, const char* phase, double perSecond)
{
    std::printf("idle step, %-34s %-22s %12.0f passes/s  (%.2f us/pass)\n", devices, phase,
                perSecond, 1e6 / perSecond);
}

class IdleBenchmark : public KeyAssignTest {
protected:
    void MeasurePhases(const char* devices)
    {
        // Its parts alone, to tell where the time goes.
        Report(devices, "poll alone:", MeasurePasses([this] { PollInputDevices(&State()->m_Input); }));
        Report(devices, "GetActiveWindow alone:", MeasurePasses([] { GetActiveWindow(); }));
        Report(devices, "GetFocus alone:", MeasurePasses([] { GetFocus(); }));
        Report(devices, "not assigning:", MeasureIdlePasses());
        Click(IDC_BEGIN_ASSIGN_1P);
        Tick();
        Report(devices, "assigning, no press:", MeasureIdlePasses());
        SetFocus(Control(IDC_REPORT));
        Report(devices, "report box focused:", MeasureIdlePasses());
    }
};

TEST_F(IdleBenchmark, DISABLED_FakeDirectInputWithThreePads)
{
    MeasurePhases("fake DirectInput, keyboard + 3 pads");
}

TEST_F(IdleBenchmark, DISABLED_PlatformDirectInput)
{
    // Start again on the platform's own DirectInput 8.
    ReleaseInputDevices(&State()->m_Input);
    std::memset(&State()->m_Input, 0, sizeof(State()->m_Input));
    g_Platform.pDirectInput8Create = RealPlatformApi().pDirectInput8Create;
    MessageRecorder messages;
    int32_t created = CreateInputDevices(GetModuleHandleW(nullptr), &State()->m_Input,
                                         MainWindow());
    std::printf("platform DirectInput: creation %d, keyboard %s, %d controller(s), %zu message(s)\n",
                created, State()->m_Input.m_pKeyboard ? "present" : "absent",
                State()->m_Input.m_nControllerCount, messages.Messages().size());
    Idle();
    MeasurePhases("platform DirectInput (Wine)");
}

}  // namespace
