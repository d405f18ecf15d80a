// cmdRef_Click: choose the database with the open-file dialog.
#include "main_window/frmMain.h"
#include "standard/trap.h"

namespace frmMain {

void cmdRef_Click() {
    mdlFunctionStandard::trapped(u"cmdRef_Click", 1, [&](int&) {
        auto& p = platform::window();
        platform::WindowHandle owner = p.mainWindowHandle();
        Text title = u"MDBファイルを選択してください。";
        Text pattern = u"*.mdb";
        Text patternName = u"MDBファイル(.mdb)";
        Text initialDir;
        const Text chosen =
            mdlFunctionStandard::gstrGetOpenFile(owner, title, pattern, patternName, initialDir);
        // A cancel empties the field. A run under way is not affected: it read its path once.
        p.setText(platform::TextField::MdbFile, chosen);
    });
}

}  // namespace frmMain
