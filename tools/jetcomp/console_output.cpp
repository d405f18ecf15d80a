#include "console_output.h"

#include <windows.h>

#include <string>

namespace jetcomp {

void writeText(Stream stream, std::wstring_view text) {
    const HANDLE out = GetStdHandle(stream == Stream::out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;  // started without a console or pipes

    std::wstring lines;
    lines.reserve(text.size() + 16);
    for (const wchar_t c : text) {
        if (c == L'\n') lines += L'\r';
        lines += c;
    }

    DWORD written = 0;
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, lines.data(), DWORD(lines.size()), &written, nullptr);
        return;
    }
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, lines.data(), int(lines.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, lines.data(), int(lines.size()), bytes.data(), size, nullptr, nullptr);
    WriteFile(out, bytes.data(), DWORD(size), &written, nullptr);
}

}  // namespace jetcomp
