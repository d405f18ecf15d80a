// The fixture every end-to-end scenario starts from: a fresh folder named after the test, with a
// copy of Harbek.exe (and usually the test compactor as JetComp.exe beside it), databases copied
// from the real test files, and the checks the scenarios share.
#pragma once

#include "../driver/compactor_log.h"
#include "support/harbek_session.h"
#include "support/message_box.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

inline constexpr wchar_t kJet3Database[] = L"jet3-testV1997.mdb";
inline constexpr wchar_t kJet4Database[] = L"jet4-compIndexTestV2000.mdb";

class RepairScenario : public ::testing::Test {
protected:
    void SetUp() override;

    // Copies Harbek.exe, and the test compactor as JetComp.exe unless withCompactor is false, into
    // folder()\<name>; later starts run from there.
    void installProgram(bool withCompactor = true, const std::wstring& name = L"app");

    // Copies a test database to folder()\<dataFolder>\<fileName> and returns that path.
    std::wstring placeDatabase(const std::wstring& dataFolder, const std::wstring& fileName,
                               const std::wstring& testDatabase = kJet3Database);

    // Starts the installed Harbek with HARBEK_TEST_COMPACTOR=behaviour, the compactor's log, and the
    // delay if not 0.
    ::testing::AssertionResult startHarbek(const std::wstring& behaviour = L"copy", DWORD delayMs = 0);

    // Waits until the compactor has written its first log entry, i.e. the run is in its wait.
    ::testing::AssertionResult waitForCompactorStart();

    std::vector<CompactorStart> compactorStarts() const { return readCompactorLog(compactorLog_); }

    const std::wstring& folder() const { return folder_; }
    const std::wstring& programFolder() const { return programFolder_; }
    std::wstring dataFolder(const std::wstring& name) const;

    support::HarbekSession harbek_;

private:
    std::wstring folder_;
    std::wstring programFolder_;
    std::wstring compactorLog_;
};

// Name (no folder) of the entry in folder starting with prefix + 14 digits and ending with
// fileName; the 14 digits go to stamp.
std::optional<std::wstring> findStamped(const std::wstring& folder, const std::wstring& prefix,
                                        const std::wstring& fileName, std::wstring& stamp);

// The local time now, for bracketing a run's stamp and log times.
SYSTEMTIME localNow();

// A 14-digit stamp "yyyymmddhhnnss" that names a real local time within [from - 1 s, to + 1 s].
::testing::AssertionResult stampWithin(const std::wstring& stamp, const SYSTEMTIME& from,
                                       const SYSTEMTIME& to);

// The log with the time in each "開始:" and "完了:" line replaced by "hh:nn:ss" (when it has that
// form), so a whole log compares with EXPECT_EQ; the times found go to times, in order.
std::wstring withTimesMasked(const std::wstring& log, std::vector<std::wstring>& times);

// A time "hh:nn:ss" within [from - 1 s, to + 1 s] on the clock of the day of from.
::testing::AssertionResult clockTimeWithin(const std::wstring& time, const SYSTEMTIME& from,
                                           const SYSTEMTIME& to);

// The seven lines of a successful run, times masked.
std::wstring successfulRunLog();

// Names (no folder) of what folder holds, sorted, as UTF-8 so that a failed comparison prints them.
std::vector<std::string> entriesOf(const std::wstring& folder);

// Waits for the box that ends a successful run, expects the seven lines of the log and "終了しました。",
// answers it and waits for Harbek to end. Drawn at another DPI than 96 the box's icon is not the
// picture iconOfMessageBox compares with; iconPictureKnown false then checks only that it has one.
void expectSuccessfulEnd(support::HarbekSession& harbek, bool iconPictureKnown = true);

// After a run's stopping message was answered: the window stays with its log as it was at the
// message, and ｷｬﾝｾﾙ then ends the program.
void expectWindowStaysThenCancel(support::HarbekSession& harbek, const std::wstring& logAtMessage);

void expectMessageBox(const support::MessageBoxSeen& box, const std::wstring& title, const std::wstring& text,
                      support::BoxIcon icon, const std::vector<int>& buttons);

// After a refusal of what the compactor did: waits for the offer to write out what `database` still
// holds, checks it and answers it. A box too wide for the screen (a path of one long name) shows its
// icon off the screen: iconPictureKnown false then checks only that it has one.
void answerTheSalvage(support::HarbekSession& harbek, const std::wstring& database, int answer,
                      bool iconPictureKnown = true);

// The text of the error report for a failure in the repair run at this line.
std::wstring repairErrorReport(long number, const std::wstring& description, int line);

}  // namespace e2e
