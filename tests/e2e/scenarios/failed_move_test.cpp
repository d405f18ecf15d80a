// Runs where the moves cannot or must not use what the field shows after the wait: no copy was
// written, or the field was emptied meanwhile.
#include "repair_scenario.h"

#include "../driver/assertions.h"
#include "support/files.h"
#include "support/text.h"

namespace e2e {
namespace {

class FailedMove : public RepairScenario {};

// The -dest: path the compactor was given, or empty.
std::wstring afterNameGiven(const std::vector<CompactorStart>& starts) {
    if (starts.size() != 1 || starts[0].arguments.size() != 3) return {};
    const std::wstring& destination = starts[0].arguments[2];
    return destination.rfind(L"-dest:", 0) == 0 ? destination.substr(6) : std::wstring();
}

// No copy under the after-name: nothing is renamed, so the database keeps its path.
TEST_F(FailedMove, CompactorThatWritesNothingGetsNothingSwapped) {
    installProgram();
    std::wstring database = placeDatabase(L"data", L"sales.mdb");
    std::optional<std::string> original = support::readBytes(database);
    ASSERT_TRUE(startHarbek(L"nothing"));
    ASSERT_TRUE(harbek_.typePath(database));
    harbek_.pressRun();

    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek_.waitForMessageBox(box));
    std::wstring log = harbek_.log();
    std::wstring afterName = afterNameGiven(compactorStarts());
    ASSERT_FALSE(afterName.empty()) << "the compactor was not started once with -src: and -dest:";

    std::vector<std::wstring> times;
    EXPECT_TRUE(
        sameText(withTimesMasked(log, times),
                 L"開始:hh:nn:ss\r\nMDBファイルの存在:OK\r\nJetcomp.exeの存在:OK\r\n最適化実行中\r\n"));
    expectMessageBox(box, L"中止", afterName + L"は存在しません。", support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    ASSERT_NO_FATAL_FAILURE(answerTheSalvage(harbek_, database, IDNO));
    expectWindowStaysThenCancel(harbek_, log);

    EXPECT_EQ(entriesOf(dataFolder(L"data")), std::vector<std::string>{"sales.mdb"});
    EXPECT_TRUE(holdsBytes(database, original)) << "the source changed";
}

// The path read at the start is the one renamed: emptying the field during the wait changes
// nothing, and the repair completes.
TEST_F(FailedMove, PathEmptiedDuringTheWaitStillRepairsTheFirstFile) {
    installProgram();
    std::wstring database = placeDatabase(L"data", L"sales.mdb");
    std::optional<std::string> original = support::readBytes(database);
    ASSERT_TRUE(startHarbek(L"copy", 1500));
    ASSERT_TRUE(harbek_.typePath(database));
    harbek_.pressRun();
    ASSERT_TRUE(waitForCompactorStart());
    ASSERT_TRUE(harbek_.typePath(L""));

    ASSERT_NO_FATAL_FAILURE(expectSuccessfulEnd(harbek_));

    std::wstring stamp;
    std::optional<std::wstring> backup =
        findStamped(dataFolder(L"data"), L"_BeforeRepair", L"sales.mdb", stamp);
    ASSERT_TRUE(backup) << "the source was not moved to its _BeforeRepair name";
    EXPECT_EQ(entriesOf(dataFolder(L"data")),
              (std::vector<std::string>{support::utf8(*backup), "sales.mdb"}));
    EXPECT_TRUE(holdsBytes(support::joinPath(dataFolder(L"data"), *backup), original));
    EXPECT_TRUE(holdsBytes(database, original)) << "sales.mdb does not hold the compacted copy";
}

}  // namespace
}  // namespace e2e
