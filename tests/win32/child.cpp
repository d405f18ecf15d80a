// The child the process tests launch: sleeps for argv[1] milliseconds, then exits with argv[2].
// With "show" it exits with the window state it was asked to start in (999 when none).
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcscmp(argv[1], L"show") == 0) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        GetStartupInfoW(&startup);
        return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : 999;
    }
    const DWORD ms = argc > 1 ? static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)) : 0;
    const UINT code = argc > 2 ? static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10)) : 0;
    Sleep(ms);
    return static_cast<int>(code);
}
