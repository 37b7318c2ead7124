#include "app/platform_services.h"

#include <winsock2.h>

namespace zz {

CPlatformServices::~CPlatformServices() {
    m_ole.reset();
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
    m_ole.emplace(ComInitialization::Kind::kOle);
    return m_ole->Started();
}

}  // namespace zz
