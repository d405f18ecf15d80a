#include "build_paths.h"

#include "support/text.h"

namespace e2e {

std::wstring harbekExe() { return support::windowsPathOf(E2E_HARBEK_EXE); }
std::wstring testCompactorExe() { return support::windowsPathOf(E2E_TEST_COMPACTOR_EXE); }
std::wstring testDataFolder() { return support::windowsPathOf(E2E_TESTDATA_DIR); }
std::wstring runsFolder() { return support::windowsPathOf(E2E_RUNS_DIR); }

}  // namespace e2e
