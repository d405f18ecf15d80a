#include "text.h"

#include "support/unicode.h"

#include <windows.h>

namespace support {

// Windows' wide text is UTF-16: the one conversion of the core's text serves it too.
std::string utf8(std::wstring_view text) { return utf8(std::u16string(text.begin(), text.end())); }

std::wstring utf16(std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out.data(), size);
    return out;
}

std::wstring windowsPathOf(std::string_view linuxPath) {
    std::wstring path = L"Z:" + utf16(linuxPath);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

std::wstring joinPath(const std::wstring& folder, const std::wstring& name) { return folder + L"\\" + name; }

}  // namespace support
