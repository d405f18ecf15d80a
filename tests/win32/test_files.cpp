// The file-system service on the real file system.
#include <gtest/gtest.h>

#include "platform/win32/files.h"
#include "platform/win32/owned.h"
#include "support/files.h"
#include "support/text.h"
#include "tests/win32/harness.h"

using namespace win32test;
using support::TempFolder;
using support::writeBytes;

namespace {

std::string contentOf(const std::wstring& path) { return support::readBytes(path).value_or("<missing>"); }

TEST(Files, ExistsOnlyForFiles) {
    TempFolder folder(L"harbek ファイル");
    writeBytes(folder.file(L"売上 2024.mdb"), "db");
    CreateDirectoryW(folder.file(L"sub.mdb").c_str(), nullptr);
    auto fs = win32::createFileSystem();
    EXPECT_TRUE(fs->fileExists(text(folder.file(L"売上 2024.mdb"))));
    EXPECT_FALSE(fs->fileExists(text(folder.file(L"sub.mdb"))));  // a folder is not a file
    EXPECT_FALSE(fs->fileExists(text(folder.path())));
    EXPECT_FALSE(fs->fileExists(text(folder.file(L"none.mdb"))));
    EXPECT_FALSE(fs->fileExists(u""));
    EXPECT_FALSE(fs->fileExists(text(folder.file(L"*.mdb"))));  // no wildcards
}

// Devices look like files to GetFileAttributesW, in any folder and with any extension.
TEST(Files, ADeviceIsNoFileButALockedFileIs) {
    TempFolder folder;
    auto fs = win32::createFileSystem();
    for (const wchar_t* device : {L"NUL", L"CON", L"AUX", L"PRN", L"LPT1", L"NUL.mdb", L"con.mdb"})
        EXPECT_FALSE(fs->fileExists(text(folder.file(device)))) << device;
    EXPECT_FALSE(fs->fileExists(u"NUL"));

    const std::wstring locked = folder.file(L"locked.mdb");
    writeBytes(locked, "db");
    const win32::OwnedHandle holder(
        CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_TRUE(fs->fileExists(text(locked)));  // held open with no sharing by another program
}

TEST(Files, MoveRenamesButNeverReplaces) {
    TempFolder folder;
    const std::wstring a = folder.file(L"a.mdb"), b = folder.file(L"b.mdb"), c = folder.file(L"c.mdb");
    writeBytes(a, "A");
    writeBytes(b, "B");
    auto fs = win32::createFileSystem();

    SetLastError(0xdeadbeef);
    try {
        fs->moveFile(text(a), text(b));
        ADD_FAILURE() << "moved onto an existing file";
    } catch (const platform::RuntimeError& e) {
        EXPECT_TRUE(e.number == ERROR_ALREADY_EXISTS || e.number == ERROR_FILE_EXISTS) << e.number;
        EXPECT_FALSE(e.description.empty());
        EXPECT_NE(e.description.back(), u'\n');
    }
    EXPECT_EQ(contentOf(a), "A");
    EXPECT_EQ(contentOf(b), "B");

    SetLastError(0xdeadbeef);
    try {
        fs->moveFile(text(folder.file(L"none.mdb")), text(c));
        ADD_FAILURE() << "moved a missing file";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number, ERROR_FILE_NOT_FOUND);
    }

    fs->moveFile(text(a), text(c));
    EXPECT_EQ(contentOf(a), "<missing>");
    EXPECT_EQ(contentOf(c), "A");
}

// What the program writes, it writes anew: a taken name, by a file or a folder, is refused as it
// is and left as it was.
TEST(Files, NewFilesAndFoldersNeverTakeAName) {
    TempFolder folder(L"harbek 書き出し");
    auto fs = win32::createFileSystem();
    const std::wstring rows = folder.file(L"顧客.csv"), sub = folder.file(L"_LostRows");
    auto file = fs->createNewFile(text(rows));
    file->append("\xEF\xBB\xBFid\r\n");
    file->append(std::string(70000, 'x'));
    file->close();
    EXPECT_EQ(contentOf(rows), "\xEF\xBB\xBFid\r\n" + std::string(70000, 'x'));
    fs->createFolder(text(sub));
    for (const std::wstring& taken : {rows, sub}) {
        SCOPED_TRACE(support::utf8(taken));
        EXPECT_THROW(fs->createNewFile(text(taken)), platform::RuntimeError);
        EXPECT_THROW(fs->createFolder(text(taken)), platform::RuntimeError);
    }
    EXPECT_EQ(contentOf(rows).size(), 70007u);
}

}  // namespace
