// The window of the reference programs: a class of their own and one window of it, made as a
// plain Win32 program does; destroying it ends the message loop.
#pragma once

#include <windows.h>

namespace reference {

inline LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The window, not shown yet; null when the class cannot be registered or the window made.
inline HWND makeWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* caption, DWORD style,
                       int width, int height)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    if (!RegisterClassW(&wc)) return nullptr;
    return CreateWindowExW(0, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr,
                           nullptr, instance, nullptr);
}

}  // namespace reference
