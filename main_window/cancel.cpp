// The cancel button and the close box.
#include "main_window/frmMain.h"

namespace frmMain {

void cmdCancel_Click() {
    // No question and no trap: the program ends at once, also in the middle of a run. A compactor
    // still working is left to finish on its own, and nothing is renamed.
    auto& p = platform::window();
    p.unloadMainWindow();
    p.endProgram();
}

bool queryClose() {
    // Unloading the window in the middle of a run would leave the run's later steps without their
    // window; the close box ends the program as the cancel button does.
    if (runUnderWay()) cmdCancel_Click();
    return true;
}

}  // namespace frmMain
