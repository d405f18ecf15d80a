// The number and text the system gives for failures the scenarios provoke, found by making the
// same call on files of the driver's own, so that a report can be compared with them.
#pragma once

#include "support/system_error.h"

#include <string>

namespace e2e {

// The error CreateProcessW gives for the command line "<exe>" (number 0 if it started; the
// process is then ended at once).
support::SystemError launchError(const std::wstring& exe);

// The error of a rename onto a name that is taken, tried on two files made in scratchFolder
// (which must not exist yet, and is removed again).
support::SystemError moveOntoTakenNameError(const std::wstring& scratchFolder);

// The error of renaming a file that another process holds open with this access and sharing,
// tried on a file of scratchFolder (created, then removed).
support::SystemError moveOfOpenFileError(const std::wstring& scratchFolder, DWORD access, DWORD sharing);

}  // namespace e2e
