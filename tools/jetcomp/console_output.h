// Text out of JetComp.exe. A console gets it through WriteConsoleW; a pipe or file (a log,
// a test reading the output) gets UTF-8, so paths in any script survive.
#pragma once

#include <string_view>

namespace jetcomp {

enum class Stream { out, err };

// Writes text whose lines end in "\n"; each line ends in "\r\n" on the way out.
void writeText(Stream stream, std::wstring_view text);

}  // namespace jetcomp
