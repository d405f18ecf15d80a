#include "standard/text_format.h"

namespace mdlFunctionStandard {

platform::Text count(std::uint64_t number) {
    platform::Text out;
    do {
        out.insert(out.begin(), static_cast<char16_t>(u'0' + number % 10));
        number /= 10;
    } while (number != 0);
    return out;
}

platform::Text decimal(std::int64_t number) {
    // Work on the magnitude as unsigned so the most negative value does not overflow.
    if (number >= 0) return count(static_cast<std::uint64_t>(number));
    return u"-" + count(0 - static_cast<std::uint64_t>(number));
}

platform::Text digits(int number, int width) {
    platform::Text out = decimal(number);
    while (static_cast<int>(out.size()) < width) out.insert(out.begin(), u'0');
    return out;
}

platform::Text grouped(std::uint64_t number) {
    platform::Text out;
    for (int n = 0;; ++n) {
        if (n > 0 && n % 3 == 0) out.insert(out.begin(), u',');
        out.insert(out.begin(), static_cast<char16_t>(u'0' + number % 10));
        number /= 10;
        if (number == 0) return out;
    }
}

bool sameIgnoringAsciiCase(const platform::Text& a, const platform::Text& b) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

}  // namespace mdlFunctionStandard
