#include "nothing_lost.h"

#include "repair_names.h"

#include "support/text.h"

#include <vector>

namespace e2e {
namespace {

std::string describe(const TreeEntry& entry) {
    if (entry.folder) return "folder";
    if (!entry.readable) return "unreadable file";
    return "file of " + std::to_string(entry.size) + " bytes";
}

// The folder "<tag><stamp><name without its extension>" beside the database, or a file in it.
bool isRowsFolder(const std::wstring& path, const std::wstring& database, const wchar_t* tag) {
    const std::size_t cut = database.find_last_of(L'\\') + 1;
    const std::wstring name = database.substr(cut);
    const std::wstring stem = name.substr(0, name.rfind(L'.'));
    const std::wstring prefix = database.substr(0, cut) + tag;
    if (path.compare(0, prefix.size(), prefix) != 0) return false;
    const std::wstring rest = path.substr(prefix.size());
    const std::wstring top = rest.substr(0, rest.find(L'\\'));
    return top.size() == 14 + stem.size() && top.find_first_not_of(L"0123456789") == 14 &&
           top.substr(14) == stem;
}

}  // namespace

::testing::AssertionResult nothingLost(const TreeSnapshot& before, const TreeSnapshot& after,
                                       const std::wstring& database, OriginalAt expected) {
    std::vector<std::string> faults;
    auto fault = [&](const std::wstring& path, const std::string& what) {
        faults.push_back(support::utf8(path) + ": " + what);
    };

    for (const auto& [path, entry] : before) {
        if (!entry.readable) fault(path, "could not be read before the run (the check is void)");
        if (path == database) continue;
        auto now = after.find(path);
        if (now == after.end())
            fault(path, "a " + describe(entry) + " of the user's is gone (deleted or moved)");
        else if (!now->second.sameContent(entry))
            fault(path, "changed: was a " + describe(entry) + ", is a " + describe(now->second) +
                            (entry.size == now->second.size && !entry.folder ? " with other bytes" : ""));
    }

    auto original = before.find(database);
    bool haveOriginal = !database.empty() && original != before.end();
    bool atSource = false;
    std::vector<std::wstring> backups;
    if (haveOriginal) {
        auto now = after.find(database);
        atSource = now != after.end() && now->second.sameContent(original->second);
    }

    for (const auto& [path, entry] : after) {
        if (before.count(path)) continue;
        if (haveOriginal && isTaggedName(path, database, L"_BeforeRepair")) {
            backups.push_back(path);
            if (!entry.sameContent(original->second))
                fault(path, "a backup that does not hold the original bytes (" + describe(entry) + ")");
        } else if (!database.empty() && isTaggedName(path, database, L"_AfterRepair") && !entry.folder) {
            // a leftover of a compaction that did not end in a swap: allowed
        } else if (!database.empty() && (isRowsFolder(path, database, L"_LostRows") ||
                                         isRowsFolder(path, database, L"_Salvage"))) {
            // the rows a swap would lose, written out before the question, or what a database
            // the compactor could not save still holds, written on the user's word: allowed
        } else {
            fault(path, "a new " + describe(entry) + " the run had no business making");
        }
    }

    if (haveOriginal) {
        auto now = after.find(database);
        bool inBackup = false;
        for (const std::wstring& backup : backups)
            inBackup = inBackup || after.at(backup).sameContent(original->second);
        if (!atSource && !inBackup)
            fault(database, "the original bytes are neither at the path nor under a _BeforeRepair name");
        if (backups.size() > 1) fault(database, "more than one _BeforeRepair file");
        if (expected == OriginalAt::Source && !atSource)
            fault(database, "expected untouched at its path; it is " +
                                (now == after.end() ? std::string("gone")
                                                    : "a " + describe(now->second) + " with other bytes") +
                                (inBackup ? " (the original is in the backup)" : ""));
        if (expected == OriginalAt::Source && !backups.empty())
            fault(backups.front(), "a backup was made although nothing should have been renamed");
        if (expected == OriginalAt::Backup && !inBackup)
            fault(database, "expected the original under _BeforeRepair<stamp>; there is none holding it");
        if (expected == OriginalAt::Backup && now == after.end())
            fault(database, "nothing at the database's path after the swap");
    }

    if (faults.empty()) return ::testing::AssertionSuccess();
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    result << "the run lost or touched the user's files:";
    for (const std::string& line : faults) result << "\n  " << line;
    return result;
}

}  // namespace e2e
