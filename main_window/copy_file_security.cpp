// mCopyFileSecurity: gives the repaired database what the original carried, which a compactor's
// new file does not: its access list, creation time, attributes, owner and group. Without it the
// database at the user's path would take the folder's default permissions, and colleagues who
// could open the original might no longer open it.
//
// It runs once both files are whole, so a failure is reported and nothing is undone. The
// read-only attribute comes after the access list and the time, which it might otherwise stand
// in the way of; owner and group come last. Only an account that holds the restore privilege may
// give a file another account as its owner; elsewhere the repaired file keeps the owner the system
// gave it, without a report, since the access list carried before is what lets colleagues in.
#include "main_window/frmMain.h"
#include "standard/trap.h"

namespace frmMain {

void mCopyFileSecurity(platform::FileSystem& files, const Text& from, const Text& to) {
    mdlFunctionStandard::trapped(u"mCopyFileSecurity", 0, [&](int& line) {
        line = 10;
        files.copyAccessList(from, to);
        line = 20;
        files.copyCreationTime(from, to);
        line = 30;
        files.copyAttributes(from, to);
        line = 40;
        files.copyOwner(from, to);
    });
}

}  // namespace frmMain
