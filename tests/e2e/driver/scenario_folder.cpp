#include "scenario_folder.h"

#include "build_paths.h"
#include "files.h"
#include "text.h"

namespace e2e {

std::wstring freshScenarioFolder(const std::wstring& name)
{
    std::wstring folder = joinPath(runsFolder(), name);
    if (!removeTree(folder) || !makeFolders(folder)) return {};
    return folder;
}

}  // namespace e2e
