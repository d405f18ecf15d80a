// mDevidePathFile: a path cut after its last separator into folder and file name.
#include "main_window/frmMain.h"
#include "standard/trap.h"

namespace frmMain {

namespace {
// The text comparison that finds the separator ignores character width, so the full-width
// reverse solidus counts as well as "\"; nothing else does.
bool isSeparator(char16_t c) { return c == u'\\' || c == u'\uFF3C'; }
}  // namespace

void mDevidePathFile(Text path, Text& folder, Text& file) {
    mdlFunctionStandard::trapped(u"mDevidePathFile", 1, [&](int& line) {
        line = 10;
        std::size_t p = path.size();
        while (p > 0 && !isSeparator(path[p - 1])) --p;  // 1-based position; 0 when none
        line = 15;
        folder = path.substr(0, p);
        line = 20;
        file = path.substr(p);
    });
}

}  // namespace frmMain
