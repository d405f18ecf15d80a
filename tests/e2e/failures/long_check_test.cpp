// Reading both files of a large database before the swap takes seconds, on the window thread:
// meanwhile the window repaints and answers, and ｷｬﾝｾﾙ ends the program with nothing renamed.
#include "compactor_arguments.h"
#include "failure_scenario.h"

#include "../driver/assertions.h"
#include "../driver/build_paths.h"
#include "support/big_database.h"
#include "support/files.h"
#include "support/process.h"
#include "support/text.h"
#include "support/window_lookup.h"

namespace e2e {
namespace {

// Large enough that reading both files takes a second or more under Wine, now that the check reads
// a MiB at a time.
constexpr std::uint64_t kBigBytes = 192ull << 20;

class LongCheck : public FailureScenario {
protected:
    // The big files go as the test ends, passed or failed: each run makes two.
    void TearDown() override {
        if (harbek_.running()) support::killProcess(harbek_.processId());
        harbek_.waitForExit(5000);
        EXPECT_TRUE(support::removeTree(dataFolder(L"data")));
    }
};

TEST_F(LongCheck, WindowRepaintsAndCancelEndsTheProgramWithNothingRenamed) {
    ASSERT_NO_FATAL_FAILURE(installProgram());
    const std::optional<std::string> source =
        support::readBytes(support::joinPath(testDataFolder(), L"valuesV2003.mdb"));
    ASSERT_TRUE(source);
    const support::BigDatabase big = support::bigDatabase(*source, kBigBytes);
    ASSERT_TRUE(big.problem.empty()) << big.problem;
    database_ = support::joinPath(dataFolder(L"data"), L"sales.mdb");
    ASSERT_TRUE(support::makeFolders(dataFolder(L"data")));
    ASSERT_TRUE(support::writeBytes(database_, big.bytes, CREATE_NEW));

    ASSERT_NO_FATAL_FAILURE(runIntoTheWait(L"copy"));
    ASSERT_TRUE(support::waitUntil([&] { return harbek_.runningCompactors().empty(); }))
        << "the compactor did not end";
    Sleep(150);  // the wait has noticed the end at once: well into the check now

    // A region made invalid from outside is painted (validated) again, and a message is answered.
    const HWND window = harbek_.window();
    ASSERT_TRUE(InvalidateRect(window, nullptr, TRUE));
    const bool painted = support::waitUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); }, 1000, 5);
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &result) != 0;
    // The check is still going on: no box, and the log has not reached the first rename.
    const bool boxUp = !support::topLevelWindows(harbek_.processId(), L"#32770").empty();
    const std::wstring logAtClick = maskedLog();
    harbek_.pressCancel();

    EXPECT_TRUE(painted) << "the window was not repainted within 1 s during the check";
    EXPECT_TRUE(answered) << "the window did not answer WM_NULL within 500 ms during the check";
    EXPECT_FALSE(boxUp) << "a message box was up: the check had ended before the click";
    EXPECT_TRUE(sameText(logAtClick, logUpToTheWait())) << "the check had ended before the click";
    EXPECT_TRUE(harbek_.waitForExit(2000)) << "ｷｬﾝｾﾙ did not end the program during the check";
    std::wstring afterName;
    ASSERT_TRUE(compactorSawOnly(compactorStarts(), 1, compactorPath(), database_, afterName));
    EXPECT_TRUE(support::fileExists(afterName)) << "the copy is not left beside the original";
    expectNothingLost(database_, OriginalAt::Source, ProgramAfter::Ended);
}

}  // namespace
}  // namespace e2e
