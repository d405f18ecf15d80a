// The reference for the wait's CPU cost: a window that waits for a child the way the program's
// first design did, reading the child's exit code and handling pending window events over and
// over with no pause, until the code is no longer 259 (STILL_ACTIVE).
// The child's command line comes from HARBEK_BENCH_CHILD; the program ends when the child has.
#include <windows.h>

#include <string>

#include "window.h"

namespace {

std::wstring childCommandLine()
{
    const DWORD size = GetEnvironmentVariableW(L"HARBEK_BENCH_CHILD", nullptr, 0);
    if (size == 0) return {};
    std::wstring text(size, L'\0');
    text.resize(GetEnvironmentVariableW(L"HARBEK_BENCH_CHILD", text.data(), size));
    return text;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    std::wstring commandLine = childCommandLine();
    if (commandLine.empty()) return 2;

    HWND window = reference::makeWindow(instance, L"BusyWaitReference", L"busy wait reference", WS_OVERLAPPEDWINDOW,
                                        400, 200);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return 3;
    CloseHandle(info.hThread);

    // As the first design did: open the process by its id, then poll.
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, TRUE, info.dwProcessId);
    CloseHandle(info.hProcess);
    DWORD code = STILL_ACTIVE;
    do {
        GetExitCodeProcess(process, &code);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    } while (code == STILL_ACTIVE);
    CloseHandle(process);
    // Idle a moment before ending, so that whoever measures this program can still read its CPU
    // time once the child has gone.
    Sleep(1500);
    DestroyWindow(window);
    return 0;
}
