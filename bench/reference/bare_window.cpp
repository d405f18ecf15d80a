// The references for start-up: the least a Win32 program does to show a window, built exactly as
// Harbek.exe is. It runs until the window is closed. Two more builds add, step by step, what
// Harbek's window needs before it can show, so that Harbek's start-up can be split:
//   bare_window_manifest  carries Harbek's manifest (no define), so the loader loads what it
//                         loads for Harbek;
//   BENCH_WITH_CONTROLS   also a label, two edits and three buttons in the message font, the set
//                         of controls Harbek's window has.
#include <windows.h>

#include "window.h"

namespace {

#ifdef BENCH_WITH_CONTROLS
void addControls(HWND window, HINSTANCE instance)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    struct Control {
        const wchar_t* className;
        DWORD style, exStyle;
    };
    const Control controls[] = {
        {L"STATIC", SS_LEFT, 0},
        {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
        {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
        {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
        {L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
        {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    };
    int top = 8;
    for (const Control& c : controls) {
        HWND control = CreateWindowExW(c.exStyle, c.className, L"", WS_CHILD | WS_VISIBLE | c.style, 8, top, 300,
                                       24, window, nullptr, instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        top += 30;
    }
}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    HWND window = reference::makeWindow(instance, L"BareWindow", L"bare window", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                        540, 240);
    if (!window) return 1;
#ifdef BENCH_WITH_CONTROLS
    addControls(window, instance);
#endif
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
