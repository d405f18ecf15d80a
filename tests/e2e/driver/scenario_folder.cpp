#include "scenario_folder.h"

#include "build_paths.h"
#include "support/files.h"
#include "support/text.h"

namespace e2e {

std::wstring freshScenarioFolder(const std::wstring& name) {
    std::wstring folder = support::joinPath(runsFolder(), name);
    if (!support::removeTree(folder) || !support::makeFolders(folder)) return {};
    return folder;
}

}  // namespace e2e
