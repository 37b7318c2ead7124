// Entry point of Zoomzap.exe.

#include <windows.h>

#include "app/zoomzap_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    zz::CZoomzapApp app;
    return app.Run();
}
