// A DxDiag provider and container tree that implement the real interfaces,
// can fail at any step and count references, so a test sees what was asked
// for and that everything handed out was given back.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <dxdiag.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Releases and child requests of every fake, in order.
std::vector<std::wstring>& FakeDxDiagLog();

class FakeDxDiagContainer : public IDxDiagContainer {
public:
    explicit FakeDxDiagContainer(std::wstring name) : m_Name(std::move(name)) {}

    std::wstring m_Name;
    LONG m_nRefs = 0;
    HRESULT m_hrNumberOfChildren = S_OK;
    DWORD m_nEnumFailsAt = 0xFFFFFFFF;  // EnumChildContainerNames fails from this index on
    bool m_bChildFails = false;         // GetChildContainer of this container fails
    bool m_bChildIsNull = false;        // ... or succeeds without giving a container

    // Adds a child (owned by this container) and returns it.
    FakeDxDiagContainer* AddChild(const std::wstring& name);
    void SetText(const std::wstring& name, const std::wstring& value);
    void SetNumber(const std::wstring& name, LONG value);

    STDMETHOD(QueryInterface)(REFIID, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetNumberOfChildContainers)(DWORD* count) override;
    STDMETHOD(EnumChildContainerNames)(DWORD index, LPWSTR name, DWORD chars) override;
    STDMETHOD(GetChildContainer)(LPCWSTR name, IDxDiagContainer** child) override;
    STDMETHOD(GetNumberOfProps)(DWORD* count) override;
    STDMETHOD(EnumPropNames)(DWORD index, LPWSTR name, DWORD chars) override;
    STDMETHOD(GetProp)(LPCWSTR name, VARIANT* value) override;

    // References still held by the tool in this container and all below it.
    LONG OutstandingRefs() const;

private:
    struct Property {
        bool isText;
        std::wstring text;
        LONG number;
    };
    std::vector<std::unique_ptr<FakeDxDiagContainer>> m_Children;
    std::map<std::wstring, Property> m_Props;
};

class FakeDxDiagProvider : public IDxDiagProvider {
public:
    FakeDxDiagProvider() : m_Root(L"root") {}

    LONG m_nRefs = 0;
    HRESULT m_hrInitialize = S_OK;
    HRESULT m_hrRoot = S_OK;
    FakeDxDiagContainer m_Root;
    std::vector<DXDIAG_INIT_PARAMS> m_InitCalls;

    STDMETHOD(QueryInterface)(REFIID, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Initialize)(DXDIAG_INIT_PARAMS* params) override;
    STDMETHOD(GetRootContainer)(IDxDiagContainer** root) override;
};

struct CoCreateCall {
    CLSID clsid;
    IUnknown* outer;
    DWORD context;
    IID iid;
};

// While alive, CoCreateInstance of the tool answers hr and, on success, hands
// out the provider.
class ScopedCoCreate {
public:
    ScopedCoCreate(FakeDxDiagProvider* provider, HRESULT hr);
    ~ScopedCoCreate();
    ScopedCoCreate(const ScopedCoCreate&) = delete;
    ScopedCoCreate& operator=(const ScopedCoCreate&) = delete;
    const std::vector<CoCreateCall>& Calls() const;
};
