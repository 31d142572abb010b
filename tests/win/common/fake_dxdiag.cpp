#include "common/fake_dxdiag.h"

#include <oleauto.h>

#include "platform/platform_seam.h"

namespace {
std::vector<std::wstring> g_log;
FakeDxDiagProvider* g_provider = nullptr;
HRESULT g_createResult = S_OK;
std::vector<CoCreateCall> g_createCalls;

HRESULT WINAPI FakeCoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                    LPVOID* out)
{
    g_createCalls.push_back({clsid, outer, context, iid});
    *out = nullptr;
    if (FAILED(g_createResult))
        return g_createResult;
    g_provider->AddRef();
    *out = static_cast<IDxDiagProvider*>(g_provider);
    return g_createResult;
}
}  // namespace

std::vector<std::wstring>& FakeDxDiagLog() { return g_log; }

FakeDxDiagContainer* FakeDxDiagContainer::AddChild(const std::wstring& name)
{
    m_Children.push_back(std::make_unique<FakeDxDiagContainer>(name));
    return m_Children.back().get();
}

void FakeDxDiagContainer::SetText(const std::wstring& name, const std::wstring& value)
{
    m_Props[name] = {true, value, 0};
}

void FakeDxDiagContainer::SetNumber(const std::wstring& name, LONG value)
{
    m_Props[name] = {false, L"", value};
}

HRESULT FakeDxDiagContainer::QueryInterface(REFIID, void** out)
{
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDxDiagContainer::AddRef() { return ++m_nRefs; }

ULONG FakeDxDiagContainer::Release()
{
    g_log.push_back(L"release " + m_Name);
    return --m_nRefs;
}

HRESULT FakeDxDiagContainer::GetNumberOfChildContainers(DWORD* count)
{
    if (FAILED(m_hrNumberOfChildren))
        return m_hrNumberOfChildren;
    *count = static_cast<DWORD>(m_Children.size());
    return S_OK;
}

HRESULT FakeDxDiagContainer::EnumChildContainerNames(DWORD index, LPWSTR name, DWORD chars)
{
    g_log.push_back(L"enum " + m_Name + L" " + std::to_wstring(index));
    if (index >= m_nEnumFailsAt || index >= m_Children.size())
        return E_INVALIDARG;
    const std::wstring& childName = m_Children[index]->m_Name;
    if (childName.size() + 1 > chars)
        return DXDIAG_E_INSUFFICIENT_BUFFER;
    lstrcpyW(name, childName.c_str());
    return S_OK;
}

HRESULT FakeDxDiagContainer::GetChildContainer(LPCWSTR name, IDxDiagContainer** child)
{
    g_log.push_back(L"child " + m_Name + L"/" + name);
    if (m_bChildFails)
        return E_FAIL;
    if (m_bChildIsNull) {
        *child = nullptr;
        return S_OK;
    }
    for (auto& c : m_Children) {
        if (c->m_Name == name) {
            c->AddRef();
            *child = c.get();
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

HRESULT FakeDxDiagContainer::GetNumberOfProps(DWORD* count)
{
    *count = static_cast<DWORD>(m_Props.size());
    return S_OK;
}

HRESULT FakeDxDiagContainer::EnumPropNames(DWORD, LPWSTR, DWORD) { return E_NOTIMPL; }

HRESULT FakeDxDiagContainer::GetProp(LPCWSTR name, VARIANT* value)
{
    g_log.push_back(L"prop " + m_Name + L"/" + name);
    auto it = m_Props.find(name);
    if (it == m_Props.end())
        return E_INVALIDARG;
    if (it->second.isText) {
        value->vt = VT_BSTR;
        value->bstrVal = SysAllocString(it->second.text.c_str());
    } else {
        value->vt = VT_I4;
        value->lVal = it->second.number;
    }
    return S_OK;
}

LONG FakeDxDiagContainer::OutstandingRefs() const
{
    LONG refs = m_nRefs;
    for (const auto& c : m_Children)
        refs += c->OutstandingRefs();
    return refs;
}

HRESULT FakeDxDiagProvider::QueryInterface(REFIID, void** out)
{
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDxDiagProvider::AddRef() { return ++m_nRefs; }

ULONG FakeDxDiagProvider::Release()
{
    g_log.push_back(L"release provider");
    return --m_nRefs;
}

HRESULT FakeDxDiagProvider::Initialize(DXDIAG_INIT_PARAMS* params)
{
    m_InitCalls.push_back(*params);
    return m_hrInitialize;
}

HRESULT FakeDxDiagProvider::GetRootContainer(IDxDiagContainer** root)
{
    *root = nullptr;
    if (FAILED(m_hrRoot))
        return m_hrRoot;
    m_Root.AddRef();
    *root = &m_Root;
    return S_OK;
}

ScopedCoCreate::ScopedCoCreate(FakeDxDiagProvider* provider, HRESULT hr)
{
    g_provider = provider;
    g_createResult = hr;
    g_createCalls.clear();
    g_log.clear();
    g_Platform.pCoCreateInstance = FakeCoCreateInstance;
}

ScopedCoCreate::~ScopedCoCreate()
{
    g_Platform.pCoCreateInstance = RealPlatformApi().pCoCreateInstance;
    g_provider = nullptr;
}

const std::vector<CoCreateCall>& ScopedCoCreate::Calls() const { return g_createCalls; }
