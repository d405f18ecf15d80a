// What the test compactor does once started, chosen by HARBEK_TEST_COMPACTOR.
#pragma once

#include <string>

namespace test_compactor {

struct Job {
    std::wstring source;       // the text after -src:
    std::wstring destination;  // the text after -dest:
};

// copy: copies source to destination, refusing an existing destination; 0 on success, 1 if not.
int copyDatabase(const Job& job);
// new: writes the source's bytes into a file of its own making, as a compactor that rebuilds the
// database does: plain attributes, created now, the folder's default permissions. 0 or 1 as copy.
int writeAnew(const Job& job);
// partial: writes the first half of the source to the destination, then returns 1.
int writeHalf(const Job& job);
// exit259: copies as copyDatabase does, then ends the process with the exit code 259
// (STILL_ACTIVE), whatever the copy gave.
[[noreturn]] void copyThenExit259(const Job& job);
// crash: an access violation nobody handles; the process ends with 0xC0000005 and no crash dialog.
[[noreturn]] void crash();
// cutpage | deleterow | nocatalog | altervalue: copies the source, damaged as a faulty compactor
// might leave it (the last page cut off; one live row of the first user table with rows marked
// deleted; the catalog's page zeroed; one character of a text value of a user table changed, in
// place), and returns 0 as if all went well. 1 if it cannot.
int writeDamaged(const Job& job, const std::wstring& damage);
// hang: sleeps until killed.
[[noreturn]] void hang();
// holdcopy: copies as copyDatabase does, then leaves the copy held open with no sharing by a copy of
// this program started as "<exe> --hold <destination>" (holdFile), which outlives this one until the
// event holdEventName(destination) is set, for 20 s at most. 0 once the copy is held, 1 if not.
int copyThenHold(const Job& job);
int holdFile(const std::wstring& path);
inline std::wstring holdEventName(const std::wstring& path) {
    return L"harbek test compactor: let go of " + path.substr(path.find_last_of(L'\\') + 1);
}

}  // namespace test_compactor
