#include "keyboard.h"

namespace e2e {
namespace {

// The lParam of a key-down: repeat count 1 and the key's scan code.
LPARAM keyDownParam(WPARAM virtualKey) {
    return 1 | (static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC)) << 16);
}

}  // namespace

HWND focusOfThreadOf(HWND window) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!thread || !GetGUIThreadInfo(thread, &info)) return nullptr;
    return info.hwndFocus;
}

void postKeyDown(HWND target, WPARAM virtualKey) {
    PostMessageW(target, WM_KEYDOWN, virtualKey, keyDownParam(virtualKey));
}

void postEscape(HWND target) {
    postKeyDown(target, VK_ESCAPE);
    PostMessageW(target, WM_CHAR, 0x1B, keyDownParam(VK_ESCAPE));
}

}  // namespace e2e
