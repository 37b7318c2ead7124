#include "app/platform_services.h"

#include <winsock2.h>
#include <ole2.h>

namespace zz {

CPlatformServices::~CPlatformServices() {
    if (m_bOle) {
        OleUninitialize();
    }
    if (m_bSockets) {
        WSACleanup();
    }
}

bool CPlatformServices::StartSockets() {
    WSADATA data{};
    m_bSockets = WSAStartup(MAKEWORD(1, 1), &data) == 0;
    return m_bSockets;
}

bool CPlatformServices::StartOle() {
    m_bOle = SUCCEEDED(OleInitialize(nullptr));
    return m_bOle;
}

}  // namespace zz
