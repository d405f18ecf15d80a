#include "platform/win32/text.h"

#include <windows.h>

#include "platform/win32/errors.h"

namespace win32 {

std::string toAnsi(const platform::Text& text) {
    if (text.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, wide(text), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) throwLastError();
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide(text), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

platform::Text fromAnsi(const std::string& text) {
    if (text.empty()) return platform::Text();
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) throwLastError();
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return fromWide(out);
}

}  // namespace win32
