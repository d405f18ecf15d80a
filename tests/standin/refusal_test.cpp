// Runs that must fail: sources that are not databases, destinations already taken, command
// lines that are wrong. Each gives its reason on one line of stderr, exits with its own
// non-zero code and leaves the folder as it was: no destination, no temporary file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "standin_harness.h"

using namespace standin;
using support::folderEntries;
using ::testing::HasSubstr;

namespace {

::testing::AssertionResult isOneLine(const std::string& text) {
    const size_t end = text.find("\r\n");
    if (text.size() > 2 && end == text.size() - 2 && text.find('\n') == end + 1)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "not one line: \"" << text << "\"";
}

struct BadSource {
    const char* what;
    std::string bytes;
};

TEST(StandinRefusal, RefusesSourcesThatAreNotDatabases) {
    std::string noNul = databaseHeader("Standard Jet DB") + std::string(100, '\0');
    noNul[19] = 'X';
    std::string text;
    for (int i = 0; i < 100; ++i) text += "Standard text, not a database at all.\r\n";
    const BadSource rows[] = {
        {"a text file", text},
        {"an empty file", ""},
        {"the signature cut off before its NUL", databaseHeader("Standard Jet DB").substr(0, 19)},
        {"the signature without its NUL", noNul},
    };
    for (const BadSource& row : rows) {
        SCOPED_TRACE(row.what);
        ScratchFolder dir;
        writeFile(dir / L"in.mdb", row.bytes);

        const support::Finished run = runJetComp(copyArguments(dir / L"in.mdb", dir / L"out.mdb"));

        EXPECT_EQ(run.exitCode, 3u);
        EXPECT_TRUE(isOneLine(run.err));
        EXPECT_EQ(folderEntries(dir.path()), std::vector<std::wstring>{L"in.mdb"});
        EXPECT_TRUE(readFile(dir / L"in.mdb") == row.bytes) << "the source was changed";
    }
}

// Failures of the system's own calls name the error number.
TEST(StandinRefusal, ReportsWhatItCannotOpenWithTheSystemsError) {
    struct Row {
        const char* what;
        void (*prepare)(const ScratchFolder&);
        const wchar_t* destination;
        const char* error;
    };
    const Row rows[] = {
        {"a missing source", [](const ScratchFolder&) {}, L"out.mdb", "(error 2"},
        {"a folder as source",
         [](const ScratchFolder& dir) { CreateDirectoryW((dir / L"in.mdb").c_str(), nullptr); }, L"out.mdb",
         "(error 5"},
        {"a missing destination folder",
         [](const ScratchFolder& dir) {
             writeFile(dir / L"in.mdb", readFile(testdataFile(L"jet3-testV1997.mdb")));
         },
         L"missing\\out.mdb", "(error 3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ScratchFolder dir;
        row.prepare(dir);
        const auto before = folderEntries(dir.path());

        const support::Finished run = runJetComp(copyArguments(dir / L"in.mdb", dir / row.destination));

        EXPECT_EQ(run.exitCode, 1u);
        EXPECT_TRUE(isOneLine(run.err));
        EXPECT_THAT(run.err, HasSubstr(row.error));
        EXPECT_EQ(folderEntries(dir.path()), before);
    }
}

// No one may be using the database while it is copied.
TEST(StandinRefusal, RefusesASourceOpenForWriting) {
    ScratchFolder dir;
    const std::string original = readFile(testdataFile(L"jet4-compIndexTestV2000.mdb"));
    writeFile(dir / L"in.mdb", original);
    const win32::OwnedHandle writer(CreateFileW((dir / L"in.mdb").c_str(), GENERIC_WRITE,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                nullptr));
    ASSERT_TRUE(writer);

    const support::Finished run = runJetComp(copyArguments(dir / L"in.mdb", dir / L"out.mdb"));

    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_THAT(run.err, HasSubstr("(error 32"));
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::wstring>{L"in.mdb"});
}

TEST(StandinRefusal, LeavesAnExistingDestinationUntouched) {
    const std::string original = readFile(testdataFile(L"jet3-testV1997.mdb"));
    const char* const contents[] = {"the user's own file\r\n", ""};
    for (const char* content : contents) {
        SCOPED_TRACE(testing::Message() << "destination holding \"" << content << "\"");
        ScratchFolder dir;
        writeFile(dir / L"in.mdb", original);
        writeFile(dir / L"out.mdb", content);

        const support::Finished run = runJetComp(copyArguments(dir / L"in.mdb", dir / L"out.mdb"));

        EXPECT_EQ(run.exitCode, 4u);
        EXPECT_TRUE(isOneLine(run.err));
        EXPECT_EQ(readFile(dir / L"out.mdb"), content);
        EXPECT_EQ(folderEntries(dir.path()), sorted({L"in.mdb", L"out.mdb"}));
    }
}

TEST(StandinRefusal, RefusesWrongCommandLines) {
    const wchar_t* const rows[] = {
        L"",
        L"-src:\"S\"",
        L"-dest:\"D\"",
        L"-src:\"S\" -src:\"S\" -dest:\"D\"",
        L"-src:\"S\" -dest:\"D\" -DEST:\"D\"",
        L"-src:\"S\" -dest:\"D\" -y",
        L"-src: -dest:\"D\"",
        L"src:\"S\" -dest:\"D\"",
    };
    for (const wchar_t* row : rows) {
        SCOPED_TRACE(testing::Message() << "arguments: " << row);
        ScratchFolder dir;
        writeFile(dir / L"in.mdb", readFile(testdataFile(L"jet3-testV1997.mdb")));
        std::wstring arguments = row;  // "S" and "D" stand for the quoted source and destination
        for (size_t at; (at = arguments.find(L"\"S\"")) != std::wstring::npos;)
            arguments.replace(at, 3, L"\"" + dir / L"in.mdb" + L"\"");
        for (size_t at; (at = arguments.find(L"\"D\"")) != std::wstring::npos;)
            arguments.replace(at, 3, L"\"" + dir / L"out.mdb" + L"\"");

        const support::Finished run = runJetComp(arguments);

        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_TRUE(isOneLine(run.err));
        EXPECT_EQ(folderEntries(dir.path()), std::vector<std::wstring>{L"in.mdb"});
    }
}

TEST(StandinHelp, SaysItOnlyCopies) {
    const wchar_t* const rows[] = {L"-?", L"/?", L"--help", L"-src:x.mdb --help"};
    for (const wchar_t* row : rows) {
        SCOPED_TRACE(testing::Message() << "arguments: " << row);
        const support::Finished run = runJetComp(row);
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_THAT(run.out, HasSubstr("only COPIES the database"));
        EXPECT_THAT(run.out, HasSubstr("does NOT reclaim space"));
        EXPECT_THAT(run.out, HasSubstr("Microsoft's JetComp.exe beside Harbek.exe"));
        EXPECT_EQ(run.err, "");
    }
}

}  // namespace
