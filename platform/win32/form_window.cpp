#include "platform/win32/form_window.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "platform/win32/errors.h"
#include "platform/win32/layout.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {

const wchar_t kClassName[] = L"HarbekMainWindow";
constexpr int kFirstControlId = 100;  // control i of the form has id 100 + i
constexpr WORD kIconId = 1;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

struct Window {
    HWND hwnd = nullptr;
    const platform::FormDescription* form = nullptr;
    std::vector<HWND> controls;  // in the form's order
    HFONT font = nullptr;
    UINT dpi = 96;
} window;

// A handler's failure that its own trap did not take (the cancel button has none): say so the way
// a run-time error would, and end.
[[noreturn]] void endOnUntrappedError(std::int32_t number, const std::wstring& description) {
    const std::wstring text = L"実行時エラー '" + std::to_wstring(number) + L"':\r\n\r\n" + description;
    MessageBoxW(nullptr, text.c_str(), L"Harbek", MB_ICONSTOP);
    ExitProcess(1);
}

template <class Handler>
auto runHandler(Handler handler) {
    try {
        return handler();
    } catch (const platform::RuntimeError& e) {
        endOnUntrappedError(e.number, wideString(e.description));
    } catch (const std::bad_alloc&) {
        endOnUntrappedError(7, L"メモリが不足しています。");
    }
}

DWORD controlStyle(const platform::ControlDescription& c, DWORD& exStyle) {
    exStyle = 0;
    // The label's last pixel row overlaps the path field's top border; clipping siblings keeps
    // the label, which comes later in the tab order and so lies below, from painting over it.
    const DWORD base = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (c.kind) {
        case platform::ControlKind::Label:
            return base | SS_LEFT;
        case platform::ControlKind::TextField:
            exStyle = WS_EX_CLIENTEDGE;
            return base | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL;
        case platform::ControlKind::LogField:
            exStyle = WS_EX_CLIENTEDGE;
            return base | WS_TABSTOP | WS_GROUP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
        case platform::ControlKind::PushButton:
            return base | WS_TABSTOP | WS_GROUP | (c.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    }
    return base;
}

const wchar_t* controlClass(platform::ControlKind kind) {
    switch (kind) {
        case platform::ControlKind::Label:
            return L"STATIC";
        case platform::ControlKind::TextField:
        case platform::ControlKind::LogField:
            return L"EDIT";
        case platform::ControlKind::PushButton:
            return L"BUTTON";
    }
    return L"STATIC";
}

void setFont(UINT dpi) {
    HFONT old = window.font;
    window.font = createMessageFont(dpi);
    for (HWND c : window.controls) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(window.font), TRUE);
    if (old) DeleteObject(old);
}

void setIcons(HINSTANCE instance, UINT dpi) {
    const auto load = [&](int cx, int cy) {
        return reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                                   systemMetric(cx, dpi), systemMetric(cy, dpi), 0));
    };
    SendMessageW(window.hwnd, WM_SETICON, ICON_BIG, load(SM_CXICON, SM_CYICON));
    SendMessageW(window.hwnd, WM_SETICON, ICON_SMALL, load(SM_CXSMICON, SM_CYSMICON));
}

// Places every control and sizes the window so its client area is the form's, at `dpi`.
void layOut(UINT dpi, const RECT* suggested) {
    const platform::FormDescription& form = *window.form;
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        const platform::ControlDescription& c = form.controls[i];
        SetWindowPos(window.controls[i], nullptr, twipsToPixels(c.left, dpi), twipsToPixels(c.top, dpi),
                     twipsToPixels(c.width, dpi), twipsToPixels(c.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const SIZE size = windowSizeForClient(twipsToPixels(form.clientWidth, dpi),
                                          twipsToPixels(form.clientHeight, dpi), kStyle, 0, dpi);
    int x, y;
    if (suggested) {
        x = suggested->left;
        y = suggested->top;
    } else {
        // First showing: centred in the work area of the monitor the window was created on.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window.hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& work = monitor.rcWork;
        x = work.left + std::max(0L, (work.right - work.left - size.cx) / 2);
        y = work.top + std::max(0L, (work.bottom - work.top - size.cy) / 2);
    }
    SetWindowPos(window.hwnd, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool isOurs(HWND hwnd) { return window.hwnd && (hwnd == window.hwnd || IsChild(window.hwnd, hwnd)); }

// The dialog manager's keyboard handling for the main window. Esc is dropped: the window has no
// cancel key (a stray Esc must not cut a run short), and a multi-line edit would otherwise turn
// it into a close of the window.
bool preTranslate(MSG& msg) {
    if (!isOurs(msg.hwnd)) return false;
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) &&
        msg.wParam == VK_ESCAPE)
        return true;
    return IsDialogMessageW(window.hwnd, &msg);
}

void onCommand(WPARAM wp, LPARAM lp) {
    if (HIWORD(wp) != BN_CLICKED || lp == 0) return;  // IDCANCEL from Esc has no control
    const int index = LOWORD(wp) - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(window.form->controls.size())) return;
    if (window.controls[static_cast<std::size_t>(index)] != reinterpret_cast<HWND>(lp)) return;
    if (auto onClick = window.form->controls[static_cast<std::size_t>(index)].onClick) runHandler(onClick);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            onCommand(wp, lp);
            return 0;
        case WM_CLOSE:
            if (!window.form || !window.form->queryClose || runHandler(window.form->queryClose))
                DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            if (hwnd == window.hwnd) {
                window.hwnd = nullptr;
                window.controls.clear();
                PostQuitMessage(0);
            }
            return 0;
        case WM_DPICHANGED:
            if (hwnd == window.hwnd) {
                window.dpi = HIWORD(wp);
                setFont(window.dpi);
                layOut(window.dpi, reinterpret_cast<const RECT*>(lp));
                setIcons(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE)), window.dpi);
            }
            return 0;
    }
    return DefDlgProcW(hwnd, msg, wp, lp);
}

}  // namespace

void showMainWindow(HINSTANCE instance, const platform::FormDescription& form) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;  // the dialog manager keeps its state here
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) throwLastError();

    window.form = &form;
    window.hwnd = CreateWindowExW(0, kClassName, wide(form.caption), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window.hwnd) throwLastError();
    window.dpi = windowDpi(window.hwnd);

    // Created in tab order, so the z-order the dialog manager walks is the tab order.
    std::vector<std::size_t> order(form.controls.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return form.controls[a].tabIndex < form.controls[b].tabIndex;
    });
    window.controls.assign(form.controls.size(), nullptr);
    for (std::size_t i : order) {
        const platform::ControlDescription& c = form.controls[i];
        DWORD exStyle = 0;
        const DWORD style = controlStyle(c, exStyle);
        HWND control = CreateWindowExW(
            exStyle, controlClass(c.kind), wide(c.caption), style, 0, 0, 0, 0, window.hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), instance, nullptr);
        if (!control) throwLastError();
        window.controls[i] = control;
        // The dialog manager learns the default push button (Enter) from a template; tell it.
        if (c.isDefault) SendMessageW(window.hwnd, DM_SETDEFID, kFirstControlId + i, 0);
    }
    setFont(window.dpi);
    setIcons(instance, window.dpi);
    layOut(window.dpi, nullptr);

    ShowWindow(window.hwnd, SW_SHOWNORMAL);
    UpdateWindow(window.hwnd);
    // The keyboard focus starts in the first control of the tab order.
    SetFocus(window.controls[order.front()]);
}

HWND mainWindow() { return window.hwnd; }

HWND fieldControl(platform::TextField field) {
    if (window.form) {
        for (std::size_t i = 0; i < window.form->controls.size() && i < window.controls.size(); ++i)
            if (window.form->controls[i].field == field) return window.controls[i];
    }
    return nullptr;
}

void processPendingEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // left for the main loop
            return;
        }
        if (!preTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

int runMessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;
        if (!preTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

void unloadMainWindow() {
    if (window.hwnd && !DestroyWindow(window.hwnd)) throwLastError();
}

}  // namespace win32
