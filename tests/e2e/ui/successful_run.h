// The end of a run that must succeed, however it was started (chosen in the dialog, Enter, a
// browse during the wait): the log, the closing message, the program's end and the files.
#pragma once

#include "support/harbek_session.h"

#include <string>

namespace e2e {

// expectSuccessfulEnd (iconPictureKnown false at another DPI than 96), then the folder must hold
// exactly fileName and _BeforeRepair<stamp>fileName, both with original's bytes (the test
// compactor copies), so the swap was done on that file and no other.
void expectRepairedAndEnded(support::HarbekSession& harbek, const std::wstring& folder,
                            const std::wstring& fileName, const std::string& original,
                            bool iconPictureKnown = true);

}  // namespace e2e
