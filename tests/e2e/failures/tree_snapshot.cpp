#include "tree_snapshot.h"

#include "support/files.h"
#include "support/text.h"

#include <windows.h>

#include <algorithm>

namespace e2e {
namespace {

void walk(const std::wstring& folder, const std::vector<std::wstring>& skipNames, TreeSnapshot& out) {
    for (const std::wstring& name : support::folderEntries(folder)) {
        if (std::find(skipNames.begin(), skipNames.end(), name) != skipNames.end()) continue;
        std::wstring path = support::joinPath(folder, name);
        DWORD attributes = GetFileAttributesW(path.c_str());
        TreeEntry entry;
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            entry.folder = true;
            out[path] = entry;
            walk(path, skipNames, out);
            continue;
        }
        if (std::optional<std::string> bytes = support::readBytes(path)) {
            entry.size = bytes->size();
            entry.hash = fnv1a(*bytes);
        } else {
            entry.readable = false;
        }
        out[path] = entry;
    }
}

}  // namespace

std::uint64_t fnv1a(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

TreeSnapshot snapshotTree(const std::wstring& root, const std::vector<std::wstring>& skipNames) {
    TreeSnapshot snapshot;
    walk(root, skipNames, snapshot);
    return snapshot;
}

}  // namespace e2e
