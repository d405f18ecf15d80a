// The reference programs, each a plain Win32 window built exactly as Harbek.exe is:
//   bare_window            the least a program does to show a window; it runs until it is closed.
//   bare_window_manifest   the same with Harbek's manifest, so the loader loads what it loads for
//                          Harbek (the define-less build; CMake adds the manifest).
//   BENCH_WITH_CONTROLS    also a label, two edits and three buttons in the message font, the set
//                          of controls Harbek's window has.
//   BENCH_BUSY_WAIT        busy_wait_window: waits for the child HARBEK_BENCH_CHILD names the way
//                          the program's first design did, reading its exit code and handling
//                          pending window events over and over with no pause.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return msg == WM_DESTROY ? 0 : DefWindowProcW(hwnd, msg, wp, lp);
}

HWND makeWindow(HINSTANCE instance, const wchar_t* caption, DWORD style, int width, int height) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BenchReference";
    if (!RegisterClassW(&wc)) return nullptr;
    HWND window = CreateWindowExW(0, wc.lpszClassName, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, width,
                                  height, nullptr, nullptr, instance, nullptr);
#ifdef BENCH_WITH_CONTROLS
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    const struct {
        const wchar_t* className;
        DWORD style, exStyle;
    } controls[] = {
        {L"STATIC", SS_LEFT, 0},
        {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
        {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
        {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
        {L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
        {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    };
    int top = 8;
    for (const auto& c : controls) {
        HWND control = CreateWindowExW(c.exStyle, c.className, L"", WS_CHILD | WS_VISIBLE | c.style, 8, top,
                                       300, 24, window, nullptr, instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        top += 30;
    }
#endif
    if (window) ShowWindow(window, SW_SHOWNORMAL), UpdateWindow(window);
    return window;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    MSG msg{};
#ifdef BENCH_BUSY_WAIT
    const wchar_t* child = _wgetenv(L"HARBEK_BENCH_CHILD");
    if (!child) return 2;
    std::wstring commandLine = child;
    HWND window = makeWindow(instance, L"busy wait reference", WS_OVERLAPPEDWINDOW, 400, 200);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return 3;
    CloseHandle(info.hThread);
    // As the first design did: open the process by its id, then poll.
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, TRUE, info.dwProcessId);
    CloseHandle(info.hProcess);
    for (DWORD code = STILL_ACTIVE; code == STILL_ACTIVE;) {
        GetExitCodeProcess(process, &code);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    CloseHandle(process);
    // Idle a moment before ending, so that whoever measures this program can still read its CPU
    // time once the child has gone.
    Sleep(1500);
    DestroyWindow(window);
    return 0;
#else
    if (!makeWindow(instance, L"bare window", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 540, 240)) return 1;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
#endif
}
