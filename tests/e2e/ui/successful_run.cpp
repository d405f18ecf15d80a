#include "successful_run.h"

#include "../driver/assertions.h"
#include "support/files.h"
#include "support/text.h"
#include "../scenarios/repair_scenario.h"

namespace e2e {

void expectRepairedAndEnded(support::HarbekSession& harbek, const std::wstring& folder, const std::wstring& fileName,
                            const std::string& original, bool iconPictureKnown)
{
    support::MessageBoxSeen box;
    ASSERT_TRUE(harbek.waitForMessageBox(box));
    std::vector<std::wstring> times;
    EXPECT_TRUE(sameText(withTimesMasked(harbek.log(), times), successfulRunLog()));
    if (iconPictureKnown) {
        expectMessageBox(box, L"情報", L"終了しました。", support::BoxIcon::Information, {IDOK});
    } else {
        EXPECT_NE(support::nameOf(box.icon), support::nameOf(support::BoxIcon::None)) << "the closing message has no icon";
        box.icon = support::BoxIcon::Information;
        expectMessageBox(box, L"情報", L"終了しました。", support::BoxIcon::Information, {IDOK});
    }
    ASSERT_TRUE(harbek.answer(box, IDOK));
    ASSERT_TRUE(harbek.waitForExit());

    std::wstring stamp;
    std::optional<std::wstring> backup = findStamped(folder, L"_BeforeRepair", fileName, stamp);
    std::vector<std::string> entries;
    for (const std::wstring& name : support::folderEntries(folder)) entries.push_back(support::utf8(name));
    ASSERT_TRUE(backup) << "no _BeforeRepair<stamp>" << support::utf8(fileName) << "; the folder holds "
                        << ::testing::PrintToString(entries);
    EXPECT_EQ(entries, (std::vector<std::string>{support::utf8(*backup), support::utf8(fileName)}));
    EXPECT_TRUE(holdsBytes(support::joinPath(folder, *backup), original)) << "the backup is not the original";
    EXPECT_TRUE(holdsBytes(support::joinPath(folder, fileName), original)) << "the database's path lacks its copy";
}

}  // namespace e2e
