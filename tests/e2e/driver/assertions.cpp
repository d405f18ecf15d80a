#include "assertions.h"

#include "support/files.h"
#include "support/text.h"

namespace e2e {
namespace {

std::string shown(const std::wstring& text) {
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(L"\r\n", at);
        if (end == std::wstring::npos) {
            out += "    | " + support::utf8(text.substr(at)) + "   (no line break at the end)\n";
            break;
        }
        out += "    | " + support::utf8(text.substr(at, end - at)) + "\\r\\n\n";
        at = end + 2;
    }
    return out.empty() ? "    (empty)\n" : out;
}

}  // namespace

::testing::AssertionResult sameText(const std::wstring& actual, const std::wstring& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\n  got:\n"
                                         << shown(actual) << "  expected:\n"
                                         << shown(expected);
}

::testing::AssertionResult holdsBytes(const std::wstring& path, const std::optional<std::string>& expected) {
    std::optional<std::string> actual = support::readBytes(path);
    if (!expected) return ::testing::AssertionFailure() << "no expected content for " << support::utf8(path);
    if (!actual) return ::testing::AssertionFailure() << support::utf8(path) << " cannot be read (missing?)";
    if (*actual == *expected) return ::testing::AssertionSuccess();
    size_t first = 0;
    while (first < actual->size() && first < expected->size() && (*actual)[first] == (*expected)[first])
        ++first;
    return ::testing::AssertionFailure()
           << support::utf8(path) << " holds " << actual->size() << " bytes, not the expected "
           << expected->size() << "; they differ first at offset " << first;
}

}  // namespace e2e
