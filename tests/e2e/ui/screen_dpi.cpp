#include "screen_dpi.h"

namespace e2e {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

}  // namespace

bool ScopedLogPixels::set(DWORD dpi, std::string& error) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0,
                                     KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        error = "RegCreateKeyExW(HKCU\\Control Panel\\Desktop) failed with " + std::to_string(status);
        return false;
    }
    if (!changed_) {
        DWORD value = 0, type = 0, size = sizeof value;
        status = RegQueryValueExW(key, kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        previous_ = status == ERROR_SUCCESS && type == REG_DWORD ? std::optional<DWORD>(value) : std::nullopt;
    }
    status = RegSetValueExW(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        error = "RegSetValueExW(LogPixels) failed with " + std::to_string(status);
        return false;
    }
    changed_ = true;
    return true;
}

void ScopedLogPixels::restore() {
    if (!changed_) return;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (previous_)
        RegSetValueExW(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*previous_),
                       sizeof *previous_);
    else
        RegDeleteValueW(key, kLogPixels);
    RegCloseKey(key);
    changed_ = false;
}

void makeDriverDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    auto setContext = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then _PER_MONITOR_AWARE. A second call fails
    // with "access denied" once the awareness is set, which is fine.
    if (setContext && (setContext(reinterpret_cast<HANDLE>(-4)) || setContext(reinterpret_cast<HANDLE>(-3))))
        return;
    SetProcessDPIAware();
}

}  // namespace e2e
