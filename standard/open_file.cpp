// gstrGetOpenFile: the open-file dialog's filter list and record, and the call.
#include "standard/mdlFunctionStandard.h"

namespace mdlFunctionStandard {

namespace {
constexpr std::uint32_t kBufferSize = 256;
constexpr std::uint32_t kFlags = platform::dialog::kExplorer | platform::dialog::kFileMustExist |
                                 platform::dialog::kPathMustExist | platform::dialog::kHideReadOnly;
}  // namespace

Text openFileFilter(const Text& pattern, const Text& patternName) {
    Text filter;
    if (!pattern.empty()) {
        filter += patternName + u"(" + pattern + u")" + u'\0';
        filter += pattern + u'\0';
    }
    filter += Text(u"すべてのファイル(*.*)") + u'\0';
    filter += Text(u"*.*") + u'\0';
    filter += u'\0';
    return filter;
}

platform::OpenFileRequest openFileRequest(platform::WindowHandle owner, const Text& title, const Text& filter,
                                          const Text& initialDir) {
    platform::OpenFileRequest r{};
    r.structSize = platform::dialog::kRecordSize;
    r.owner = owner;
    r.instance = platform::environment().instanceHandle();
    r.filter = filter;
    r.filterIndex = 1;
    r.maxFile = kBufferSize;
    r.maxFileTitle = kBufferSize;
    r.initialDir = initialDir;
    r.title = title;
    r.flags = kFlags;
    return r;
}

Text gstrGetOpenFile(platform::WindowHandle& owner, Text& title, Text& pattern, Text& patternName,
                     Text& initialDir) {
    const Text filter = openFileFilter(pattern, patternName);
    if (title.empty()) title = u"ファイルを開く";
    const platform::OpenFileRequest request = openFileRequest(owner, title, filter, initialDir);
    const platform::OpenFileResult result = platform::window().getOpenFileName(request);
    if (!result.ok) return Text();
    return result.file;
}

}  // namespace mdlFunctionStandard
