// The process entry: Main builds the window, the host's loop runs until it closes.
#include "app/Startup.h"
#include "host/Application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::unique_ptr<workbench::FrmMain> form = workbench::Main();
    if (!form) return 0;
    return host::App().Run();
}
