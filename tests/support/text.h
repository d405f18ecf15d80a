// Text for the Windows-side tests: UTF-16 as Windows gives it, UTF-8 as assertions print it, and
// Linux paths of the build tree as Wine's drive Z: shows them.
#pragma once

#include <string>
#include <string_view>

namespace support {

std::string utf8(std::wstring_view text);
std::wstring utf16(std::string_view text);

// "/work/a b/c/" -> "Z:\work\a b\c".
std::wstring windowsPathOf(std::string_view linuxPath);

// folder + "\" + name.
std::wstring joinPath(const std::wstring& folder, const std::wstring& name);

}  // namespace support
