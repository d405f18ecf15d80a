// What the user can do while the compactor runs (the window stays live during the wait), and the
// close box outside a run.
#include "repair_scenario.h"

#include "../driver/assertions.h"
#include "../driver/files.h"
#include "../driver/text.h"

namespace e2e {
namespace {

// Long enough for the driver to act and for "at once" to be told from "after the compactor".
constexpr DWORD kLongCompaction = 4000;
constexpr DWORD kShortCompaction = 1500;
constexpr DWORD kAtOnceMs = 2000;

std::vector<std::string> entriesOf(const std::wstring& folder)
{
    std::vector<std::string> names;
    for (const std::wstring& name : folderEntries(folder)) names.push_back(utf8(name));
    return names;
}

class CloseBox : public RepairScenario {};

class DuringTheWait : public RepairScenario {
protected:
    // Starts a run on data\sales.mdb with a compactor that takes delayMs, and returns when the
    // compactor has started.
    void startRun(DWORD delayMs)
    {
        installProgram();
        database_ = placeDatabase(L"data", L"sales.mdb");
        original_ = readBytes(database_);
        ASSERT_TRUE(original_);
        ASSERT_TRUE(startHarbek(L"copy", delayMs));
        ASSERT_TRUE(harbek_.typePath(database_));
        pressed_ = localNow();
        harbek_.pressRun();
        ASSERT_TRUE(waitForCompactorStart());
    }

    // The program ended while the compactor still ran, and nothing was renamed.
    void expectEndedBeforeTheCompactor()
    {
        ULONGLONG pressed = GetTickCount64();
        std::wstring log = harbek_.log();
        if (!harbek_.waitForExit(kAtOnceMs)) {
            bool endedLater = harbek_.waitForExit(kWaitMs);
            FAIL() << "Harbek did not end within " << kAtOnceMs << " ms; "
                   << (endedLater ? "it ended after " + std::to_string(GetTickCount64() - pressed) + " ms"
                                  : std::string("it still runs"))
                   << ", the compactor taking " << kLongCompaction << " ms; its log read:"
                   << sameText(log, L"").message();
        }
        EXPECT_FALSE(harbek_.runningCompactors().empty())
            << "the compactor had already ended: the program did not end at once";
        EXPECT_EQ(entriesOf(dataFolder(L"data")), std::vector<std::string>{"sales.mdb"});
        EXPECT_TRUE(holdsBytes(database_, original_));
    }

    std::wstring database_;
    std::optional<std::string> original_;
    SYSTEMTIME pressed_{};
};

TEST_F(DuringTheWait, CancelEndsTheProgramAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(startRun(kLongCompaction));
    harbek_.pressCancel();
    expectEndedBeforeTheCompactor();
}

TEST_F(DuringTheWait, CloseBoxEndsTheProgramAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(startRun(kLongCompaction));
    harbek_.pressCloseBox();
    expectEndedBeforeTheCompactor();
}

TEST_F(CloseBox, WithoutARunEndsTheProgram)
{
    installProgram();
    ASSERT_TRUE(startHarbek());
    harbek_.pressCloseBox();
    EXPECT_TRUE(harbek_.waitForExit());
}

TEST_F(DuringTheWait, SecondRunPressIsIgnored)
{
    ASSERT_NO_FATAL_FAILURE(startRun(kShortCompaction));
    harbek_.pressRun();
    Sleep(300);  // the wait handles the click well before the compactor ends

    MessageBoxSeen box;
    ASSERT_TRUE(harbek_.waitForMessageBox(box));
    std::vector<std::wstring> times;
    EXPECT_TRUE(sameText(withTimesMasked(harbek_.log(), times), successfulRunLog()));
    expectMessageBox(box, L"情報", L"終了しました。", BoxIcon::Information, {IDOK});
    EXPECT_EQ(compactorStarts().size(), 1u) << "the second press started the compactor again";
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    ASSERT_TRUE(harbek_.waitForExit());
    EXPECT_EQ(compactorStarts().size(), 1u);

    std::wstring stamp;
    std::optional<std::wstring> backup = findStamped(dataFolder(L"data"), L"_BeforeRepair", L"sales.mdb", stamp);
    ASSERT_TRUE(backup);
    EXPECT_EQ(entriesOf(dataFolder(L"data")), (std::vector<std::string>{utf8(*backup), "sales.mdb"}));
}

// The moves read the path field afresh: the file now named there goes to the before-name formed
// at the start, and the compacted copy of the first file takes its place. The first file itself
// is not moved.
TEST_F(DuringTheWait, ChangedPathIsWhatTheMovesUse)
{
    ASSERT_NO_FATAL_FAILURE(startRun(kShortCompaction));
    std::wstring other = placeDatabase(L"data", L"other.mdb", kJet4Database);
    std::optional<std::string> otherOriginal = readBytes(other);
    ASSERT_TRUE(harbek_.typePath(other));

    MessageBoxSeen box;
    ASSERT_TRUE(harbek_.waitForMessageBox(box));
    std::vector<std::wstring> times;
    EXPECT_TRUE(sameText(withTimesMasked(harbek_.log(), times), successfulRunLog()));
    expectMessageBox(box, L"情報", L"終了しました。", BoxIcon::Information, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    ASSERT_TRUE(harbek_.waitForExit());

    std::vector<CompactorStart> starts = compactorStarts();
    ASSERT_EQ(starts.size(), 1u);
    ASSERT_EQ(starts[0].arguments.size(), 3u);
    EXPECT_EQ(utf8(starts[0].arguments[1]), utf8(L"-src:" + database_));

    std::wstring stamp;
    std::optional<std::wstring> backup = findStamped(dataFolder(L"data"), L"_BeforeRepair", L"sales.mdb", stamp);
    ASSERT_TRUE(backup) << "no _BeforeRepair<stamp>sales.mdb; the folder holds "
                        << ::testing::PrintToString(entriesOf(dataFolder(L"data")));
    EXPECT_EQ(entriesOf(dataFolder(L"data")),
              (std::vector<std::string>{utf8(*backup), "other.mdb", "sales.mdb"}));
    EXPECT_TRUE(holdsBytes(database_, original_)) << "sales.mdb was touched";
    EXPECT_TRUE(holdsBytes(joinPath(dataFolder(L"data"), *backup), otherOriginal))
        << "the before-name does not hold the file that was at the changed path";
    EXPECT_TRUE(holdsBytes(other, original_)) << "the changed path does not hold the compacted copy";
}

}  // namespace
}  // namespace e2e
