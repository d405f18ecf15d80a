#include "tests/win32/win32_test_support.h"

#include <vector>

namespace win32test {

std::wstring programFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L'\\'));
}

TempFolder::TempFolder(const std::wstring& name) {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    for (unsigned n = GetTickCount();; ++n) {
        path_ = std::wstring(base) + name + L" " + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n);
        if (CreateDirectoryW(path_.c_str(), nullptr)) return;
    }
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = path_ + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveDirectoryW(full.c_str());
            else DeleteFileW(full.c_str());
        } while (FindNextFileW(h, &found));
        FindClose(h);
    }
    RemoveDirectoryW(path_.c_str());
}

void writeFile(const std::wstring& path, const std::string& content) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
}

std::string readFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string out;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    CloseHandle(h);
    return out;
}

std::string utf8(const std::wstring& s) {
    if (s.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

namespace {

SeenBox* pendingBox = nullptr;
int pendingButton = IDOK;
HHOOK hook = nullptr;

std::wstring windowText(HWND h) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1);
    GetWindowTextW(h, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

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
