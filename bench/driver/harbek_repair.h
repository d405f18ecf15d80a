// Harbek driven through one repair, as a user would: started in a folder where a compactor lies
// beside it as JetComp.exe, the path typed, 修復の実行(&R) pressed, the completion box answered.
#pragma once

#include <string>

#include "harbek_session.h"

namespace bench {

class HarbekRepair {
public:
    // Starts folder\Harbek.exe with the extra environment (which Harbek passes on to its
    // compactor), types the database's path and presses the run button. "" or why it failed.
    std::string start(const std::wstring& folder, const e2e::Environment& environment,
                      const std::wstring& database);
    DWORD processId() const { return session_.processId(); }
    std::wstring log() const { return session_.log(); }
    // Waits for "終了しました。", answers it and waits for Harbek to end. "" or why it failed.
    std::string finish();

private:
    e2e::HarbekSession session_;  // ends Harbek and its compactor if a step fails
};

}  // namespace bench
