#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "common/test_support.h"
#include "common/fake_dinput.h"
#include "input/input_devices.h"
#include "input/key_assign.h"

namespace {

class InputDevicesTest : public ::testing::Test {
protected:
    InputDevicesTest()
    {
        for (int i = 0; i < 9; ++i)
            pads_.emplace_back(new FakeDevice(("pad" + std::to_string(i)).c_str()));
    }

    InputDevices& Devices() { return state_->m_Input; }
    FakeDirectInput& Input() { return fake_.m_Input; }
    FakeDevice& Keyboard() { return fake_.m_Input.m_Keyboard; }
    FakeDevice& Pad(int i) { return *pads_[i]; }
    void AttachPads(int count)
    {
        for (int i = 0; i < count; ++i)
            Input().Attach(&Pad(i));
    }
    int32_t Create() { return CreateInputDevices(instance_, &Devices(), mainWnd_); }

    // Every created object released exactly once, every pointer empty.
    void ExpectAllReleased()
    {
        EXPECT_EQ(nullptr, Devices().m_pDirectInput);
        EXPECT_EQ(nullptr, Devices().m_pKeyboard);
        for (int i = 0; i < kMaxControllers; ++i)
            EXPECT_EQ(nullptr, Devices().m_pController[i]) << i;
        EXPECT_EQ(0, Devices().m_nControllerCount);
        EXPECT_EQ(0, Input().m_nRefs);
    }

    ScopedAppState state_;
    MessageRecorder messages_;
    ScopedFakeDirectInput fake_;
    std::vector<std::unique_ptr<FakeDevice>> pads_;
    HINSTANCE instance_ = reinterpret_cast<HINSTANCE>(0x400000);
    HWND mainWnd_ = reinterpret_cast<HWND>(0x1234);
};

TEST_F(InputDevicesTest, KeyboardAloneIsSetUpWithTheDocumentedValues)
{
    EXPECT_EQ(1, Create());
    EXPECT_TRUE(messages_.Messages().empty());

    EXPECT_EQ(1, fake_.m_nCreateCalls);
    EXPECT_EQ(instance_, fake_.m_hCreateInstance);
    EXPECT_EQ(0x0800u, fake_.m_dwCreateVersion);
    EXPECT_TRUE(fake_.m_bCreateAskedForA);
    EXPECT_EQ(nullptr, fake_.m_pCreateOuter);

    EXPECT_EQ(&Keyboard(), Devices().m_pKeyboard);
    EXPECT_EQ(&c_dfDIKeyboard, Keyboard().m_pDataFormat);
    EXPECT_EQ(mainWnd_, Keyboard().m_hCooperativeWnd);
    EXPECT_EQ(10u, Keyboard().m_dwCooperativeFlags);
    ASSERT_EQ(1u, Keyboard().m_Properties.size());
    const FakePropertyCall& buffer = Keyboard().m_Properties[0];
    EXPECT_EQ(FakeProperty::BufferSize, buffer.m_Property);
    EXPECT_EQ(20u, buffer.m_dwSize);
    EXPECT_EQ(16u, buffer.m_dwHeaderSize);
    EXPECT_EQ(0u, buffer.m_dwObj);
    EXPECT_EQ(0u, buffer.m_dwHow);
    EXPECT_EQ(100u, buffer.m_dwData);
    EXPECT_TRUE(Keyboard().m_bAcquired);

    EXPECT_EQ(4u, Input().m_dwEnumClass);
    EXPECT_EQ(1u, Input().m_dwEnumFlags);
    EXPECT_EQ(&Devices(), Input().m_pEnumRef);
    EXPECT_EQ(0, Devices().m_nControllerCount);

    ReleaseInputDevices(&Devices());
    ExpectAllReleased();
    EXPECT_EQ(1, Keyboard().m_nUnacquireCalls);
    EXPECT_EQ(0, Keyboard().m_nRefs);
}

TEST_F(InputDevicesTest, ControllersAreConfiguredInOrderWithTheDocumentedValues)
{
    AttachPads(2);
    EXPECT_EQ(1, Create());
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(2, Devices().m_nControllerCount);
    EXPECT_EQ(2, Devices().m_nConfiguredCount);
    for (int i = 0; i < 2; ++i) {
        FakeDevice& pad = Pad(i);
        EXPECT_EQ(&pad, Devices().m_pController[i]);
        EXPECT_EQ(44u, Devices().m_ControllerCaps[i].dwSize);
        EXPECT_EQ(3u, Devices().m_ControllerCaps[i].dwAxes);  // filled by GetCapabilities
        EXPECT_EQ(&c_dfDIJoystick2, pad.m_pDataFormat);
        EXPECT_EQ(10u, pad.m_dwCooperativeFlags);
        EXPECT_EQ(mainWnd_, pad.m_hCooperativeWnd);
        EXPECT_EQ(3u, pad.m_dwEnumObjectsFlags);
        EXPECT_TRUE(pad.m_bAcquired);
        // Three axis ranges, then the axis mode, then the buffer size.
        ASSERT_EQ(5u, pad.m_Properties.size());
        for (int a = 0; a < 3; ++a) {
            const FakePropertyCall& range = pad.m_Properties[a];
            EXPECT_EQ(FakeProperty::Range, range.m_Property);
            EXPECT_EQ(24u, range.m_dwSize);
            EXPECT_EQ(16u, range.m_dwHeaderSize);
            EXPECT_EQ(pad.m_Axes[a], range.m_dwObj);
            EXPECT_EQ(2u, range.m_dwHow);
            EXPECT_EQ(-1000, range.m_lMin);
            EXPECT_EQ(1000, range.m_lMax);
        }
        EXPECT_EQ(FakeProperty::AxisMode, pad.m_Properties[3].m_Property);
        EXPECT_EQ(0u, pad.m_Properties[3].m_dwData);
        EXPECT_EQ(20u, pad.m_Properties[3].m_dwSize);
        EXPECT_EQ(0u, pad.m_Properties[3].m_dwHow);
        EXPECT_EQ(FakeProperty::BufferSize, pad.m_Properties[4].m_Property);
        EXPECT_EQ(100u, pad.m_Properties[4].m_dwData);
    }
    const std::vector<std::string> expectedStart = {
        "input.CreateDevice(keyboard)", "keyboard.SetDataFormat", "keyboard.SetCooperativeLevel",
        "keyboard.SetProperty(BufferSize)", "keyboard.Acquire", "input.EnumDevices",
        "input.CreateDevice(pad0)", "pad0.GetCapabilities", "input.CreateDevice(pad1)",
        "pad1.GetCapabilities", "pad0.SetDataFormat", "pad0.SetCooperativeLevel",
        "pad0.EnumObjects",
    };
    ASSERT_GE(Input().m_Log.size(), expectedStart.size());
    EXPECT_EQ(expectedStart,
              std::vector<std::string>(Input().m_Log.begin(),
                                       Input().m_Log.begin() + expectedStart.size()));
    ReleaseInputDevices(&Devices());
    ExpectAllReleased();
    EXPECT_EQ(0, Pad(0).m_nRefs);
    EXPECT_EQ(0, Pad(1).m_nRefs);
}

// One row per creation step that can fail: what is shown and what is left.
struct FailureCase {
    const char* step;
    const char* message;
    bool keyboardExists;
    bool keyboardAcquired;
    int controllers;     // created and counted
    int configured;      // fully configured (the first pad fails when the step is a pad's)
};

class CreationFailureTest : public InputDevicesTest,
                            public ::testing::WithParamInterface<FailureCase> {
protected:
    void Inject(const std::string& step)
    {
        // Controller steps fail on the second of three pads.
        FakeDevice& pad = Pad(1);
        if (step == "DirectInput8Create") fake_.m_hrCreate = kFakeFailure;
        else if (step == "keyboard CreateDevice") Input().m_hrCreateKeyboard = kFakeFailure;
        else if (step == "keyboard SetDataFormat") Keyboard().m_hrDataFormat = kFakeFailure;
        else if (step == "keyboard SetCooperativeLevel") Keyboard().m_hrCooperativeLevel = kFakeFailure;
        else if (step == "keyboard buffer size") Keyboard().m_hrBufferSize = kFakeFailure;
        else if (step == "pad SetDataFormat") pad.m_hrDataFormat = kFakeFailure;
        else if (step == "pad SetCooperativeLevel") pad.m_hrCooperativeLevel = kFakeFailure;
        else if (step == "pad EnumObjects") pad.m_hrEnumObjects = kFakeFailure;
        else if (step == "pad axis mode") pad.m_hrAxisMode = kFakeFailure;
        else if (step == "pad buffer size") pad.m_hrBufferSize = kFakeFailure;
        else FAIL() << "unknown step " << step;
    }
};

TEST_P(CreationFailureTest, ShowsItsMessageOnceAndStopsThere)
{
    const FailureCase& c = GetParam();
    AttachPads(3);
    Inject(c.step);
    EXPECT_EQ(0, Create());

    ASSERT_EQ(1u, messages_.Messages().size());
    const RecordedMessage& shown = messages_.Messages()[0];
    EXPECT_EQ(Wide(c.message), shown.text);
    EXPECT_EQ(L"ERROR", shown.caption);
    EXPECT_EQ(nullptr, shown.owner);
    EXPECT_EQ(static_cast<UINT>(MB_OK), shown.type);

    EXPECT_EQ(c.keyboardExists, Devices().m_pKeyboard != nullptr);
    EXPECT_EQ(c.keyboardAcquired, Keyboard().m_bAcquired);
    EXPECT_EQ(c.controllers, Devices().m_nControllerCount);
    EXPECT_EQ(c.configured, Devices().m_nConfiguredCount);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(i < c.controllers ? &Pad(i) : nullptr, Devices().m_pController[i]) << i;
        EXPECT_EQ(i < c.configured, Pad(i).m_bAcquired) << i;
    }
    // The pads after the failing one are not configured further.
    if (c.controllers > 0) {
        EXPECT_EQ(nullptr, Pad(2).m_pDataFormat);
    }

    // Polling goes on with what exists, and nothing is shown.
    Keyboard().PushKey(0x2C);
    PollInputDevices(&Devices());
    EXPECT_EQ(c.keyboardAcquired ? 0x80 : 0, Devices().m_KeyState[0x2C]);
    EXPECT_EQ(1u, messages_.Messages().size());

    ReleaseInputDevices(&Devices());
    EXPECT_EQ(nullptr, Devices().m_pDirectInput);
    EXPECT_EQ(nullptr, Devices().m_pKeyboard);
    EXPECT_EQ(0, Devices().m_nControllerCount);
    EXPECT_EQ(std::string(c.step) == "DirectInput8Create" ? 1 : 0, Input().m_nRefs);
    EXPECT_EQ(std::string(c.step) == "DirectInput8Create" ? 0 : 1, Input().m_nReleases);
    EXPECT_EQ(c.keyboardExists ? 1 : 0, Keyboard().m_nReleases);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(nullptr, Devices().m_pController[i]) << i;
        EXPECT_EQ(i < c.controllers ? 1 : 0, Pad(i).m_nReleases) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, CreationFailureTest,
    ::testing::Values(
        FailureCase{"DirectInput8Create", "DirectInput オブジェクトの作成に失敗しました。", false, false, 0, 0},
        FailureCase{"keyboard CreateDevice", "DirectInput オブジェクトの作成に失敗しました。", false, false, 0, 0},
        FailureCase{"keyboard SetDataFormat", "c_dfDIKeyboard 形式の設定に失敗しました。", true, false, 0, 0},
        FailureCase{"keyboard SetCooperativeLevel", "キーボードフォアグラウンド＆非排他モードの設定に失敗しました。", true, false, 0, 0},
        FailureCase{"keyboard buffer size", "バッファ・サイズの設定に失敗しました。", true, false, 0, 0},
        FailureCase{"pad SetDataFormat", "c_dfDIJoystick2形式の設定に失敗しました。", true, true, 3, 1},
        FailureCase{"pad SetCooperativeLevel", "フォアグラウンド＆非排他モードの設定に失敗しました。", true, true, 3, 1},
        FailureCase{"pad EnumObjects", "軸モードの設定に失敗しました。", true, true, 3, 1},
        FailureCase{"pad axis mode", "軸モードの設定に失敗しました。", true, true, 3, 1},
        FailureCase{"pad buffer size", "バッファ・サイズの設定に失敗しました。", true, true, 3, 1}),
    [](const ::testing::TestParamInfo<FailureCase>& info) {
        std::string name = info.param.step;
        for (char& ch : name) {
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        }
        return name;
    });

TEST_F(InputDevicesTest, QuietFailuresStillSucceed)
{
    AttachPads(1);
    Input().m_hrEnumDevices = kFakeFailure;
    Keyboard().m_hrAcquire = kFakeFailure;
    EXPECT_EQ(1, Create());
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(0, Devices().m_nControllerCount);
    ReleaseInputDevices(&Devices());
    ExpectAllReleased();

    // A controller that cannot be acquired is configured all the same.
    Input().m_hrEnumDevices = S_OK;
    Input().m_nRefs = 1;
    Pad(0).m_hrAcquire = kFakeFailure;
    EXPECT_EQ(1, Create());
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(1, Devices().m_nConfiguredCount);
    ReleaseInputDevices(&Devices());
    ExpectAllReleased();
}

TEST_F(InputDevicesTest, SkippedControllersLeaveNoGap)
{
    Input().Attach(&Pad(0), kFakeFailure);   // cannot be created
    Input().Attach(&Pad(1));
    Pad(2).m_hrCapabilities = kFakeFailure;  // created, then dropped
    Input().Attach(&Pad(2));
    Input().Attach(&Pad(3));

    EXPECT_EQ(1, Create());
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(2, Devices().m_nControllerCount);
    EXPECT_EQ(&Pad(1), Devices().m_pController[0]);
    EXPECT_EQ(&Pad(3), Devices().m_pController[1]);
    EXPECT_EQ(nullptr, Devices().m_pController[2]);
    EXPECT_EQ(1, Pad(2).m_nReleases);  // released at once, not kept
    EXPECT_EQ(0, Pad(2).m_nRefs);
    EXPECT_TRUE(Pad(1).m_bAcquired);
    EXPECT_TRUE(Pad(3).m_bAcquired);

    ReleaseInputDevices(&Devices());
    ExpectAllReleased();
    EXPECT_EQ(0, Pad(0).m_nReleases);
    EXPECT_EQ(1, Pad(2).m_nReleases);
}

TEST_F(InputDevicesTest, RefusedAxisRangeStopsOnlyTheAxisEnumeration)
{
    AttachPads(2);
    Pad(0).m_nRefuseRangeAtAxis = 1;
    EXPECT_EQ(1, Create());
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(2, Pad(0).m_nAxesVisited);  // the third axis is never offered
    EXPECT_EQ(FakeProperty::AxisMode, Pad(0).m_Properties[2].m_Property);
    EXPECT_TRUE(Pad(0).m_bAcquired);
    EXPECT_EQ(3, Pad(1).m_nAxesVisited);  // the next pad's axes are all set
    EXPECT_EQ(2, Devices().m_nConfiguredCount);
    ReleaseInputDevices(&Devices());
    ExpectAllReleased();
}

TEST_F(InputDevicesTest, NineControllersGiveTheFirstEight)
{
    AttachPads(9);
    EXPECT_EQ(1, Create());
    EXPECT_EQ(8, Devices().m_nControllerCount);
    EXPECT_EQ(8, Devices().m_nConfiguredCount);
    EXPECT_EQ(8, Input().m_nCallbacks);  // the enumeration ended with the eighth
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(&Pad(i), Devices().m_pController[i]);
    for (const std::string& call : Input().m_Log)
        EXPECT_NE("input.CreateDevice(pad8)", call);
    ReleaseInputDevices(&Devices());
    ExpectAllReleased();
    EXPECT_EQ(0, Pad(8).m_nReleases);
}

class PollTest : public InputDevicesTest {
protected:
    void SetUp() override
    {
        AttachPads(2);
        ASSERT_EQ(1, Create());
    }
    void TearDown() override { ReleaseInputDevices(&Devices()); }
    std::vector<int> PressedKeys()
    {
        std::vector<int> keys;
        for (int code = 0; code < 256; ++code)
            if (Devices().m_KeyState[code])
                keys.push_back(code | (Devices().m_KeyState[code] << 8));
        return keys;
    }
};

TEST_F(PollTest, OnePollDrainsEveryPressAndIgnoresReleases)
{
    Keyboard().PushKey(0x2C);
    Keyboard().PushKey(0x2C, false);
    Keyboard().PushKey(0xC8);
    Keyboard().PushKey(0x10, false);  // a release alone marks nothing
    PollInputDevices(&Devices());
    EXPECT_EQ((std::vector<int>{0x2C | 0x8000, 0xC8 | 0x8000}), PressedKeys());
    EXPECT_TRUE(Keyboard().m_Reads.empty());

    // A held key showed once: the next poll reads no new press.
    PollInputDevices(&Devices());
    EXPECT_TRUE(PressedKeys().empty());
}

TEST_F(PollTest, LostKeyboardIsReacquiredAndReadOn)
{
    Keyboard().PushKey(0x1E);
    Keyboard().PushError(DIERR_INPUTLOST);
    Keyboard().PushKey(0x1F);
    int acquiresBefore = Keyboard().m_nAcquireCalls;
    PollInputDevices(&Devices());
    EXPECT_EQ((std::vector<int>{0x1E | 0x8000, 0x1F | 0x8000}), PressedKeys());
    EXPECT_EQ(acquiresBefore + 1, Keyboard().m_nAcquireCalls);
    EXPECT_TRUE(Keyboard().m_bAcquired);
}

TEST_F(PollTest, KeyboardThatStaysLostDoesNotHoldThePoll)
{
    // Each re-acquisition "succeeds", and the next read is lost again.
    for (int i = 0; i < 1000; ++i)
        Keyboard().PushError(DIERR_INPUTLOST);
    PollInputDevices(&Devices());
    EXPECT_TRUE(PressedKeys().empty());
    EXPECT_LE(Keyboard().m_nDataReads, 3);
    // Controllers are still read in the same poll.
    EXPECT_EQ(1, Pad(0).m_nStateReads);
}

TEST_F(PollTest, OtherReadFailureEndsTheKeyboardPart)
{
    Keyboard().PushKey(0x02);
    Keyboard().PushError(DIERR_INVALIDPARAM);
    Keyboard().PushKey(0x03);
    PollInputDevices(&Devices());
    EXPECT_EQ((std::vector<int>{0x02 | 0x8000}), PressedKeys());
    PollInputDevices(&Devices());
    EXPECT_EQ((std::vector<int>{0x03 | 0x8000}), PressedKeys());
}

TEST_F(PollTest, ControllerStatesAreReadAndKeptWhenAReadFails)
{
    Pad(0).m_State.lX = 1000;
    Pad(1).m_State.rgbButtons[5] = 0x80;
    PollInputDevices(&Devices());
    EXPECT_EQ(1000, Devices().m_ControllerState[0].lX);
    EXPECT_EQ(0x80, Devices().m_ControllerState[1].rgbButtons[5]);
    EXPECT_EQ(1, Pad(0).m_nPollCalls);

    Pad(1).m_hrDeviceState = kFakeFailure;
    Pad(1).m_State.rgbButtons[5] = 0;
    PollInputDevices(&Devices());
    EXPECT_EQ(0x80, Devices().m_ControllerState[1].rgbButtons[5]);
    EXPECT_EQ(0, Devices().m_ControllerState[1].lX);
}

TEST_F(PollTest, ControllerWhosePollFailsIsReacquired)
{
    Pad(0).Unacquire();
    Pad(0).m_State.lY = -1000;
    int before = Pad(0).m_nAcquireCalls;
    PollInputDevices(&Devices());
    EXPECT_EQ(before + 1, Pad(0).m_nAcquireCalls);
    EXPECT_EQ(-1000, Devices().m_ControllerState[0].lY);
    // An acquired pad is not acquired again.
    PollInputDevices(&Devices());
    EXPECT_EQ(before + 1, Pad(0).m_nAcquireCalls);
}

TEST_F(InputDevicesTest, PollWithoutKeyboardLeavesEveryKeyClear)
{
    Input().m_hrCreateKeyboard = kFakeFailure;
    EXPECT_EQ(0, Create());
    std::memset(Devices().m_KeyState, 0x80, sizeof(Devices().m_KeyState));
    PollInputDevices(&Devices());
    for (int code = 0; code < 256; ++code)
        ASSERT_EQ(0, Devices().m_KeyState[code]) << code;
    EXPECT_EQ(0, Keyboard().m_nDataReads);
    ReleaseInputDevices(&Devices());
    ExpectAllReleased();
}

TEST_F(PollTest, ControllerThatNeverAnswersDoesNotHoldTheOthersBack)
{
    Pad(0).m_hrDeviceState = kFakeFailure;
    Pad(1).m_State.rgbButtons[9] = 0x80;
    PollInputDevices(&Devices());
    int32_t controller = -1;
    int32_t input = -1;
    EXPECT_EQ(1, DetectControllerPress(&Devices(), &controller, &input));
    EXPECT_EQ(1, controller);
    EXPECT_EQ(9, input);
}

TEST_F(PollTest, DetectionSkipsEmptyEntriesAndReportsAPressOnce)
{
    // A gap left by hand: detection looks at every existing entry.
    Devices().m_pController[3] = Devices().m_pController[1];
    Devices().m_pController[1] = nullptr;
    Devices().m_ControllerState[3] = Devices().m_ControllerState[1];
    Devices().m_ControllerState[3].lZ = -1000;
    int32_t controller = -1;
    int32_t input = -1;
    EXPECT_EQ(1, DetectControllerPress(&Devices(), &controller, &input));
    EXPECT_EQ(3, controller);
    EXPECT_EQ(261, input);
    EXPECT_EQ(0, DetectControllerPress(&Devices(), &controller, &input));
    Devices().m_ControllerState[3].lZ = 0;
    EXPECT_EQ(0, DetectControllerPress(&Devices(), &controller, &input));
    EXPECT_EQ(0, Devices().m_bControllerHeld);
    Devices().m_pController[1] = Devices().m_pController[3];
    Devices().m_pController[3] = nullptr;
}

}  // namespace
