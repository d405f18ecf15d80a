// What the user can do while the compactor runs (the window stays live during the wait), and the
// close box outside a run.
#include "repair_scenario.h"

#include "../driver/assertions.h"
#include "support/files.h"
#include "support/text.h"

namespace e2e {
namespace {

// "At once" means well before the compactor ends: the long compaction is never waited for (the
// session kills it), so it can be generous. Under Wine on a display without a window manager,
// destroying a top-level window takes 2 s (the X11 driver waits that long for a window manager to
// confirm the unmap) unless the prefix sets the X11 driver's "Managed" to "N"; kAtOnceMs allows it.
constexpr DWORD kLongCompaction = 8000;
constexpr DWORD kAtOnceMs = 3000;
// Long enough for the driver to act during the wait.
constexpr DWORD kShortCompaction = 1500;

class CloseBox : public RepairScenario {};

class DuringTheWait : public RepairScenario {
protected:
    // Starts a run on data\sales.mdb with a compactor that takes delayMs, and returns when the
    // compactor has started.
    void startRun(DWORD delayMs) {
        installProgram();
        database_ = placeDatabase(L"data", L"sales.mdb");
        original_ = support::readBytes(database_);
        ASSERT_TRUE(original_);
        ASSERT_TRUE(startHarbek(L"copy", delayMs));
        ASSERT_TRUE(harbek_.typePath(database_));
        harbek_.pressRun();
        ASSERT_TRUE(waitForCompactorStart());
    }

    // The program ended while the compactor still ran, and nothing was renamed.
    void expectEndedBeforeTheCompactor() {
        ULONGLONG pressed = GetTickCount64();
        std::wstring log = harbek_.log();
        if (!harbek_.waitForExit(kAtOnceMs)) {
            bool endedLater = harbek_.waitForExit(support::kWaitMs);
            FAIL() << "Harbek did not end within " << kAtOnceMs << " ms; "
                   << (endedLater ? "it ended after " + std::to_string(GetTickCount64() - pressed) + " ms"
                                  : std::string("it still runs"))
                   << ", the compactor taking " << kLongCompaction << " ms; its log read \""
                   << support::utf8(log) << "\"";
        }
        EXPECT_FALSE(harbek_.runningCompactors().empty())
            << "the compactor had already ended: the program did not end at once";
        EXPECT_EQ(entriesOf(dataFolder(L"data")), std::vector<std::string>{"sales.mdb"});
        EXPECT_TRUE(holdsBytes(database_, original_));
    }

    std::wstring database_;
    std::optional<std::string> original_;
};

TEST_F(DuringTheWait, CancelEndsTheProgramAtOnce) {
    ASSERT_NO_FATAL_FAILURE(startRun(kLongCompaction));
    harbek_.pressCancel();
    expectEndedBeforeTheCompactor();
}

TEST_F(DuringTheWait, CloseBoxEndsTheProgramAtOnce) {
    ASSERT_NO_FATAL_FAILURE(startRun(kLongCompaction));
    harbek_.pressCloseBox();
    expectEndedBeforeTheCompactor();
}

TEST_F(CloseBox, WithoutARunEndsTheProgram) {
    installProgram();
    ASSERT_TRUE(startHarbek());
    harbek_.pressCloseBox();
    EXPECT_TRUE(harbek_.waitForExit());
}

TEST_F(DuringTheWait, SecondRunPressIsIgnored) {
    ASSERT_NO_FATAL_FAILURE(startRun(kShortCompaction));
    harbek_.pressRun();
    Sleep(300);  // the wait handles the click well before the compactor ends

    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek_.waitForMessageBox(box));
    std::vector<std::wstring> times;
    EXPECT_TRUE(sameText(withTimesMasked(harbek_.log(), times), successfulRunLog()));
    expectMessageBox(box, L"情報", L"終了しました。", support::BoxIcon::Information, {IDOK});
    EXPECT_EQ(compactorStarts().size(), 1u) << "the second press started the compactor again";
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    ASSERT_TRUE(harbek_.waitForExit());
    EXPECT_EQ(compactorStarts().size(), 1u);

    std::wstring stamp;
    std::optional<std::wstring> backup =
        findStamped(dataFolder(L"data"), L"_BeforeRepair", L"sales.mdb", stamp);
    ASSERT_TRUE(backup);
    EXPECT_EQ(entriesOf(dataFolder(L"data")),
              (std::vector<std::string>{support::utf8(*backup), "sales.mdb"}));
}

// The moves read the path field afresh: the file now named there goes to the before-name formed
// at the start, and the compacted copy of the first file takes its place. The first file itself
// is not moved.
// The run reads the path once: a path typed during the wait does not change which file is
// renamed, so the other database is never swapped for a copy of the first.
TEST_F(DuringTheWait, ChangedPathLeavesTheOtherFileAlone) {
    ASSERT_NO_FATAL_FAILURE(startRun(kShortCompaction));
    std::wstring other = placeDatabase(L"data", L"other.mdb", kJet4Database);
    std::optional<std::string> otherOriginal = support::readBytes(other);
    ASSERT_TRUE(harbek_.typePath(other));

    ASSERT_NO_FATAL_FAILURE(expectSuccessfulEnd(harbek_));

    std::vector<CompactorStart> starts = compactorStarts();
    ASSERT_EQ(starts.size(), 1u);
    ASSERT_EQ(starts[0].arguments.size(), 3u);
    EXPECT_EQ(support::utf8(starts[0].arguments[1]), support::utf8(L"-src:" + database_));

    std::wstring stamp;
    std::optional<std::wstring> backup =
        findStamped(dataFolder(L"data"), L"_BeforeRepair", L"sales.mdb", stamp);
    ASSERT_TRUE(backup) << "no _BeforeRepair<stamp>sales.mdb; the folder holds "
                        << ::testing::PrintToString(entriesOf(dataFolder(L"data")));
    EXPECT_EQ(entriesOf(dataFolder(L"data")),
              (std::vector<std::string>{support::utf8(*backup), "other.mdb", "sales.mdb"}));
    EXPECT_TRUE(holdsBytes(support::joinPath(dataFolder(L"data"), *backup), original_))
        << "the backup does not hold the database the run started with";
    EXPECT_TRUE(holdsBytes(database_, original_)) << "sales.mdb does not hold its compacted copy";
    EXPECT_TRUE(holdsBytes(other, otherOriginal)) << "other.mdb was touched";
}

}  // namespace
}  // namespace e2e
