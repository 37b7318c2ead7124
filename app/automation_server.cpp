#include "app/automation_server.h"

#include <ole2.h>

#include <new>

#include "app/automation_ids.h"
#include "framework/module.h"
#include "framework/unicode.h"
#include "resources/resource.h"

namespace zz {

namespace {

int g_nLocks = 0;
bool g_bUserControl = true;

// The document as clients see it: a dispatch interface without methods or properties. It holds
// an application lock for as long as it lives.
class CAutomationDocument final : public IDispatch {
public:
    CAutomationDocument() { CAppLock::Lock(); }
    CAutomationDocument(const CAutomationDocument&) = delete;
    CAutomationDocument& operator=(const CAutomationDocument&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, kIidZoomzapDocument)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG refs = --m_nRefs;
        if (refs == 0) {
            delete this;
        }
        return refs;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID,
                                            DISPID* ids) override {
        for (UINT i = 0; ids != nullptr && i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
        }
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    ~CAutomationDocument() { CAppLock::Unlock(); }

    ULONG m_nRefs = 1;
};

// Lives as long as the program; COM's references do not decide its life.
class CDocumentFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        auto* document = new (std::nothrow) CAutomationDocument;
        if (document == nullptr) {
            return E_OUTOFMEMORY;
        }
        const HRESULT result = document->QueryInterface(iid, object);
        document->Release();  // the caller's reference, if any, is the one left
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            CAppLock::Lock();
        } else {
            CAppLock::Unlock();
        }
        return S_OK;
    }
};

CDocumentFactory g_factory;

}  // namespace

void CAppLock::Lock() {
    ++g_nLocks;
}

void CAppLock::Unlock() {
    if (g_nLocks > 0 && --g_nLocks == 0 && !g_bUserControl) {
        PostQuitMessage(0);
    }
}

void CAppLock::SetUserControl(bool userControl) {
    g_bUserControl = userControl;
}

bool CAutomationServer::RegisterAll() {
    if (m_bRegistered) {
        return true;
    }
    m_bRegistered = SUCCEEDED(CoRegisterClassObject(
        kClsidZoomzapDocument, &g_factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &m_dwRegister));
    return m_bRegistered;
}

void CAutomationServer::Revoke() {
    if (m_bRegistered) {
        CoRevokeClassObject(m_dwRegister);  // fails only for a registration already gone
        m_bRegistered = false;
    }
}

ServerIdentity CAutomationServer::Identity() {
    ServerIdentity identity =
        IdentityFromDocumentStrings(Narrow(LoadResourceString(IDR_MAINFRAME)));
    wchar_t guid[64] = {};
    if (StringFromGUID2(kClsidZoomzapDocument, guid, 64) > 0) {
        identity.classId = Narrow(guid);
    }
    if (StringFromGUID2(kIidZoomzapDocument, guid, 64) > 0) {
        identity.interfaceId = Narrow(guid);
    }
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        identity.programPath = Narrow(path);
    }
    return identity;
}

}  // namespace zz
