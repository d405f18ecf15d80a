#include "support/text_printer.h"

#include <cstdio>

#include "support/unicode.h"

namespace testing::internal {

void UniversalPrinter<std::u16string>::Print(const std::u16string& text, std::ostream* os) {
    std::u16string plain;  // a run of text printed as it is
    const auto flush = [&] {
        *os << support::utf8(plain);
        plain.clear();
    };
    *os << "u\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c < 0xDC00;
        const bool paired = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        const bool lone = (c >= 0xD800 && c < 0xE000) && !paired;
        const char* named = c == u'"'    ? "\\\""
                            : c == u'\\' ? "\\\\"
                            : c == u'\r' ? "\\r"
                            : c == u'\n' ? "\\n"
                            : c == u'\t' ? "\\t"
                            : c == u'\0' ? "\\0"
                                         : nullptr;
        if (named != nullptr || c < 0x20 || c == 0x7F || lone) {
            flush();
            if (named != nullptr) {
                *os << named;
            } else {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
                *os << escaped;
            }
        } else {
            plain += c;
            if (paired) plain += text[++i];
        }
    }
    flush();
    *os << '"';
}

}  // namespace testing::internal
