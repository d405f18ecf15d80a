#include "build_paths.h"

#include "text.h"

namespace e2e {

std::wstring harbekExe() { return windowsPathOf(E2E_HARBEK_EXE); }
std::wstring testCompactorExe() { return windowsPathOf(E2E_TEST_COMPACTOR_EXE); }
std::wstring testDataFolder() { return windowsPathOf(E2E_TESTDATA_DIR); }
std::wstring runsFolder() { return windowsPathOf(E2E_RUNS_DIR); }

}  // namespace e2e
