#include "platform/win32/environment.h"

#include <string>

#include "platform/win32/errors.h"
#include "platform/win32/files.h"
#include "platform/win32/text.h"

namespace win32 {

platform::LocalTime Environment::localTime() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

platform::Text Environment::programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) throwLastError();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::size_t cut = path.find_last_of(L'\\');
    if (cut == std::wstring::npos) return fromWide(path);
    // A drive's root keeps its separator ("C:\"), as the program folder is reported there.
    if (cut == 2 && path[1] == L':') ++cut;
    return fromWide(path.substr(0, cut));
}

std::uintptr_t Environment::instanceHandle() { return reinterpret_cast<std::uintptr_t>(instance_); }

platform::Text Environment::fromCodePage(std::uint32_t codePage, const std::string& bytes) {
    // A code page this system lacks (or a damaged header's number) falls back to the system's
    // ANSI code page: the text then shows wrongly, but reading the database goes on.
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length == 0) {
        codePage = CP_ACP;
        length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
    return fromWide(text);
}

std::unique_ptr<platform::FileSystem> Environment::createFileSystem() {
    return std::make_unique<FileSystem>();
}

}  // namespace win32
