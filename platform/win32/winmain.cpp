// Harbek's start: the main window is shown, and its message loop runs until it is closed.
#include <windows.h>

#include "main_window/frmMain.h"
#include "platform/win32/environment.h"
#include "platform/win32/form_window.h"
#include "platform/win32/processes.h"
#include "platform/win32/window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    static win32::Window window(instance);
    static win32::Environment environment(instance);
    static win32::Processes processes;
    platform::install({&window, &environment, &processes});
    try {
        window.showMainWindow(frmMain::form());
    } catch (const platform::RuntimeError& e) {
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(e.description.c_str()), L"Harbek", MB_ICONSTOP);
        return 1;
    }
    const int code = win32::runMessageLoop();
    ExitProcess(static_cast<UINT>(code));
}
