// The core's UTF-16 text as UTF-8, for messages and assertion output on any platform.
#pragma once

#include <string>
#include <string_view>

namespace support {

// An unpaired surrogate comes out as the three bytes its value would take (as WTF-8 has it), so
// nothing of the text is lost.
std::string utf8(std::u16string_view text);

}  // namespace support
