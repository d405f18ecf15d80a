// Copies that must succeed: the real Jet 3 and Jet 4 files, made-up ACE files around the
// copy's 1 MiB block, paths with spaces and Japanese, the arguments in either order and case.
#include <gtest/gtest.h>

#include "standin_harness.h"

using namespace standin;
using support::folderEntries;

namespace {

// How Harbek names the compacted copy: tag and stamp in front of the file name.
std::wstring afterName(const std::wstring& file) { return L"_AfterRepair20240229235959" + file; }

struct RealCopy {
    const wchar_t* database;  // in the test data folder
    const wchar_t* folder;
    const wchar_t* file;
    bool destFirstInCapitals;  // -DEST:"..." -SRC:"..."
};

const RealCopy kRealCopies[] = {
    {L"jet3-testV1997.mdb", L"plain", L"db.mdb", false},
    {L"jet4-compIndexTestV2000.mdb", L"with  two spaces", L"sales 2024.mdb", false},
    {L"jet3-testV1997.mdb", L"データ 修復", L"販売 管理.mdb", false},
    {L"jet4-compIndexTestV2000.mdb", L"データ 修復", L"顧客.mdb", true},
};

TEST(StandinCopy, CopiesRealJetDatabasesByteForByte) {
    for (size_t i = 0; i < std::size(kRealCopies); ++i) {
        const RealCopy& row = kRealCopies[i];
        SCOPED_TRACE(testing::Message() << "row " << i << ": " << row.folder << L"\\" << row.file);
        ScratchFolder dir(row.folder);
        const std::string original = readFile(testdataFile(row.database));
        ASSERT_GT(original.size(), 100000u);
        const std::wstring source = dir / row.file;
        const std::wstring destination = dir / afterName(row.file);
        writeFile(source, original);

        const support::Finished run =
            runJetComp(row.destFirstInCapitals ? L"-DEST:\"" + destination + L"\" -SRC:\"" + source + L"\""
                                               : copyArguments(source, destination));

        EXPECT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(readFile(destination) == original) << "the copy differs from the original";
        EXPECT_TRUE(readFile(source) == original) << "the source was changed";
        EXPECT_EQ(folderEntries(dir.path()), sorted({row.file, afterName(row.file)}));
    }
}

TEST(StandinCopy, CopiesAceFilesOfEverySizeAroundTheBlock) {
    const size_t block = 1 << 20;
    const size_t sizes[] = {20, block - 1, block, block + 1, 2 * block + 12345};
    for (const size_t size : sizes) {
        SCOPED_TRACE(testing::Message() << "size " << size);
        ScratchFolder dir;
        std::string bytes = databaseHeader("Standard ACE DB");
        for (size_t i = bytes.size(); i < size; ++i) bytes += char((i * 31 + i / 4096) % 251);
        writeFile(dir / L"a.accdb", bytes);

        const support::Finished run = runJetComp(copyArguments(dir / L"a.accdb", dir / L"b.accdb"));

        EXPECT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_TRUE(readFile(dir / L"b.accdb") == bytes) << "the copy differs from the original";
        EXPECT_EQ(folderEntries(dir.path()), sorted({L"a.accdb", L"b.accdb"}));
    }
}

// A reader that does not share writing blocks anyone who wants to write: the copy only reads.
TEST(StandinCopy, OpensTheSourceForReadingOnly) {
    ScratchFolder dir;
    const std::string original = readFile(testdataFile(L"jet3-testV1997.mdb"));
    writeFile(dir / L"in.mdb", original);
    const win32::OwnedHandle reader(CreateFileW((dir / L"in.mdb").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);

    const support::Finished run = runJetComp(copyArguments(dir / L"in.mdb", dir / L"out.mdb"));

    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_TRUE(readFile(dir / L"out.mdb") == original);
}

}  // namespace
