// A database in a shared folder on the real file system: whether another program holds it open,
// the free space beside it, and what the repaired file takes over from the original.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/win32/files.h"
#include "platform/win32/owned.h"
#include "support/files.h"
#include "support/process.h"
#include "support/text.h"
#include "tests/win32/harness.h"

using namespace win32test;
using support::TempFolder;
using support::writeBytes;

namespace {

win32::FileSystem files;

// Another program with the file open for reading and writing, with the sharing a row says.
class Holder {
public:
    Holder(const std::wstring& path, DWORD sharing) {
        const std::wstring name = L"harbek-held-" + std::to_wstring(GetCurrentProcessId());
        const win32::OwnedHandle held(CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
        support::Launch hold;
        hold.exe = childExe();
        hold.arguments = L"hold " + std::to_wstring(sharing) + L" \"" + path + L"\" " + name;
        if (child_.start(hold)) {
            HANDLE either[] = {held.get(), child_.handle()};
            holding = WaitForMultipleObjects(2, either, FALSE, 10000) == WAIT_OBJECT_0;
        }
    }
    ~Holder() { child_.kill(); }
    bool holding = false;

private:
    support::Process child_;
};

TEST(SharedFiles, HeldOpenOnlyWhileAnotherProgramHasIt) {
    constexpr DWORD kNobody = 0xFFFFFFFF;
    const struct {
        const char* what;
        bool exists;
        DWORD sharing;  // of the other program's handle
        bool held;
    } rows[] = {
        {"no such file", false, kNobody, false},
        {"open sharing reading and writing, as the engine", true, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {"open sharing nothing", true, 0, true},
        {"a lock file left behind, nobody has it", true, kNobody, false},
    };
    TempFolder folder;
    const std::wstring path = folder.file(L"sales.ldb");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        DeleteFileW(path.c_str());
        if (row.exists) writeBytes(path, "lock");
        std::optional<Holder> holder;
        if (row.sharing != kNobody) {
            ASSERT_TRUE(holder.emplace(path, row.sharing).holding);
        }
        EXPECT_EQ(files.fileHeldOpen(text(path)), row.held);
    }
    // The probe keeps nothing open: the file can be taken alone at once.
    EXPECT_TRUE(
        win32::OwnedHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
}

TEST(SharedFiles, FreeSpaceIsThatOfTheFilesFolder) {
    TempFolder folder;
    ULARGE_INTEGER expected{};
    ASSERT_TRUE(GetDiskFreeSpaceExW((folder.path() + L"\\").c_str(), &expected, nullptr, nullptr));
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
    // A bare name is in the current folder. Others write to the same disk meanwhile.
    for (const std::wstring& path : {folder.file(L"sales.mdb"), std::wstring(L"sales.mdb")}) {
        const std::uint64_t free = files.freeSpaceBeside(text(path)), there = expected.QuadPart;
        const std::uint64_t apart = free > there ? free - there : there - free;
        EXPECT_LT(apart, 256u << 20) << support::utf8(path);
    }
    SetCurrentDirectoryW(current);
    EXPECT_THROW(files.freeSpaceBeside(text(folder.file(L"none\\sales.mdb"))), platform::RuntimeError);
}

// An owner this account may not give leaves the owner as the system set it, and still carries the
// group; every other refusal stands. (Wine lets any account give any owner, so the system's
// refusal is played here.)
TEST(SharedFiles, AnOwnerThisAccountMayNotGiveIsLeftAndTheGroupCarried) {
    constexpr SECURITY_INFORMATION kBoth = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION;
    const struct {
        std::vector<DWORD> answers;  // the system's, call by call
        DWORD result;
        std::vector<SECURITY_INFORMATION> asked;
    } rows[] = {
        {{ERROR_SUCCESS}, ERROR_SUCCESS, {kBoth}},
        {{ERROR_INVALID_OWNER, ERROR_SUCCESS}, ERROR_SUCCESS, {kBoth, GROUP_SECURITY_INFORMATION}},
        {{ERROR_INVALID_OWNER, ERROR_ACCESS_DENIED},
         ERROR_ACCESS_DENIED,
         {kBoth, GROUP_SECURITY_INFORMATION}},
        {{ERROR_ACCESS_DENIED}, ERROR_ACCESS_DENIED, {kBoth}},
    };
    for (const auto& row : rows) {
        std::vector<SECURITY_INFORMATION> asked;
        const DWORD result = win32::setOwnerAndGroup([&](SECURITY_INFORMATION which) {
            asked.push_back(which);
            return row.answers.at(asked.size() - 1);
        });
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(asked, row.asked);
    }
}

// In the run's order. Wine keeps no access lists of its own, so of the list, owner and group only
// that the calls succeed is checked here. Nor does it keep a creation time or the
// not-content-indexed attribute, and it shows every file as archive: the original's attributes
// are taken as the system reports them, and a creation time it does not keep is not checked.
TEST(SharedFiles, AttributesAndCreationTimeAreCarried) {
    constexpr DWORD kCarried = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const struct {
        DWORD original;
        DWORD repaired;  // as the compactor left it
    } rows[] = {
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_ARCHIVE},
        {FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, FILE_ATTRIBUTE_READONLY},
        {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_HIDDEN},
    };
    const ULONGLONG created = 0x01C08D967DB50500ull;  // 2001-02-03 04:05:06
    const auto times = [](const std::wstring& path) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
        const auto value = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
        return std::pair{value(data.ftCreationTime), value(data.ftLastWriteTime)};
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.original);
        TempFolder folder;
        const std::wstring from = folder.file(L"_BeforeRepair20261207090503sales.mdb");
        const std::wstring to = folder.file(L"sales.mdb");
        writeBytes(from, "original");
        writeBytes(to, "repaired");
        {
            const win32::OwnedHandle h(
                CreateFileW(from.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            const FILETIME time{static_cast<DWORD>(created), static_cast<DWORD>(created >> 32)};
            ASSERT_TRUE(SetFileTime(h.get(), &time, nullptr, nullptr));
        }
        ASSERT_TRUE(SetFileAttributesW(from.c_str(), row.original));
        ASSERT_TRUE(SetFileAttributesW(to.c_str(), row.repaired));
        const DWORD carried = GetFileAttributesW(from.c_str()) & kCarried;
        const ULONGLONG writtenBefore = times(to).second;

        EXPECT_NO_THROW(files.copyAccessList(text(from), text(to)));
        EXPECT_NO_THROW(files.copyCreationTime(text(from), text(to)));
        EXPECT_NO_THROW(files.copyAttributes(text(from), text(to)));
        EXPECT_NO_THROW(files.copyOwner(text(from), text(to)));

        EXPECT_EQ(GetFileAttributesW(to.c_str()) & kCarried, carried);
        EXPECT_EQ(carried & row.original & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
                  row.original & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));  // kept even by Wine
        if (times(from).first == created) {
            EXPECT_EQ(times(to).first, created);
        }
        EXPECT_EQ(times(to).second, writtenBefore);  // the repaired file was written when it was
        SetFileAttributesW(from.c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

}  // namespace
