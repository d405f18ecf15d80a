// What may happen while a large copy is under way: the stand-in is killed, or a file appears
// under the destination's name. Neither may leave a partial file or overwrite anything.
#include <gtest/gtest.h>

#include "standin_harness.h"

using namespace standin;
using support::folderEntries;

namespace {

// A large database, sparse on disk, so that a copy of it takes long enough to be caught.
void makeBigDatabase(const std::wstring& path) {
    writeFile(path, databaseHeader("Standard Jet DB"));
    const win32::OwnedHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER size;
    size.QuadPart = 512LL << 20;
    ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
}

// Each test starts with big.mdb being copied to out.mdb, caught after the partial copy was set up
// and before it is renamed; it is skipped when the copy ended first.
class StandinMidCopy : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(makeBigDatabase(dir / L"big.mdb"));
        copy = startJetComp(copyArguments(dir / L"big.mdb", dir / L"out.mdb"));
        ASSERT_TRUE(copy.started());
        if (!caughtCopying()) GTEST_SKIP() << "the copy ended before it could be caught midway";
    }

    // Waits until a file other than the source and the destination holds data.
    bool caughtCopying() const {
        while (copy.running()) {
            for (const std::wstring& name : folderEntries(dir.path())) {
                WIN32_FILE_ATTRIBUTE_DATA data;
                if (name != L"big.mdb" && name != L"out.mdb" &&
                    GetFileAttributesExW((dir / name).c_str(), GetFileExInfoStandard, &data) &&
                    data.nFileSizeLow != 0)
                    return true;
            }
        }
        return false;
    }

    ScratchFolder dir;
    support::Process copy;
};

TEST_F(StandinMidCopy, KilledMidCopyLeavesNoPartialFile) {
    copy.kill();

    // The system closes a killed process's files just after it ends.
    for (int i = 0; i < 200 && folderEntries(dir.path()).size() > 1; ++i) Sleep(10);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::wstring>{L"big.mdb"});
}

TEST_F(StandinMidCopy, KeepsADestinationThatAppearedMeanwhile) {
    writeFile(dir / L"out.mdb", "made while the copy ran");
    ASSERT_TRUE(copy.waitForExit(60000));

    EXPECT_EQ(copy.exitCode(), 4u) << copy.err();
    EXPECT_EQ(readFile(dir / L"out.mdb"), "made while the copy ran");
    EXPECT_EQ(folderEntries(dir.path()), sorted({L"big.mdb", L"out.mdb"}));
}

}  // namespace
