// Texts typed into the path field that name no file the compactor could be given: each ends the
// run at its first check with "<path>は存在しません。", only the start line logged, the compactor
// never started, no file touched, and the window ready for the next try. One Harbek takes them
// all in turn, as a user trying one text after another would.
#include "failure_scenario.h"

#include "../driver/assertions.h"
#include "support/files.h"
#include "support/text.h"

namespace e2e {
namespace {

class RefusedPath : public FailureScenario {};

struct Row {
    const char* what;
    std::wstring typed;
};

TEST_F(RefusedPath, EachIsReportedMissingWithoutLaunchingAndTouchesNothing) {
    ASSERT_NO_FATAL_FAILURE(installWithDatabase());
    const std::wstring data = dataFolder(L"data");
    ASSERT_TRUE(support::makeFolders(support::joinPath(data, L"folder.mdb")));
    placeDatabase(L"data\\sub", L"x.mdb");
    const std::wstring other = placeDatabase(L"data", L"other.mdb", kJet4Database);
    // Relative texts resolve against the data folder: the files they nearly name are there.
    ASSERT_TRUE(startHarbekIn(data));

    const std::vector<Row> rows = {
        {"empty", L""},
        {"spaces only", L"   "},
        {"the full-width separator alone", L"＼"},
        {"the full-width separator in place of the last \\", data + L"＼sales.mdb"},
        {"full-width and ordinary separators mixed, no such file", data + L"＼sub\\x.mdb"},
        {"a folder", data},
        {"a folder named like a database", support::joinPath(data, L"folder.mdb")},
        {"a trailing separator after the database", database_ + L"\\"},
        {"a trailing full-width separator after the database", database_ + L"＼"},
        {"the database's path in quotes", L"\"" + database_ + L"\""},
        {"a quote that would end -src: and add a -dest: of the user's file",
         database_ + L"\" -dest:\"" + other},
        {"a wildcard alone", L"*.mdb"},
        {"a wildcard in a full path", support::joinPath(data, L"*.mdb")},
        {"a question-mark wildcard", L"sales.m?b"},
        {"a relative path the current folder does not hold", L"nosuch\\x.mdb"},
        {"a UNC path to a server", L"\\\\localhost\\share\\sales.mdb"},
        {"a UNC path to the database through the drive's admin share",
         L"\\\\localhost\\Z$" + database_.substr(2)},
    };

    std::wstring logSoFar = harbek_.log();
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE("row " + std::to_string(i) + ": " + row.what + " \"" + support::utf8(row.typed) + "\"");
        ASSERT_TRUE(harbek_.typePath(row.typed));
        snapshotBefore();
        support::MessageBoxSeen box;
        ASSERT_TRUE(runUntilMessageBox(box));
        std::vector<std::wstring> times;
        std::wstring log = harbek_.log();
        EXPECT_TRUE(log.rfind(logSoFar, 0) == 0 &&
                    sameText(withTimesMasked(log.substr(logSoFar.size()), times), logOfStartOnly()))
            << "the log of this try:"
            << sameText(log.substr(std::min(log.size(), logSoFar.size())), L"").message();
        logSoFar = log;
        expectMessageBox(box, L"中止", missingMessage(row.typed), support::BoxIcon::Critical, {IDOK});
        ASSERT_TRUE(harbek_.answer(box, IDOK));
        EXPECT_EQ(commandLinesOf(compactorStarts()), std::vector<std::string>{})
            << "the compactor was started";
        expectNothingLost(L"", OriginalAt::Source, ProgramAfter::StaysOpen);
    }
}

}  // namespace
}  // namespace e2e
