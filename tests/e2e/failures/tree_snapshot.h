// A record of every file and folder under a scenario's folder, with a hash of each file's bytes,
// taken before and after a run so that what the run changed can be listed exactly.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace e2e {

struct TreeEntry {
    bool folder = false;
    bool readable = true;  // false: a file that could not be read (locked, vanished)
    std::uint64_t size = 0;
    std::uint64_t hash = 0;  // FNV-1a of the bytes

    bool sameContent(const TreeEntry& other) const {
        return folder == other.folder && readable && other.readable && size == other.size &&
               hash == other.hash;
    }
};

// Keyed by full path ("Z:\...\data\sales.mdb"), as the folder listing spells each name.
using TreeSnapshot = std::map<std::wstring, TreeEntry>;

std::uint64_t fnv1a(const std::string& bytes);

// Everything under root (root itself left out), skipping entries whose name is in skipNames
// anywhere in the tree (the test compactor's log, which is the harness's, not the user's).
TreeSnapshot snapshotTree(const std::wstring& root, const std::vector<std::wstring>& skipNames = {});

}  // namespace e2e
