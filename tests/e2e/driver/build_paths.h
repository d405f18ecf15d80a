// Where the build put what the scenarios use, as Windows paths (the build passes Linux paths).
#pragma once

#include <string>

namespace e2e {

std::wstring harbekExe();         // build/mingw/Harbek.exe
std::wstring testCompactorExe();  // the test compactor, copied as JetComp.exe
std::wstring testDataFolder();    // the real Jet databases
std::wstring runsFolder();        // parent of the per-scenario folders, in the build tree

}  // namespace e2e
