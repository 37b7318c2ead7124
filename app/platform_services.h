#pragma once
// Windows Sockets and OLE for the life of the application, shut down in reverse order.

#include <optional>

#include "framework/com_init.h"

namespace zz {

class CPlatformServices {
public:
    CPlatformServices() = default;
    ~CPlatformServices();
    CPlatformServices(const CPlatformServices&) = delete;
    CPlatformServices& operator=(const CPlatformServices&) = delete;

    // Windows Sockets 1.1; false when it cannot start.
    bool StartSockets();
    // OLE on this thread (apartment threaded); false when it cannot start.
    bool StartOle();

private:
    bool m_bSockets = false;
    std::optional<ComInitialization> m_ole;
};

}  // namespace zz
