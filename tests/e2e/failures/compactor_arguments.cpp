#include "compactor_arguments.h"

#include "repair_names.h"

#include "support/text.h"

namespace e2e {

::testing::AssertionResult compactorSawOnly(const std::vector<CompactorStart>& starts, size_t expectedStarts,
                                            const std::wstring& compactor, const std::wstring& source,
                                            std::wstring& afterName) {
    if (starts.size() != expectedStarts)
        return ::testing::AssertionFailure()
               << "the compactor was started " << starts.size() << " times, expected " << expectedStarts;
    const CompactorStart& start = starts.back();
    auto failure = [&]() {
        ::testing::AssertionResult result = ::testing::AssertionFailure();
        result << "the compactor's command line was: " << support::utf8(start.commandLine)
               << "\n  split into:";
        for (const std::wstring& argument : start.arguments) result << " [" << support::utf8(argument) << "]";
        return result;
    };
    if (start.arguments.size() != 3) return failure() << "\n  expected three arguments";
    if (start.arguments[0] != compactor)
        return failure() << "\n  expected its own path " << support::utf8(compactor);
    if (start.arguments[1] != L"-src:" + source)
        return failure() << "\n  expected -src:" << support::utf8(source);
    const std::wstring& destination = start.arguments[2];
    if (destination.rfind(L"-dest:", 0) != 0 || !isTaggedName(destination.substr(6), source, L"_AfterRepair"))
        return failure() << "\n  expected -dest:"
                         << support::utf8(taggedName(source, L"_AfterRepair", L"<stamp>"));
    afterName = destination.substr(6);
    return ::testing::AssertionSuccess();
}

}  // namespace e2e
