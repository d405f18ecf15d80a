// Runs stopped by a missing file: a critical message, the log up to the failed check, no file
// touched, and the window left open for another try.
#include "repair_scenario.h"

#include "../driver/assertions.h"
#include "../driver/build_paths.h"
#include "support/files.h"
#include "support/text.h"

namespace e2e {
namespace {

class MissingFile : public RepairScenario {};

// After the message is answered the run is over: the window stays, the log grows no further, and
// the cancel button then ends the program.
void expectWindowStaysThenCancel(support::HarbekSession& harbek, const std::wstring& logAtMessage)
{
    Sleep(300);
    EXPECT_TRUE(harbek.windowOpen()) << "the window closed after the message";
    EXPECT_TRUE(sameText(harbek.log(), logAtMessage)) << "the log changed after the message";
    harbek.pressCancel();
    EXPECT_TRUE(harbek.waitForExit());
}

std::vector<std::string> entriesOf(const std::wstring& folder)
{
    std::vector<std::string> names;
    for (const std::wstring& name : support::folderEntries(folder)) names.push_back(support::utf8(name));
    return names;
}

TEST_F(MissingFile, MissingDatabaseStopsWithItsPath)
{
    installProgram();
    std::wstring other = placeDatabase(L"data", L"other.mdb");
    std::wstring missing = support::joinPath(dataFolder(L"data"), L"missing.mdb");
    ASSERT_TRUE(startHarbek());
    ASSERT_TRUE(harbek_.typePath(missing));
    harbek_.pressRun();

    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek_.waitForMessageBox(box));
    std::wstring log = harbek_.log();
    std::vector<std::wstring> times;
    EXPECT_TRUE(sameText(withTimesMasked(log, times), L"開始:hh:nn:ss\r\n"));
    expectMessageBox(box, L"中止", missing + L"は存在しません。", support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    expectWindowStaysThenCancel(harbek_, log);

    EXPECT_EQ(entriesOf(dataFolder(L"data")), std::vector<std::string>{"other.mdb"});
    EXPECT_TRUE(holdsBytes(other, support::readBytes(support::joinPath(testDataFolder(), kJet3Database))));
    EXPECT_TRUE(compactorStarts().empty());
}

TEST_F(MissingFile, EmptyPathStopsWithTheBareMessage)
{
    installProgram();
    ASSERT_TRUE(startHarbek());
    harbek_.pressRun();

    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek_.waitForMessageBox(box));
    std::wstring log = harbek_.log();
    std::vector<std::wstring> times;
    EXPECT_TRUE(sameText(withTimesMasked(log, times), L"開始:hh:nn:ss\r\n"));
    expectMessageBox(box, L"中止", L"は存在しません。", support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    expectWindowStaysThenCancel(harbek_, log);
    EXPECT_TRUE(compactorStarts().empty());
}

TEST_F(MissingFile, MissingCompactorStopsAfterTheDatabaseCheck)
{
    installProgram(false);
    std::wstring database = placeDatabase(L"data", L"sales.mdb");
    ASSERT_TRUE(startHarbek());
    ASSERT_TRUE(harbek_.typePath(database));
    harbek_.pressRun();

    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek_.waitForMessageBox(box));
    std::wstring log = harbek_.log();
    std::vector<std::wstring> times;
    EXPECT_TRUE(sameText(withTimesMasked(log, times), L"開始:hh:nn:ss\r\nMDBファイルの存在:OK\r\n"));
    expectMessageBox(box, L"中止", L"JetComp.exeが存在しません。", support::BoxIcon::Critical, {IDOK});
    ASSERT_TRUE(harbek_.answer(box, IDOK));
    expectWindowStaysThenCancel(harbek_, log);

    EXPECT_EQ(entriesOf(dataFolder(L"data")), std::vector<std::string>{"sales.mdb"});
    EXPECT_TRUE(holdsBytes(database, support::readBytes(support::joinPath(testDataFolder(), kJet3Database))));
}

}  // namespace
}  // namespace e2e
