// Conversions between the driver's UTF-16 and the UTF-8 its assertions print, and Linux paths of
// the build tree as Wine's Z: drive shows them.
#pragma once

#include <string>
#include <string_view>

namespace e2e {

std::string utf8(std::wstring_view text);
std::wstring utf16(std::string_view text);

// "/work/a b/c" -> "Z:\work\a b\c".
std::wstring windowsPathOf(std::string_view linuxPath);

// a + "\" + b.
std::wstring joinPath(const std::wstring& folder, const std::wstring& name);

}  // namespace e2e
