// The end of a run that must succeed, however it was started (chosen in the dialog, Enter, a
// browse during the wait): the log, the closing message, the program's end and the files.
#pragma once

#include "support/harbek_session.h"

#include <string>

namespace e2e {

// Waits for the box after a run, expects the seven lines of a successful run in the log and
// "終了しました。", answers it and waits for Harbek to end. Then the folder must hold exactly
// fileName and _BeforeRepair<stamp>fileName, both with original's bytes (the test compactor
// copies), so the swap was done on that file and no other.
//
// The driver recognises a box's icon by drawing the standard icons at its own size, which is the
// 96-DPI one; at another DPI the box's icon is drawn larger, so there pass iconPictureKnown false
// and only the presence of an icon is checked.
void expectRepairedAndEnded(support::HarbekSession& harbek, const std::wstring& folder, const std::wstring& fileName,
                            const std::string& original, bool iconPictureKnown = true);

}  // namespace e2e
