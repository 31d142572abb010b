// The true floor of config.exe's start-up, for scripts/bench: what the tool
// must do in any case before a player can use it, done once, cold, in the
// tool's order and nothing more. The common controls (Windows XP makes no
// dialog without them); COM; DxDiag opened, read (the tool's three
// properties) and released; the main window shown; DirectInput created, its
// devices enumerated and acquired; the Direct3D 9 probe with the tool's
// calls; dialog 109 of the real resource created and filled with the report.
// Its windows carry the tool's class, title and control ids, so the bench
// times it with the very measure it uses for config.exe; "キャンセル" ends it.
// No message box: a step that fails is only skipped.
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <objbase.h>
#include <commctrl.h>
#include <oleauto.h>
#include <dinput.h>
#include <d3d9.h>
#include <initguid.h>
#include <dxdiag.h>

#include "res/resource.h"
#include "sysinfo/os_version.h"
#include "sysinfo/report_text.h"

namespace {

const wchar_t kClass[] = L"RING";
const wchar_t kTitle[] = L"起動設定メニュー";
constexpr int kWidth = 752;
constexpr int kHeight = 655;
constexpr DWORD kCooperation = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
constexpr int kMaxControllers = 8;

struct Floor {
    char m_szDirectX[128];
    char m_szProcessor[128];
    char m_szVram[128];
    int32_t m_bDxDiagValid;
    IDirectInput8A* m_pInput;
    IDirectInputDevice8A* m_pKeyboard;
    IDirectInputDevice8A* m_pController[kMaxControllers];
    int m_nControllers;
    int m_nConfiguring;
    IDirect3D9* m_pD3D;
    IDirect3DDevice9* m_pDevice;
    HWND m_hDeviceWnd;
    D3DCAPS9 m_Caps;
    D3DADAPTER_IDENTIFIER9 m_AdapterId;
    D3DDEVTYPE m_DeviceType;
    DWORD m_dwBehaviorFlags;
    int32_t m_bFormats[4];
    int32_t m_bNoRenderTexture;
};

Floor g_floor;

LRESULT CALLBACK MainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_COMMAND && LOWORD(wParam) == IDC_CANCEL)
        DestroyWindow(GetParent(dialog));
    return FALSE;
}

// UTF-16 up to U+00FF, one byte each, as the tool keeps DxDiag's texts.
void ReadText(IDxDiagContainer* container, const wchar_t* name, char* field)
{
    VARIANT value;
    VariantInit(&value);
    if (FAILED(container->GetProp(name, &value)))
        return;
    if (value.vt == VT_BSTR && value.bstrVal) {
        int i = 0;
        for (; i < 127 && value.bstrVal[i] && value.bstrVal[i] <= 0xFF; ++i)
            field[i] = static_cast<char>(value.bstrVal[i]);
        field[i] = '\0';
    }
    VariantClear(&value);
}

void QueryDxDiag()
{
    IDxDiagProvider* provider = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DxDiagProvider, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IDxDiagProvider, reinterpret_cast<void**>(&provider))))
        return;
    DXDIAG_INIT_PARAMS params = {};
    params.dwSize = sizeof(params);
    params.dwDxDiagHeaderVersion = DXDIAG_DX9_SDK_VERSION;
    IDxDiagContainer* root = nullptr;
    if (SUCCEEDED(provider->Initialize(&params)) && SUCCEEDED(provider->GetRootContainer(&root))) {
        g_floor.m_bDxDiagValid = 1;
        IDxDiagContainer* child = nullptr;
        if (SUCCEEDED(root->GetChildContainer(L"DxDiag_SystemInfo", &child))) {
            ReadText(child, L"szDirectXVersionLongEnglish", g_floor.m_szDirectX);
            ReadText(child, L"szProcessorEnglish", g_floor.m_szProcessor);
            child->Release();
        }
        IDxDiagContainer* devices = nullptr;
        if (SUCCEEDED(root->GetChildContainer(L"DxDiag_DisplayDevices", &devices))) {
            DWORD count = 0;
            devices->GetNumberOfChildContainers(&count);
            for (DWORD i = 0; i < count; ++i) {
                WCHAR name[256] = L"";
                IDxDiagContainer* device = nullptr;
                if (FAILED(devices->EnumChildContainerNames(i, name, 256)) ||
                    FAILED(devices->GetChildContainer(name, &device)))
                    break;
                ReadText(device, L"szDisplayMemoryLocalized", g_floor.m_szVram);
                device->Release();
            }
            devices->Release();
        }
    }
    provider->Release();
    if (root)
        root->Release();
}

BOOL CALLBACK EnumController(LPCDIDEVICEINSTANCEA instance, LPVOID)
{
    int n = g_floor.m_nControllers;
    IDirectInputDevice8A* device = nullptr;
    if (FAILED(g_floor.m_pInput->CreateDevice(instance->guidInstance, &device, nullptr)))
        return DIENUM_CONTINUE;
    DIDEVCAPS caps = {};
    caps.dwSize = sizeof(caps);
    if (FAILED(device->GetCapabilities(&caps))) {
        device->Release();
        return DIENUM_CONTINUE;
    }
    g_floor.m_pController[n] = device;
    return ++g_floor.m_nControllers < kMaxControllers ? DIENUM_CONTINUE : DIENUM_STOP;
}

BOOL CALLBACK EnumAxis(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID)
{
    DIPROPRANGE range = {};
    range.diph.dwSize = sizeof(range);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwObj = object->dwType;
    range.diph.dwHow = DIPH_BYID;
    range.lMin = -1000;
    range.lMax = 1000;
    g_floor.m_pController[g_floor.m_nConfiguring]->SetProperty(DIPROP_RANGE, &range.diph);
    return DIENUM_CONTINUE;
}

void SetDword(IDirectInputDevice8A* device, REFGUID property, DWORD value)
{
    DIPROPDWORD prop = {};
    prop.diph.dwSize = sizeof(prop);
    prop.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    prop.diph.dwHow = DIPH_DEVICE;
    prop.dwData = value;
    device->SetProperty(property, &prop.diph);
}

void CreateInput(HINSTANCE instance, HWND mainWnd)
{
    if (FAILED(DirectInput8Create(instance, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                  reinterpret_cast<void**>(&g_floor.m_pInput), nullptr)))
        return;
    if (FAILED(g_floor.m_pInput->CreateDevice(GUID_SysKeyboard, &g_floor.m_pKeyboard, nullptr)))
        return;
    IDirectInputDevice8A* keyboard = g_floor.m_pKeyboard;
    keyboard->SetDataFormat(&c_dfDIKeyboard);
    keyboard->SetCooperativeLevel(mainWnd, kCooperation);
    SetDword(keyboard, DIPROP_BUFFERSIZE, 100);
    keyboard->Acquire();

    g_floor.m_pInput->EnumDevices(DI8DEVCLASS_GAMECTRL, EnumController, nullptr,
                                  DIEDFL_ATTACHEDONLY);
    for (int i = 0; i < g_floor.m_nControllers; ++i) {
        IDirectInputDevice8A* device = g_floor.m_pController[i];
        g_floor.m_nConfiguring = i;
        device->SetDataFormat(&c_dfDIJoystick2);
        device->SetCooperativeLevel(mainWnd, kCooperation);
        device->EnumObjects(EnumAxis, nullptr, DIDFT_AXIS);
        SetDword(device, DIPROP_AXISMODE, DIPROPAXISMODE_ABS);
        SetDword(device, DIPROP_BUFFERSIZE, 100);
        device->Acquire();
    }
}

// The tool's probe of adapter 0: caps, identifier, a windowed device on a
// hidden window of its own (first of the tool's chain that succeeds),
// texture formats, the render texture.
void ProbeGraphics(HWND mainWnd)
{
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d)
        return;
    g_floor.m_pD3D = d3d;
    d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &g_floor.m_Caps);
    d3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &g_floor.m_AdapterId);
    g_floor.m_AdapterId.Description[sizeof(g_floor.m_AdapterId.Description) - 1] = '\0';
    g_floor.m_AdapterId.Driver[sizeof(g_floor.m_AdapterId.Driver) - 1] = '\0';

    g_floor.m_hDeviceWnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 64, 64, nullptr,
                                           nullptr, GetModuleHandleW(nullptr), nullptr);
    D3DDISPLAYMODE mode = {};
    if (FAILED(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode)))
        return;
    D3DPRESENT_PARAMETERS params = {};
    params.BackBufferFormat = mode.Format;
    params.BackBufferCount = 1;
    params.SwapEffect = D3DSWAPEFFECT_FLIP;
    params.hDeviceWindow = g_floor.m_hDeviceWnd;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;

    const bool vs11 = g_floor.m_Caps.VertexShaderVersion >= 0xFFFE0101u;
    const struct { D3DDEVTYPE type; DWORD flags; } chain[2][3] = {
        {{D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
         {D3DDEVTYPE_REF, D3DCREATE_HARDWARE_VERTEXPROCESSING},
         {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}},
        {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
         {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
         {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}},
    };
    for (const auto& attempt : chain[vs11 ? 1 : 0]) {
        g_floor.m_DeviceType = attempt.type;
        g_floor.m_dwBehaviorFlags = attempt.flags;
        if (SUCCEEDED(d3d->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, mainWnd,
                                        attempt.flags | D3DCREATE_MULTITHREADED, &params,
                                        &g_floor.m_pDevice)))
            break;
        g_floor.m_pDevice = nullptr;
    }
    if (!g_floor.m_pDevice)
        return;
    const D3DFORMAT formats[4] = {D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4,
                                  D3DFMT_A8R8G8B8};
    for (int i = 0; i < 4; ++i)
        g_floor.m_bFormats[i] =
            d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, g_floor.m_DeviceType, mode.Format, 0,
                                   D3DRTYPE_TEXTURE, formats[i]) == D3D_OK;
    g_floor.m_bNoRenderTexture =
        d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, g_floor.m_DeviceType, mode.Format,
                               D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, mode.Format) != D3D_OK;
}

void ShaderVersion(DWORD token, char (&text)[4])
{
    text[0] = static_cast<char>('0' + ((token >> 8) & 0xF));
    text[1] = '.';
    text[2] = static_cast<char>('0' + (token & 0xF));
    text[3] = '\0';
}

// The report's dialog form from what was gathered, composed by the tool's
// own logic, in the report box.
void FillReport(HWND dialog)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    char os[kOsTextSize];
    ComposeOsVersionText(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion,
                         version.dwBuildNumber, version.szCSDVersion, os, sizeof(os));
    const D3DCAPS9& caps = g_floor.m_Caps;
    const ReportSources sources = {os, g_floor.m_bDxDiagValid, g_floor.m_szProcessor,
                                   g_floor.m_szDirectX, g_floor.m_szVram, "",
                                   g_floor.m_pDevice ? 1 : 0, 0, g_floor.m_dwBehaviorFlags};
    ReportFields fields = {};
    FillReportFields(&sources, &fields);

    char vs[4];
    char ps[4];
    ShaderVersion(caps.VertexShaderVersion, vs);
    ShaderVersion(caps.PixelShaderVersion, ps);
    ReportProbe probe = {};
    probe.m_pszDescription = g_floor.m_AdapterId.Description;
    probe.m_pszDriver = g_floor.m_AdapterId.Driver;
    probe.m_nDeviceType = g_floor.m_DeviceType;
    probe.m_pszVsVersion = vs;
    probe.m_pszPsVersion = ps;
    probe.m_bVs11 = caps.VertexShaderVersion >= 0xFFFE0101u;
    probe.m_bVs20 = caps.VertexShaderVersion >= 0xFFFE0200u;
    probe.m_bPs11 = caps.PixelShaderVersion >= 0xFFFF0101u;
    probe.m_bPs20 = caps.PixelShaderVersion >= 0xFFFF0200u;
    probe.m_bR5G6B5 = g_floor.m_bFormats[0];
    probe.m_bA1R5G5B5 = g_floor.m_bFormats[1];
    probe.m_bA4R4G4B4 = g_floor.m_bFormats[2];
    probe.m_bA8R8G8B8 = g_floor.m_bFormats[3];
    probe.m_nMaxTextureWidth = static_cast<int16_t>(caps.MaxTextureWidth);
    probe.m_nMaxTextureHeight = static_cast<int16_t>(caps.MaxTextureHeight);
    probe.m_bSquareOnly = (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) ? 1 : 0;
    probe.m_bNoRenderTexture = g_floor.m_bNoRenderTexture;
    probe.m_bShaderSkinning = caps.MaxVertexShaderConst >= 256;
    probe.m_dwMaxVertexShaderConst = caps.MaxVertexShaderConst;
    probe.m_bPixelShader = probe.m_bPs11;

    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    GlobalMemoryStatusEx(&status);
    const MemoryFigures memory = ComputeMemoryFigures(status.ullTotalPhys, status.ullAvailPhys);

    char text[kReportBufferSize];
    ComposeDialogReport(&fields, &probe, &memory, text, sizeof(text));
    wchar_t wide[kReportBufferSize];
    if (!MultiByteToWideChar(932, 0, text, -1, wide, kReportBufferSize))
        wide[0] = L'\0';
    SetDlgItemTextW(dialog, IDC_REPORT, wide);
}

void Release()
{
    if (g_floor.m_pKeyboard) {
        g_floor.m_pKeyboard->Unacquire();
        g_floor.m_pKeyboard->Release();
    }
    for (int i = 0; i < g_floor.m_nControllers; ++i) {
        g_floor.m_pController[i]->Unacquire();
        g_floor.m_pController[i]->Release();
    }
    if (g_floor.m_pInput)
        g_floor.m_pInput->Release();
    if (g_floor.m_pDevice)
        g_floor.m_pDevice->Release();
    if (g_floor.m_pD3D)
        g_floor.m_pD3D->Release();
    if (g_floor.m_hDeviceWnd)
        DestroyWindow(g_floor.m_hDeviceWnd);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    HWND mainWnd = CreateWindowExW(
        0, kClass, kTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        (GetSystemMetrics(SM_CXSCREEN) >> 1) - (kWidth >> 1),
        (GetSystemMetrics(SM_CYSCREEN) >> 1) - (kHeight >> 1), kWidth, kHeight, nullptr, nullptr,
        instance, nullptr);
    if (!mainWnd || FAILED(CoInitialize(nullptr)))
        return 0;

    QueryDxDiag();
    ShowWindow(mainWnd, showCommand);
    UpdateWindow(mainWnd);
    CreateInput(instance, mainWnd);
    ProbeGraphics(mainWnd);

    HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), mainWnd,
                                     DialogProc, 0);
    if (dialog) {
        ShowWindow(dialog, SW_SHOW);
        FillReport(dialog);
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Release();
    CoUninitialize();
    return 1;
}
