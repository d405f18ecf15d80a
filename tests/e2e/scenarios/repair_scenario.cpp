#include "repair_scenario.h"

#include "../driver/assertions.h"
#include "../driver/build_paths.h"
#include "support/files.h"
#include "../driver/scenario_folder.h"
#include "support/text.h"

#include <cwctype>

namespace e2e {
namespace {

bool isClockTime(const std::wstring& text) {
    if (text.size() != 8 || text[2] != L':' || text[5] != L':') return false;
    for (size_t i : {0, 1, 3, 4, 6, 7})
        if (!std::iswdigit(text[i])) return false;
    return std::stoi(text.substr(0, 2)) < 24 && std::stoi(text.substr(3, 2)) < 60 &&
           std::stoi(text.substr(6, 2)) < 60;
}

long long secondsOf(const SYSTEMTIME& time) {
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    ULARGE_INTEGER value{};
    value.LowPart = file.dwLowDateTime;
    value.HighPart = file.dwHighDateTime;
    return static_cast<long long>(value.QuadPart / 10000000ULL);
}

std::string clockOf(const SYSTEMTIME& time) {
    char text[32];
    wsprintfA(text, "%04d-%02d-%02d %02d:%02d:%02d", time.wYear, time.wMonth, time.wDay, time.wHour,
              time.wMinute, time.wSecond);
    return text;
}

}  // namespace

void RepairScenario::SetUp() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = freshScenarioFolder(support::utf16(std::string(test->test_suite_name()) + "." + test->name()));
    ASSERT_FALSE(folder_.empty()) << "cannot make a fresh folder under " << support::utf8(runsFolder());
    compactorLog_ = support::joinPath(folder_, L"compactor.log");
}

void RepairScenario::installProgram(bool withCompactor, const std::wstring& name) {
    programFolder_ = support::joinPath(folder_, name);
    ASSERT_TRUE(support::makeFolders(programFolder_)) << support::utf8(programFolder_);
    ASSERT_TRUE(support::copyFile(harbekExe(), support::joinPath(programFolder_, L"Harbek.exe")))
        << "cannot copy " << support::utf8(harbekExe()) << " (is Harbek built?)";
    if (withCompactor) {
        ASSERT_TRUE(support::copyFile(testCompactorExe(), support::joinPath(programFolder_, L"JetComp.exe")))
            << "cannot copy " << support::utf8(testCompactorExe());
    }
}

std::wstring RepairScenario::placeDatabase(const std::wstring& dataFolderName, const std::wstring& fileName,
                                           const std::wstring& testDatabase) {
    std::wstring folder = dataFolder(dataFolderName);
    std::wstring path = support::joinPath(folder, fileName);
    EXPECT_TRUE(support::makeFolders(folder)) << support::utf8(folder);
    EXPECT_TRUE(support::copyFile(support::joinPath(testDataFolder(), testDatabase), path))
        << "cannot copy " << support::utf8(testDatabase) << " from " << support::utf8(testDataFolder())
        << " to " << support::utf8(path);
    return path;
}

std::wstring RepairScenario::dataFolder(const std::wstring& name) const {
    return support::joinPath(folder_, name);
}

::testing::AssertionResult RepairScenario::startHarbek(const std::wstring& behaviour, DWORD delayMs) {
    support::Environment environment = {
        {L"HARBEK_TEST_COMPACTOR", behaviour},
        {L"HARBEK_TEST_COMPACTOR_LOG", compactorLog_},
        {L"HARBEK_TEST_COMPACTOR_DELAY_MS", delayMs ? std::to_wstring(delayMs) : L""},
    };
    return harbek_.start(support::joinPath(programFolder_, L"Harbek.exe"), programFolder_, environment);
}

::testing::AssertionResult RepairScenario::waitForCompactorStart() {
    if (support::waitUntil([&] { return !compactorStarts().empty() || !harbek_.running(); }) &&
        !compactorStarts().empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the compactor did not start; Harbek " << (harbek_.running() ? "runs" : "has ended")
           << ", its log reads \"" << support::utf8(harbek_.log()) << "\"";
}

std::optional<std::wstring> findStamped(const std::wstring& folder, const std::wstring& prefix,
                                        const std::wstring& fileName, std::wstring& stamp) {
    for (const std::wstring& name : support::folderEntries(folder)) {
        if (name.size() != prefix.size() + 14 + fileName.size() || name.rfind(prefix, 0) != 0 ||
            name.substr(prefix.size() + 14) != fileName)
            continue;
        std::wstring digits = name.substr(prefix.size(), 14);
        bool allDigits = true;
        for (wchar_t c : digits) allDigits = allDigits && std::iswdigit(c);
        if (!allDigits) continue;
        stamp = digits;
        return name;
    }
    return std::nullopt;
}

SYSTEMTIME localNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

::testing::AssertionResult stampWithin(const std::wstring& stamp, const SYSTEMTIME& from,
                                       const SYSTEMTIME& to) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(std::stoi(stamp.substr(0, 4)));
    time.wMonth = static_cast<WORD>(std::stoi(stamp.substr(4, 2)));
    time.wDay = static_cast<WORD>(std::stoi(stamp.substr(6, 2)));
    time.wHour = static_cast<WORD>(std::stoi(stamp.substr(8, 2)));
    time.wMinute = static_cast<WORD>(std::stoi(stamp.substr(10, 2)));
    time.wSecond = static_cast<WORD>(std::stoi(stamp.substr(12, 2)));
    FILETIME check{};
    if (!SystemTimeToFileTime(&time, &check))
        return ::testing::AssertionFailure()
               << "the stamp " << support::utf8(stamp) << " is not a date and time";
    long long seconds = secondsOf(time);
    if (seconds < secondsOf(from) - 1 || seconds > secondsOf(to) + 1)
        return ::testing::AssertionFailure() << "the stamp " << support::utf8(stamp) << " is not between "
                                             << clockOf(from) << " and " << clockOf(to) << " (local time)";
    return ::testing::AssertionSuccess();
}

std::wstring withTimesMasked(const std::wstring& log, std::vector<std::wstring>& times) {
    std::wstring masked;
    for (size_t at = 0; at < log.size();) {
        size_t end = log.find(L"\r\n", at);
        size_t next = end == std::wstring::npos ? log.size() : end + 2;
        std::wstring line = log.substr(at, next - at);
        for (const wchar_t* head : {L"開始:", L"完了:"}) {
            if (line.size() < 11 || line.rfind(head, 0) != 0) continue;
            std::wstring time = line.substr(3, 8);
            if (isClockTime(time) && line.substr(11) == (end == std::wstring::npos ? L"" : L"\r\n")) {
                times.push_back(time);
                line = std::wstring(head) + L"hh:nn:ss" + line.substr(11);
            }
        }
        masked += line;
        at = next;
    }
    return masked;
}

::testing::AssertionResult clockTimeWithin(const std::wstring& time, const SYSTEMTIME& from,
                                           const SYSTEMTIME& to) {
    SYSTEMTIME seen = from;
    seen.wHour = static_cast<WORD>(std::stoi(time.substr(0, 2)));
    seen.wMinute = static_cast<WORD>(std::stoi(time.substr(3, 2)));
    seen.wSecond = static_cast<WORD>(std::stoi(time.substr(6, 2)));
    seen.wMilliseconds = 0;
    if (from.wDay != to.wDay) return ::testing::AssertionSuccess();  // the run passed midnight
    long long seconds = secondsOf(seen);
    if (seconds < secondsOf(from) - 1 || seconds > secondsOf(to) + 1)
        return ::testing::AssertionFailure() << "the log time " << support::utf8(time) << " is not between "
                                             << clockOf(from) << " and " << clockOf(to) << " (local time)";
    return ::testing::AssertionSuccess();
}

std::wstring successfulRunLog() {
    return L"開始:hh:nn:ss\r\n"
           L"MDBファイルの存在:OK\r\n"
           L"Jetcomp.exeの存在:OK\r\n"
           L"最適化実行中\r\n"
           L"修復前のファイル名を変更\r\n"
           L"修復後のファイル名を変更\r\n"
           L"完了:hh:nn:ss\r\n";
}

std::vector<std::string> entriesOf(const std::wstring& folder) {
    std::vector<std::string> names;
    for (const std::wstring& name : support::folderEntries(folder)) names.push_back(support::utf8(name));
    return names;
}

void expectSuccessfulEnd(support::HarbekSession& harbek, bool iconPictureKnown) {
    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek.waitForMessageBox(box));
    std::vector<std::wstring> times;
    EXPECT_TRUE(sameText(withTimesMasked(harbek.log(), times), successfulRunLog()));
    if (!iconPictureKnown) {
        EXPECT_NE(support::nameOf(box.icon), support::nameOf(support::BoxIcon::None))
            << "the closing message has no icon";
        box.icon = support::BoxIcon::Information;
    }
    expectMessageBox(box, L"情報", L"終了しました。", support::BoxIcon::Information, {IDOK});
    ASSERT_TRUE(harbek.answer(box, IDOK));
    ASSERT_TRUE(harbek.waitForExit());
}

void expectWindowStaysThenCancel(support::HarbekSession& harbek, const std::wstring& logAtMessage) {
    Sleep(300);
    EXPECT_TRUE(harbek.windowOpen()) << "the window closed after the message";
    EXPECT_TRUE(sameText(harbek.log(), logAtMessage)) << "the log changed after the message";
    harbek.pressCancel();
    EXPECT_TRUE(harbek.waitForExit());
}

void expectMessageBox(const support::MessageBoxSeen& box, const std::wstring& title, const std::wstring& text,
                      support::BoxIcon icon, const std::vector<int>& buttons) {
    EXPECT_EQ(support::utf8(box.title), support::utf8(title)) << "the message box's title";
    EXPECT_TRUE(sameText(box.text, text)) << "the message box's text";
    EXPECT_EQ(support::nameOf(box.icon), support::nameOf(icon)) << "the message box's icon";
    EXPECT_EQ(support::namesOf(box.buttons), support::namesOf(buttons)) << "the message box's buttons";
}

void answerTheSalvage(support::HarbekSession& harbek, const std::wstring& database, int answer,
                      bool iconPictureKnown) {
    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek.waitForMessageBox(box)) << "no offer to write out the readable rows";
    if (!iconPictureKnown) {
        EXPECT_NE(support::nameOf(box.icon), support::nameOf(support::BoxIcon::None))
            << "the offer has no icon";
        box.icon = support::BoxIcon::Question;
    }
    expectMessageBox(box, L"確認", database + L"から読み取れた行をCSVファイルに書き出しますか？",
                     support::BoxIcon::Question, {IDYES, IDNO});
    ASSERT_TRUE(harbek.answer(box, answer));
}

std::wstring repairErrorReport(long number, const std::wstring& description, int line) {
    return L"プログラムの実行中にエラーが発生しました。\r\n"
           L"場所： cmdOk_Click\r\n\r\n"
           L"番号： " +
           std::to_wstring(number) +
           L"\r\n\r\n"
           L"内容： " +
           description +
           L"\r\n\r\n"
           L"位置： " +
           std::to_wstring(line) +
           L"\r\n\r\n\r\n"
           L"処理を中断します。";
}

}  // namespace e2e
