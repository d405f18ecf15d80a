// The reference programs, plain windows built as Harbek.exe is: bare_window shows one until it is closed
// (bare_window_manifest: with Harbek's manifest); BENCH_WITH_CONTROLS adds Harbek's set of controls in the
// message font; BENCH_BUSY_WAIT (busy_wait_window) waits for the child HARBEK_BENCH_CHILD names as the
// program's first design did: its exit code read and pending window events handled over and over, no pause.
#include <windows.h>

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return msg == WM_DESTROY ? 0 : DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BenchReference";
    RegisterClassW(&wc);
    HWND window =
        CreateWindowExW(0, wc.lpszClassName, L"bare window", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                        CW_USEDEFAULT, CW_USEDEFAULT, 540, 240, nullptr, nullptr, instance, nullptr);
#ifdef BENCH_WITH_CONTROLS
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    const wchar_t* classes[] = {L"STATIC", L"EDIT", L"BUTTON", L"EDIT", L"BUTTON", L"BUTTON"};
    const DWORD styles[] = {SS_LEFT,          ES_AUTOHSCROLL,
                            BS_PUSHBUTTON,    ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL,
                            BS_DEFPUSHBUTTON, BS_PUSHBUTTON};
    for (int i = 0; i < 6; ++i) {
        HWND control = CreateWindowExW(i == 1 || i == 3 ? WS_EX_CLIENTEDGE : 0, classes[i], L"",
                                       WS_CHILD | WS_VISIBLE | styles[i] | (i ? WS_TABSTOP : 0), 8,
                                       8 + 30 * i, 300, 24, window, nullptr, instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
#endif
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG msg{};
#ifdef BENCH_BUSY_WAIT
    wchar_t child[4096];
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION info{};
    if (!GetEnvironmentVariableW(L"HARBEK_BENCH_CHILD", child, 4096) ||
        !CreateProcessW(nullptr, child, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return 3;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, TRUE, info.dwProcessId);  // by its id, as then
    for (DWORD code = STILL_ACTIVE; code == STILL_ACTIVE; GetExitCodeProcess(process, &code))
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) TranslateMessage(&msg), DispatchMessageW(&msg);
    Sleep(1500);  // idle a moment, so that whoever measures it can still read its CPU time
    return 0;
#endif
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) TranslateMessage(&msg), DispatchMessageW(&msg);
    return static_cast<int>(msg.wParam);
}
