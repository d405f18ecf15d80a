// The one promise every run keeps, however it ends: the database's original bytes survive whole,
// at its path or under its _BeforeRepair name; no other file is changed, moved or deleted; nothing
// is overwritten; the only new files are the backup, the compacted copy at the database's path,
// and a leftover _AfterRepair file of a failed compaction.
#pragma once

#include "tree_snapshot.h"

#include <gtest/gtest.h>

#include <string>

namespace e2e {

// Where the original bytes are expected after the run.
enum class OriginalAt {
    Source,  // still at the database's path, nothing renamed
    Backup,  // under _BeforeRepair<stamp><name>, the compacted copy at the path (a swap)
};

// database: the full path of the file the run works on, spelled as the folder listing spells it
// (a relative or \\?\ path typed into the window resolved by the test); empty when the run has no
// file of the user's to work on, and then nothing at all may change.
::testing::AssertionResult nothingLost(const TreeSnapshot& before, const TreeSnapshot& after,
                                       const std::wstring& database, OriginalAt expected);

}  // namespace e2e
