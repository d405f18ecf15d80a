#include "tests/win32/harness.h"

#include <vector>

namespace win32test {

std::wstring childExe() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring self(path, n);
    return self.substr(0, self.find_last_of(L'\\')) + L"\\win32_test_child.exe";
}

std::wstring windowText(HWND window) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

namespace {

SeenBox* pendingBox = nullptr;
int pendingButton = IDOK;
HHOOK hook = nullptr;

LRESULT CALLBACK onCbt(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && pendingBox) {
        HWND box = reinterpret_cast<HWND>(wp);
        pendingBox->seen = true;
        pendingBox->caption = windowText(box);
        pendingBox->text = windowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(pendingButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, pendingButton)));
        pendingBox = nullptr;
        UnhookWindowsHookEx(hook);
        hook = nullptr;
        return 0;
    }
    return CallNextHookEx(hook, code, wp, lp);
}

}  // namespace

void answerNextBox(SeenBox& seen, int button) {
    pendingBox = &seen;
    pendingButton = button;
    hook = SetWindowsHookExW(WH_CBT, onCbt, nullptr, GetCurrentThreadId());
}

}  // namespace win32test
