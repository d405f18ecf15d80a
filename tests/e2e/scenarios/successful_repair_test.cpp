// Runs that end in success: the compacted copy takes the database's name, the original is kept
// under its _BeforeRepair name, and the program closes itself after its last message.
#include "repair_scenario.h"

#include "../driver/assertions.h"
#include "../driver/build_paths.h"
#include "support/files.h"
#include "support/text.h"

namespace e2e {
namespace {

class SuccessfulRepair : public RepairScenario {
protected:
    void repairOnce(const std::wstring& programName, const std::wstring& dataName,
                    const std::wstring& fileName, const std::wstring& testDatabase, std::wstring& database,
                    std::wstring& afterName, CompactorStart& start);
};

struct Outcome {
    std::wstring stamp;
    SYSTEMTIME pressed{}, announced{};
};

// Presses the run button on the path already typed, checks the log and the closing message, and
// answers it; the program must then end.
void runToCompletion(support::HarbekSession& harbek, Outcome& outcome) {
    outcome.pressed = localNow();
    harbek.pressRun();
    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek.waitForMessageBox(box));
    outcome.announced = localNow();

    std::vector<std::wstring> times;
    EXPECT_TRUE(sameText(withTimesMasked(harbek.log(), times), successfulRunLog()));
    for (const std::wstring& time : times)
        EXPECT_TRUE(clockTimeWithin(time, outcome.pressed, outcome.announced));

    expectMessageBox(box, L"情報", L"終了しました。", support::BoxIcon::Information, {IDOK});
    ASSERT_TRUE(harbek.answer(box, IDOK));
    ASSERT_TRUE(harbek.waitForExit());
}

// The data folder holds exactly the database under its own name (with compacted bytes) and the
// original bytes under _BeforeRepair; returns the stamp of that name.
void expectSwappedFiles(const std::wstring& folder, const std::wstring& fileName, const std::string& original,
                        const Outcome& outcome, std::wstring& stamp) {
    std::optional<std::wstring> backup = findStamped(folder, L"_BeforeRepair", fileName, stamp);
    ASSERT_TRUE(backup) << "no _BeforeRepair<stamp>" << support::utf8(fileName) << " in "
                        << support::utf8(folder);
    EXPECT_TRUE(stampWithin(stamp, outcome.pressed, outcome.announced));

    EXPECT_EQ(entriesOf(folder), (std::vector<std::string>{support::utf8(*backup), support::utf8(fileName)}));

    EXPECT_TRUE(holdsBytes(support::joinPath(folder, *backup), original)) << "the backup is not the original";
    EXPECT_TRUE(holdsBytes(support::joinPath(folder, fileName), original))
        << "the database's path does not hold the copy the test compactor made";
}

// Installs the program in programName, places the test database as dataName\fileName and repairs
// it through the window; the files must then be swapped. database and afterName: the paths the
// compactor had to be given, start: what it was given.
void SuccessfulRepair::repairOnce(const std::wstring& programName, const std::wstring& dataName,
                                  const std::wstring& fileName, const std::wstring& testDatabase,
                                  std::wstring& database, std::wstring& afterName, CompactorStart& start) {
    installProgram(true, programName);
    database = placeDatabase(dataName, fileName, testDatabase);
    std::optional<std::string> original = support::readBytes(database);
    ASSERT_TRUE(original);
    ASSERT_TRUE(startHarbek());
    ASSERT_TRUE(harbek_.typePath(database));

    Outcome outcome;
    ASSERT_NO_FATAL_FAILURE(runToCompletion(harbek_, outcome));
    std::wstring stamp;
    ASSERT_NO_FATAL_FAILURE(expectSwappedFiles(dataFolder(dataName), fileName, *original, outcome, stamp));

    std::vector<CompactorStart> starts = compactorStarts();
    ASSERT_EQ(starts.size(), 1u);
    start = starts[0];
    afterName = support::joinPath(dataFolder(dataName), L"_AfterRepair" + stamp + fileName);
}

TEST_F(SuccessfulRepair, RepairSwapsTheCompactedCopyInAndEnds) {
    std::wstring database, afterName;
    CompactorStart start;
    ASSERT_NO_FATAL_FAILURE(
        repairOnce(L"app", L"data", L"sales.mdb", kJet3Database, database, afterName, start));
    EXPECT_EQ(support::utf8(start.commandLine),
              support::utf8(L"\"" + support::joinPath(programFolder(), L"JetComp.exe") + L"\" -src:\"" +
                            database + L"\" -dest:\"" + afterName + L"\""));
}

TEST_F(SuccessfulRepair, PathWithSpacesAndJapaneseReachesTheCompactorIntact) {
    std::wstring database, afterName;
    CompactorStart start;
    ASSERT_NO_FATAL_FAILURE(repairOnce(L"ツール 置き場", L"テスト データ", L"売上 2024.mdb", kJet4Database,
                                       database, afterName, start));
    std::vector<std::string> arguments;
    for (const std::wstring& argument : start.arguments) arguments.push_back(support::utf8(argument));
    EXPECT_EQ(arguments, (std::vector<std::string>{
                             support::utf8(support::joinPath(programFolder(), L"JetComp.exe")),
                             support::utf8(L"-src:" + database), support::utf8(L"-dest:" + afterName)}))
        << "command line: " << support::utf8(start.commandLine);
}

// The run reads every copy before the swap: a faithful copy of each real database, Jet 3 and Jet 4,
// is swapped in without a question, with the seven log lines of any successful run.
TEST_F(SuccessfulRepair, EveryTestDatabaseIsSwappedInWithoutAQuestion) {
    installProgram();
    int placed = 0;
    for (const std::wstring& name : support::folderEntries(testDataFolder())) {
        if (name.size() < 4 || name.substr(name.size() - 4) != L".mdb") continue;
        SCOPED_TRACE(support::utf8(name));
        const std::wstring folderName = L"data" + std::to_wstring(++placed);
        const std::wstring database = placeDatabase(folderName, name, name);
        std::optional<std::string> original = support::readBytes(database);
        ASSERT_TRUE(original);
        support::HarbekSession harbek;
        ASSERT_TRUE(harbek.start(support::joinPath(programFolder(), L"Harbek.exe"), programFolder(),
                                 {{L"HARBEK_TEST_COMPACTOR", L"copy"}}));
        ASSERT_TRUE(harbek.typePath(database));
        Outcome outcome;
        ASSERT_NO_FATAL_FAILURE(runToCompletion(harbek, outcome));
        std::wstring stamp;
        ASSERT_NO_FATAL_FAILURE(expectSwappedFiles(dataFolder(folderName), name, *original, outcome, stamp));
    }
    EXPECT_GE(placed, 12);
}

}  // namespace
}  // namespace e2e
