// The DirectX diagnostic service: opened, read and released once at start-up.
#include "sysinfo/dxdiag_query.h"

#include <objbase.h>
#include <oleauto.h>
#include <initguid.h>
#include <dxdiag.h>

#include "platform/platform_seam.h"
#include "platform/win_text.h"
#include "sysinfo/dxdiag_text.h"

namespace {

// Kept as the tool has always spelt it.
const char kWarningCaption[] = "WORNING";

// Indexed by the step of OpenDxDiag that failed.
enum OpenStep { STEP_CREATE, STEP_INITIALIZE, STEP_ROOT };
const char* const kOpenFailureTexts[] = {
    "IDxDiagProvider の作成に失敗しました。\nデータの細部取得が出来ませんでした。",
    "m_pDxDiagProvider->Initialize 関数が失敗しました。\nデータの細部取得が出来ませんでした。",
    // The method name cut short is kept as the tool has always shown it.
    "m_pDxDiagProvider->GetRootContaine 関数が失敗しました。\nデータの細部取得が出来ませんでした。",
};

int32_t FailOpen(OpenStep step)
{
    ShowMessage(nullptr, kOpenFailureTexts[step], kWarningCaption);
    return 0;
}

// Changes the field only for a text property; anything else leaves it as it was.
void ReadTextProperty(IDxDiagContainer* container, const wchar_t* name, char* field)
{
    VARIANT value;
    VariantInit(&value);
    if (FAILED(container->GetProp(name, &value)))
        return;
    if (value.vt == VT_BSTR && value.bstrVal)
        NarrowDxDiagText(value.bstrVal, field);
    else if (value.vt == VT_BSTR)
        field[0] = '\0';
    VariantClear(&value);
}

IDxDiagContainer* GetChild(IDxDiagContainer* parent, const wchar_t* name)
{
    IDxDiagContainer* child = nullptr;
    if (FAILED(parent->GetChildContainer(name, &child)))
        return nullptr;
    return child;
}

void ReadDisplayMemory(IDxDiagContainer* devices, DxDiagInfo* info)
{
    DWORD count = 0;
    if (FAILED(devices->GetNumberOfChildContainers(&count)))
        count = 0;
    for (DWORD index = 0; index < count; ++index) {
        WCHAR name[256];
        name[0] = L'\0';
        // Without a name for this index there is nothing valid to ask for.
        if (FAILED(devices->EnumChildContainerNames(index, name, 256)))
            break;
        name[255] = L'\0';
        IDxDiagContainer* device = GetChild(devices, name);
        if (!device)
            break;
        // The last device that has the property wins.
        ReadTextProperty(device, L"szDisplayMemoryLocalized", info->m_szDisplayMemory);
        device->Release();
    }
}

}  // namespace

int32_t OpenDxDiag(DxDiagInfo* info)
{
    info->m_bDxDiagValid = 0;
    info->m_pDxDiagProvider = nullptr;
    info->m_pDxDiagRootContainer = nullptr;

    void* provider = nullptr;
    HRESULT hr = g_Platform.pCoCreateInstance(CLSID_DxDiagProvider, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IDxDiagProvider, &provider);
    if (FAILED(hr) || !provider)
        return FailOpen(STEP_CREATE);
    info->m_pDxDiagProvider = static_cast<IDxDiagProvider*>(provider);

    DXDIAG_INIT_PARAMS params;
    ZeroMemory(&params, sizeof(params));
    params.dwSize = sizeof(params);
    params.dwDxDiagHeaderVersion = DXDIAG_DX9_SDK_VERSION;
    params.bAllowWHQLChecks = FALSE;
    params.pReserved = nullptr;
    if (FAILED(info->m_pDxDiagProvider->Initialize(&params)))
        return FailOpen(STEP_INITIALIZE);

    IDxDiagContainer* root = nullptr;
    if (FAILED(info->m_pDxDiagProvider->GetRootContainer(&root)) || !root)
        return FailOpen(STEP_ROOT);
    info->m_pDxDiagRootContainer = root;

    info->m_bDxDiagValid = 1;
    return 1;
}

void ReadDxDiagStrings(DxDiagInfo* info)
{
    IDxDiagContainer* root = info->m_pDxDiagRootContainer;
    if (!root)
        return;

    if (IDxDiagContainer* system = GetChild(root, L"DxDiag_SystemInfo")) {
        ReadTextProperty(system, L"szDirectXVersionLongEnglish", info->m_szDirectXVersion);
        ReadTextProperty(system, L"szProcessorEnglish", info->m_szProcessor);
        system->Release();
    }

    if (IDxDiagContainer* devices = GetChild(root, L"DxDiag_DisplayDevices")) {
        ReadDisplayMemory(devices, info);
        devices->Release();
    }
}

void ReleaseDxDiag(DxDiagInfo* info)
{
    // Provider first, then the root container.
    if (info->m_pDxDiagProvider) {
        info->m_pDxDiagProvider->Release();
        info->m_pDxDiagProvider = nullptr;
    }
    if (info->m_pDxDiagRootContainer) {
        info->m_pDxDiagRootContainer->Release();
        info->m_pDxDiagRootContainer = nullptr;
    }
}
