// What is checked of the database just before the compactor starts: room on its volume for a
// second copy, and that no other program has it open. Either is found here, before a long run,
// rather than by a compactor that fails or writes a copy without a colleague's latest changes.
#include "main_window/frmMain.h"
#include "standard/text_format.h"

namespace frmMain {

namespace {

bool endsWithNoCase(const Text& text, const Text& end) {
    return text.size() >= end.size() &&
           mdlFunctionStandard::sameIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

}  // namespace

Text lockFileName(const Text& file) {
    const Text lockExtension = endsWithNoCase(file, u".accdb") ? u".laccdb" : u".ldb";
    const std::size_t dot = file.rfind(u'.');
    return (dot == Text::npos ? file : file.substr(0, dot)) + lockExtension;
}

Text launchRefusal(platform::FileSystem& files, const Text& source, const Text& folder, const Text& file) {
    // The compacted copy is written beside the database, so its volume needs a whole second copy.
    const std::uint64_t needed = files.fileSize(source);
    const std::uint64_t available = files.freeSpaceBeside(source);
    if (available < needed)
        return folder + u"の空き容量が足りません。最適化には" + mdlFunctionStandard::grouped(needed) +
               u"バイト以上の空きが必要です（空き" + mdlFunctionStandard::grouped(available) + u"バイト）。";

    // Last, so that as little time as possible passes before the launch. A program that has the
    // database open holds it, or the lock file the engine keeps beside it while it is in use; a
    // lock file left by a crash, which nobody holds, is no sign of use (and is left alone).
    if (files.fileHeldOpen(source) || files.fileHeldOpen(folder + lockFileName(file)))
        return source +
               u"は使用中です。データベースを開いているプログラムをすべて終了してから実行してください。";
    return Text();
}

}  // namespace frmMain
