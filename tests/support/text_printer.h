// GoogleTest and GoogleMock with platform::Text (std::u16string) printed as UTF-8, so that a failed
// comparison of Japanese texts reads as text: u"終了しました。\r\n" rather than u"\x7D42\x4E86...".
// Include it in place of <gtest/gtest.h> and <gmock/gmock.h>.
//
// GoogleTest prints every value through UniversalPrinter<T>, and its own headers already use the
// printer of std::u16string, so the specialization below has to be declared before them: a
// translation unit that has read GoogleTest first stops here rather than printing Text one way in
// one file and another way in the next.
#pragma once

#ifdef GOOGLETEST_INCLUDE_GTEST_GTEST_PRINTERS_H_
#error "support/text_printer.h must come before GoogleTest's own headers"
#endif

#include <ostream>
#include <string>

namespace testing::internal {

template <typename T>
class UniversalPrinter;

template <>
class UniversalPrinter<std::u16string> {
public:
    // u"...": the text as UTF-8, with quotes, backslashes and control characters escaped as
    // GoogleTest escapes them, and an unpaired surrogate as \uD800.
    static void Print(const std::u16string& text, std::ostream* os);
};

}  // namespace testing::internal

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace support {

// Matches a Text that holds `part`; a failure prints both as text. (GoogleMock's own HasSubstr takes
// std::string and std::wstring only.)
MATCHER_P(HasSubstr, part, "has substring " + ::testing::PrintToString(std::u16string(part))) {
    return std::u16string_view(arg).find(part) != std::u16string_view::npos;
}

}  // namespace support
