#pragma once
// The automation side of the program: the class object that hands out documents to clients,
// and the application lock that keeps the program alive while a client holds one.

#include <windows.h>

#include <string>

#include "app/server_registration.h"

namespace zz {

// Counts what keeps the program alive for automation clients. When the last lock goes and no
// user controls the program (it was started by a client), the message loop is ended.
class CAppLock {
public:
    static void Lock();
    static void Unlock();
    // A program the user started, or a client made visible, stays when the locks go.
    static void SetUserControl(bool userControl);
};

class CAutomationServer {
public:
    CAutomationServer() = default;
    ~CAutomationServer() { Revoke(); }
    CAutomationServer(const CAutomationServer&) = delete;
    CAutomationServer& operator=(const CAutomationServer&) = delete;

    // Makes the class object known to COM as running, one program instance per client.
    bool RegisterAll();

    // The document type from the document strings, the class identifier and this program.
    static ServerIdentity Identity();

private:
    void Revoke();

    DWORD m_dwRegister = 0;
    bool m_bRegistered = false;
};

}  // namespace zz
