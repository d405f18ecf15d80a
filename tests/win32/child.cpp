// The child the process tests launch: sleeps for argv[1] milliseconds, then exits with argv[2].
// With "show" it exits with the window state it was asked to start in (999 when none).
// With "hold <sharing> <path> <event>" it opens the file for reading and writing with that
// sharing, as a program with the database open does, signals the named event and waits to be
// ended (at most a minute).
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcscmp(argv[1], L"show") == 0) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        GetStartupInfoW(&startup);
        return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : 999;
    }
    if (argc > 4 && std::wcscmp(argv[1], L"hold") == 0) {
        const DWORD sharing = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
        HANDLE file =
            CreateFileW(argv[3], GENERIC_READ | GENERIC_WRITE, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[4]);
        if (!held || !SetEvent(held)) return 2;
        Sleep(60000);
        return 0;
    }
    const DWORD ms = argc > 1 ? static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)) : 0;
    const UINT code = argc > 2 ? static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10)) : 0;
    Sleep(ms);
    return static_cast<int>(code);
}
