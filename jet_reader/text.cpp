#include "jet_reader/text.h"

namespace jet {

platform::Text jet4Text(Bytes value) {
    platform::Text text;
    const bool compressed = value.size() >= 2 && value[0] == 0xFF && value[1] == 0xFE;
    std::size_t i = compressed ? 2 : 0;
    bool pairs = !compressed;
    while (i < value.size()) {
        // As mdbtools reads it: in pair mode a 0x00 counts as a switch only at a pair's start
        // (Access writes no pair with a zero byte there, so Jackcess's any-byte rule agrees).
        if (compressed && value[i] == 0x00) {
            pairs = !pairs;
            ++i;
        } else if (!pairs) {
            text += static_cast<char16_t>(value[i++]);
        } else {
            require(value.size() - i >= 2, "a text value ends inside a character");
            text += static_cast<char16_t>(value[i] | value[i + 1] << 8);
            i += 2;
        }
    }
    return text;
}

platform::Text ucs2Text(Bytes value) {
    require(value.size() % 2 == 0, "a UCS-2 text has an odd number of bytes");
    platform::Text text(value.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(value[2 * i] | value[2 * i + 1] << 8);
    return text;
}

}  // namespace jet
