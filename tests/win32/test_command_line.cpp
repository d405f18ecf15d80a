// The compactor's command line, split by the system's own rules, gives the compactor exactly its
// path and the two arguments.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "main_window/frmMain.h"
#include "platform/win32/owned.h"
#include "support/text.h"
#include "tests/win32/harness.h"

using namespace win32test;
using support::utf8;

namespace {

std::vector<std::wstring> split(const std::wstring& line) {
    int n = 0;
    const win32::OwnedLocal<wchar_t**> argv(CommandLineToArgvW(line.c_str(), &n));
    return std::vector<std::wstring>(argv.get(), argv.get() + n);
}

TEST(CommandLine, SplitsIntoTheCompactorsPathAndItsTwoArguments) {
    struct Row {
        const wchar_t *folder, *source, *after;
    };
    const Row rows[] = {
        {L"C:\\Program Files\\Harbek", L"C:\\data\\sales.mdb",
         L"C:\\data\\_AfterRepair20261207090503sales.mdb"},
        {L"C:\\ツール", L"D:\\テスト データ\\売上 2024.mdb",
         L"D:\\テスト データ\\_AfterRepair20261207090503売上 2024.mdb"},
        {L"C:\\", L"sales.mdb", L"_AfterRepair20261207090503sales.mdb"},
        {L"\\\\server\\share\\tools", L"\\\\server\\share\\a b\\x.mdb",
         L"\\\\server\\share\\a b\\_AfterRepair1x.mdb"},
        {L"Z:\\a  b", L"Z:\\c＼d\\e f.mdb", L"Z:\\c＼d\\_AfterRepair1e f.mdb"},
        {L"C:\\x", L"C:\\a\\b\\c.mdb", L"C:\\a\\b\\_AfterRepair1c.mdb"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.source));
        const std::wstring line =
            wstr(frmMain::compactorCommandLine(text(row.folder), text(row.source), text(row.after)));
        const std::vector<std::wstring> argv = split(line);
        ASSERT_EQ(argv.size(), 3u) << utf8(line);
        EXPECT_EQ(argv[0], std::wstring(row.folder) + L"\\JetComp.exe");
        EXPECT_EQ(argv[1], L"-src:" + std::wstring(row.source));
        EXPECT_EQ(argv[2], L"-dest:" + std::wstring(row.after));
    }
}

}  // namespace
