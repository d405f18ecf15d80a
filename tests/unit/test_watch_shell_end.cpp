// gWatchShellEnd: blocks between polls, stops when the process has ended whatever its exit code,
// keeps the window live, and closes its handle on every way out.
#include "support/text_printer.h"

#include <algorithm>

#include "standard/mdlFunctionStandard.h"
#include "tests/unit/fake_platform.h"

using fake::Text;
using support::HasSubstr;

namespace {

// Starts a compactor in the fake that runs for `rounds` waits, and waits for it.
void watch(fake::Platform& p, int rounds) {
    p.compactorRounds = rounds;
    auto child = p.launchMinimizedFocus(u"\"x\" -src:\"a\" -dest:\"b\"");
    p.calls.clear();
    mdlFunctionStandard::gWatchShellEnd(child->id());
}

TEST(WatchShellEnd, BlocksBetweenPollsAndHandlesEventsEachRound) {
    fake::Platform p;
    watch(p, 3);
    EXPECT_EQ(p.lastAccess, 0x100400u);  // query information + synchronize
    EXPECT_TRUE(p.lastInherit);
    EXPECT_EQ(p.count("waitForProcessOrEvent"), 3);
    EXPECT_EQ(p.count("processHasEnded"), 4);
    EXPECT_EQ(p.count("processPendingEvents"), 4);  // also once after the end
    EXPECT_EQ(p.count("closeHandle"), 1);
    EXPECT_EQ(p.calls.back(), "releaseLaunch");
    EXPECT_EQ(p.calls[p.calls.size() - 2], "closeHandle");
    EXPECT_THAT(p.boxes, testing::IsEmpty());
}

TEST(WatchShellEnd, StopsOnAProcessThatExitedWith259) {
    fake::Platform p;
    p.exitCode = 259;
    watch(p, 1);
    EXPECT_EQ(p.count("closeHandle"), 1);
    EXPECT_EQ(p.count("waitForProcessOrEvent"), 1);
}

TEST(WatchShellEnd, AProcessThatCannotBeOpenedGetsOnePoll) {
    fake::Platform p;
    p.openFails = true;
    watch(p, 5);
    EXPECT_EQ(p.count("processPendingEvents"), 1);
    EXPECT_EQ(p.count("waitForProcessOrEvent"), 0);
    EXPECT_THAT(p.boxes, testing::IsEmpty());
}

TEST(WatchShellEnd, AFailureIsReportedAndTheHandleIsClosed) {
    fake::Platform p;
    p.failOn("waitForProcessOrEvent");
    watch(p, 3);
    ASSERT_EQ(p.boxes.size(), 1u);
    EXPECT_THAT(p.boxes[0].text, HasSubstr(u"場所： gWatchShellEnd\r\n"));
    EXPECT_THAT(p.boxes[0].text, HasSubstr(u"位置： 位置情報は設定されていません\r\n"));
    EXPECT_EQ(p.count("closeHandle"), 1);
}

}  // namespace
