// Device names typed as the path: the file system answers for CON and NUL as if they were files
// (GetFileAttributesW gives FILE_ATTRIBUTE_ARCHIVE), but they are no database. The run must stop
// at its first check as for any other missing file, and never hand a device to the compactor.
// A compactor that reads CON could wait for console input for ever.
#include "failure_scenario.h"

#include "../driver/assertions.h"
#include "support/text.h"

namespace e2e {
namespace {

class DeviceName : public FailureScenario {
protected:
    void expectRefused(const std::wstring& typed) {
        ASSERT_NO_FATAL_FAILURE(installWithDatabase());
        ASSERT_TRUE(startWithPath(typed, dataFolder(L"data")));
        support::MessageBoxSeen box;
        ASSERT_TRUE(runUntilMessageBox(box));
        EXPECT_TRUE(sameText(maskedLog(), logOfStartOnly()));
        expectMessageBox(box, L"中止", missingMessage(typed), support::BoxIcon::Critical, {IDOK});
        EXPECT_EQ(commandLinesOf(compactorStarts()), std::vector<std::string>{})
            << "the compactor was given the device";
        ASSERT_TRUE(harbek_.answer(box, IDOK));
        expectNothingLost(L"", OriginalAt::Source, ProgramAfter::StaysOpen);
    }
};

TEST_F(DeviceName, NulIsNoDatabase) { expectRefused(L"NUL"); }

TEST_F(DeviceName, ConIsNoDatabase) { expectRefused(L"CON"); }

TEST_F(DeviceName, NulInAFolderIsNoDatabase) {
    expectRefused(support::joinPath(dataFolder(L"data"), L"NUL"));
}

}  // namespace
}  // namespace e2e
