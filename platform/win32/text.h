// UTF-16 text between the core (std::u16string) and the W functions (wchar_t is 16-bit here), and
// the system's ANSI code page for the one call made through an A function.
#pragma once

#include <string>

#include "platform/text.h"

namespace win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W functions take UTF-16");

inline const wchar_t* wide(const platform::Text& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::wstring wideString(const platform::Text& text) { return std::wstring(text.begin(), text.end()); }
inline platform::Text fromWide(const std::wstring& text) { return platform::Text(text.begin(), text.end()); }
inline platform::Text fromWide(const wchar_t* text) { return fromWide(std::wstring(text)); }

// Whole buffers, embedded NULs included; characters the code page lacks become its default.
std::string toAnsi(const platform::Text& text);
platform::Text fromAnsi(const std::string& text);

}  // namespace win32
