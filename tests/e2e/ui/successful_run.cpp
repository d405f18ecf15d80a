#include "successful_run.h"

#include "../driver/assertions.h"
#include "support/text.h"
#include "../scenarios/repair_scenario.h"

namespace e2e {

void expectRepairedAndEnded(support::HarbekSession& harbek, const std::wstring& folder,
                            const std::wstring& fileName, const std::string& original,
                            bool iconPictureKnown) {
    ASSERT_NO_FATAL_FAILURE(expectSuccessfulEnd(harbek, iconPictureKnown));

    std::wstring stamp;
    std::optional<std::wstring> backup = findStamped(folder, L"_BeforeRepair", fileName, stamp);
    const std::vector<std::string> entries = entriesOf(folder);
    ASSERT_TRUE(backup) << "no _BeforeRepair<stamp>" << support::utf8(fileName) << "; the folder holds "
                        << ::testing::PrintToString(entries);
    EXPECT_EQ(entries, (std::vector<std::string>{support::utf8(*backup), support::utf8(fileName)}));
    EXPECT_TRUE(holdsBytes(support::joinPath(folder, *backup), original)) << "the backup is not the original";
    EXPECT_TRUE(holdsBytes(support::joinPath(folder, fileName), original))
        << "the database's path lacks its copy";
}

}  // namespace e2e
