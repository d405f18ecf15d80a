// The names a run gives the files beside the database, worked out from the typed path the way
// the program does: split after the last "\" or full-width "＼", the tag and a 14-digit stamp put
// in front of the file part.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

struct SplitPath {
    std::wstring folder;  // up to and including the last separator; empty when there is none
    std::wstring file;    // the rest
};

SplitPath splitLikeTheRun(const std::wstring& path);

// folder + tag + stamp + file, for tag "_AfterRepair" or "_BeforeRepair".
std::wstring taggedName(const std::wstring& path, const std::wstring& tag, const std::wstring& stamp);

// Whether candidate is taggedName(path, tag, <some 14 digits>); the digits go to stamp.
bool isTaggedName(const std::wstring& candidate, const std::wstring& path, const std::wstring& tag,
                  std::wstring* stamp = nullptr);

// "yyyymmddhhnnss" of the local time `time` shifted by offsetSeconds.
std::wstring stampOf(const SYSTEMTIME& time, int offsetSeconds = 0);

}  // namespace e2e
