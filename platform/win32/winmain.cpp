// Harbek's start: the main window is shown, and its message loop runs until it is closed.
#include <windows.h>

#include "main_window/frmMain.h"
#include "platform/win32/form_window.h"
#include "platform/win32/services.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    static win32::Services services(instance);
    platform::install(&services);
    try {
        services.showMainWindow(frmMain::form());
    } catch (const platform::RuntimeError& e) {
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(e.description.c_str()), L"Harbek", MB_ICONSTOP);
        return 1;
    }
    const int code = win32::runMessageLoop();
    ExitProcess(static_cast<UINT>(code));
}
