// A database in a shared folder on the real file system: whether another program holds it open,
// the free space beside it, and what the repaired file takes over from the original.
#include <gtest/gtest.h>

#include <optional>

#include "platform/win32/file_checks.h"
#include "platform/win32/file_security.h"
#include "tests/win32/win32_test_support.h"

using namespace win32test;

namespace {

// Another program with the file open for reading and writing, sharing as a row says.
class Holder {
public:
    Holder(const std::wstring& path, DWORD sharing) {
        const std::wstring event =
            L"harbek-held-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
        held_ = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
        std::wstring line = L"\"" + programFolder() + L"\\win32_test_child.exe\" hold " +
                            std::to_wstring(sharing) + L" \"" + path + L"\" " + event;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info))
            return;
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        HANDLE either[] = {held_, process_};
        holding_ = WaitForMultipleObjects(2, either, FALSE, 10000) == WAIT_OBJECT_0;
    }
    ~Holder() {
        if (process_) {
            TerminateProcess(process_, 0);
            WaitForSingleObject(process_, 5000);
            CloseHandle(process_);
        }
        CloseHandle(held_);
    }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    bool holding() const { return holding_; }

private:
    HANDLE held_ = nullptr;
    HANDLE process_ = nullptr;
    bool holding_ = false;
};

bool openableAlone(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

TEST(SharedFiles, HeldOpenOnlyWhileAnotherProgramHasIt) {
    constexpr DWORD kNobody = 0xFFFFFFFF;
    constexpr DWORD kReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
    struct Row {
        const char* what;
        bool exists;
        DWORD sharing;   // of the other program's handle
        bool held;
    };
    const Row rows[] = {
        {"open sharing reading and writing, as the engine does", true, kReadWrite, true},
        {"open sharing everything", true, kReadWrite | FILE_SHARE_DELETE, true},
        {"open sharing nothing", true, 0, true},
        {"a lock file left behind, nobody has it", true, kNobody, false},
        {"no such file", false, kNobody, false},
    };
    TempFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::wstring path = folder.file(L"sales.ldb");
        DeleteFileW(path.c_str());
        if (row.exists) writeFile(path, "lock");
        std::optional<Holder> holder;
        if (row.sharing != kNobody) {
            holder.emplace(path, row.sharing);
            ASSERT_TRUE(holder->holding());
        }
        EXPECT_EQ(win32::fileHeldOpen(text(path)), row.held);
        // The probe keeps nothing open: a file nobody else holds can be taken alone at once.
        if (row.exists && !row.held) {
            EXPECT_TRUE(openableAlone(path));
        }
    }
}

TEST(SharedFiles, FreeSpaceIsThatOfTheFilesFolder) {
    TempFolder folder;
    ULARGE_INTEGER expected{};
    ASSERT_TRUE(GetDiskFreeSpaceExW((folder.path() + L"\\").c_str(), &expected, nullptr, nullptr));
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
    // A bare name is in the current folder; the file need not exist yet.
    for (const std::wstring& path : {folder.file(L"sales.mdb"), std::wstring(L"sales.mdb")}) {
        SCOPED_TRACE(utf8(path));
        const std::uint64_t free = win32::freeSpaceBeside(text(path));
        EXPECT_GT(free, 0u);
        // Others write to the same disk meanwhile.
        EXPECT_LT(free > expected.QuadPart ? free - expected.QuadPart : expected.QuadPart - free, 256u << 20);
    }
    SetCurrentDirectoryW(current);

    SetLastError(0xdeadbeef);
    try {
        win32::freeSpaceBeside(text(folder.file(L"none\\sales.mdb")));
        ADD_FAILURE() << "a free space for a missing folder";
    } catch (const platform::RuntimeError& e) {
        // Windows says the path is not found, Wine that the file is not.
        EXPECT_TRUE(e.number == ERROR_PATH_NOT_FOUND || e.number == ERROR_FILE_NOT_FOUND) << e.number;
    }
    writeFile(folder.file(L"sales.mdb"), std::string(70000, 'd'));
    EXPECT_EQ(win32::fileSize(text(folder.file(L"sales.mdb"))), 70000u);
}

FILETIME creationTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftCreationTime;
}

bool operator==(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// In the run's order. Wine keeps no access lists of its own, so only that the calls succeed is
// checked of the list, owner and group here. Nor does it keep a creation time (it reports one
// from the Unix file) or the not-content-indexed attribute, and it shows every file as archive:
// what the original carries is taken as the system reports it, and a creation time it does not
// keep is not checked.
TEST(SharedFiles, AttributesAndCreationTimeAreCarried) {
    constexpr DWORD kCarried = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    struct Row {
        DWORD original;
        DWORD repaired;   // as the compactor left it
    };
    const Row rows[] = {
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_ARCHIVE},
        {FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, FILE_ATTRIBUTE_READONLY},
        {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
    };
    const FILETIME created{0x7DB50500u, 0x01C08D96u};   // 2001-02-03 04:05:06
    for (const Row& row : rows) {
        SCOPED_TRACE(row.original);
        TempFolder folder;
        const std::wstring from = folder.file(L"_BeforeRepair20261207090503sales.mdb");
        const std::wstring to = folder.file(L"sales.mdb");
        writeFile(from, "original");
        writeFile(to, "repaired");
        HANDLE h = CreateFileW(from.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_TRUE(SetFileTime(h, &created, nullptr, nullptr));
        CloseHandle(h);
        ASSERT_TRUE(SetFileAttributesW(from.c_str(), row.original));
        ASSERT_TRUE(SetFileAttributesW(to.c_str(), row.repaired));
        const DWORD carried = GetFileAttributesW(from.c_str()) & kCarried;
        constexpr DWORD kKeptEverywhere = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
        ASSERT_EQ(carried & kKeptEverywhere, row.original & kKeptEverywhere);
        WIN32_FILE_ATTRIBUTE_DATA before{};
        ASSERT_TRUE(GetFileAttributesExW(to.c_str(), GetFileExInfoStandard, &before));

        EXPECT_NO_THROW(win32::copyAccessList(text(from), text(to)));
        EXPECT_NO_THROW(win32::copyCreationTime(text(from), text(to)));
        EXPECT_NO_THROW(win32::copyAttributes(text(from), text(to)));
        EXPECT_NO_THROW(win32::copyOwner(text(from), text(to)));

        EXPECT_EQ(GetFileAttributesW(to.c_str()) & kCarried, carried);
        if (creationTime(from) == created) {
            EXPECT_TRUE(creationTime(to) == created);
        }
        WIN32_FILE_ATTRIBUTE_DATA after{};
        ASSERT_TRUE(GetFileAttributesExW(to.c_str(), GetFileExInfoStandard, &after));
        EXPECT_TRUE(after.ftLastWriteTime == before.ftLastWriteTime);   // it was written by the compactor
        EXPECT_EQ(readFile(to), "repaired");
        SetFileAttributesW(from.c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

}  // namespace
