// Runs stopped by a missing file: a critical message, the log up to the failed check, no file
// touched, and the window left open for another try.
#include "repair_scenario.h"

#include "../driver/assertions.h"
#include "../driver/build_paths.h"
#include "support/files.h"
#include "support/text.h"

namespace e2e {
namespace {

class MissingFile : public RepairScenario {
protected:
    // Presses run on the path typed; the run must stop with the log so far and this critical
    // message, and after it the window stays until ｷｬﾝｾﾙ ends the program.
    void expectStopped(const std::wstring& logUpToTheStop, const std::wstring& message) {
        harbek_.pressRun();
        support::MessageBoxSeen box;
        ASSERT_TRUE(harbek_.waitForMessageBox(box));
        std::wstring log = harbek_.log();
        std::vector<std::wstring> times;
        EXPECT_TRUE(sameText(withTimesMasked(log, times), logUpToTheStop));
        expectMessageBox(box, L"中止", message, support::BoxIcon::Critical, {IDOK});
        ASSERT_TRUE(harbek_.answer(box, IDOK));
        expectWindowStaysThenCancel(harbek_, log);
    }
};

TEST_F(MissingFile, MissingDatabaseStopsWithItsPath) {
    installProgram();
    std::wstring other = placeDatabase(L"data", L"other.mdb");
    std::wstring missing = support::joinPath(dataFolder(L"data"), L"missing.mdb");
    ASSERT_TRUE(startHarbek());
    ASSERT_TRUE(harbek_.typePath(missing));
    ASSERT_NO_FATAL_FAILURE(expectStopped(L"開始:hh:nn:ss\r\n", missing + L"は存在しません。"));

    EXPECT_EQ(entriesOf(dataFolder(L"data")), std::vector<std::string>{"other.mdb"});
    EXPECT_TRUE(holdsBytes(other, support::readBytes(support::joinPath(testDataFolder(), kJet3Database))));
    EXPECT_EQ(commandLinesOf(compactorStarts()), std::vector<std::string>{});
}

TEST_F(MissingFile, EmptyPathStopsWithTheBareMessage) {
    installProgram();
    ASSERT_TRUE(startHarbek());
    ASSERT_NO_FATAL_FAILURE(expectStopped(L"開始:hh:nn:ss\r\n", L"は存在しません。"));
    EXPECT_EQ(commandLinesOf(compactorStarts()), std::vector<std::string>{});
}

TEST_F(MissingFile, MissingCompactorStopsAfterTheDatabaseCheck) {
    installProgram(false);
    std::wstring database = placeDatabase(L"data", L"sales.mdb");
    ASSERT_TRUE(startHarbek());
    ASSERT_TRUE(harbek_.typePath(database));
    ASSERT_NO_FATAL_FAILURE(
        expectStopped(L"開始:hh:nn:ss\r\nMDBファイルの存在:OK\r\n", L"JetComp.exeが存在しません。"));

    EXPECT_EQ(entriesOf(dataFolder(L"data")), std::vector<std::string>{"sales.mdb"});
    EXPECT_TRUE(holdsBytes(database, support::readBytes(support::joinPath(testDataFolder(), kJet3Database))));
}

}  // namespace
}  // namespace e2e
