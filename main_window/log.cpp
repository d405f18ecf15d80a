// mLog: the run's progress log in fldMsg.
#include "main_window/frmMain.h"
#include "standard/trap.h"

namespace frmMain {

void mLog(const Text& message) {
    mdlFunctionStandard::trapped(u"mLog", 1, [&](int& line) {
        auto& p = platform::window();
        line = 10;
        // The whole text is rebuilt from what the field holds now, so anything else in it stays.
        p.setText(platform::TextField::Msg, p.readText(platform::TextField::Msg) + message + u"\r\n");
        line = 20;
        p.processPendingEvents();
    });
}

}  // namespace frmMain
