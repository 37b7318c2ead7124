#include "framework/com_init.h"

#include <objbase.h>
#include <ole2.h>

namespace zz {

namespace {

HRESULT Initialize(ComInitialization::Kind kind) {
    switch (kind) {
        case ComInitialization::Kind::kOle:
            return OleInitialize(nullptr);
        case ComInitialization::Kind::kMultithreaded:
            return CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        default:
            return CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
}

}  // namespace

ComInitialization::ComInitialization(Kind kind) : m_kind(kind), m_result(Initialize(kind)) {}

ComInitialization::~ComInitialization() {
    if (!Started()) {
        return;
    }
    if (m_kind == Kind::kOle) {
        OleUninitialize();
    } else {
        CoUninitialize();
    }
}

}  // namespace zz
