// A fresh folder per scenario under the build tree. It is emptied when the scenario starts, not
// when it ends, so that the files of a failed scenario can be looked at afterwards.
#pragma once

#include <string>

namespace e2e {

// runsFolder() + "\" + name, created empty (name may hold spaces and Japanese). Empty on failure.
std::wstring freshScenarioFolder(const std::wstring& name);

}  // namespace e2e
