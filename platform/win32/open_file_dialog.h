// The open-file dialog through its ANSI entry point, GetOpenFileNameA.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "platform/window.h"

namespace win32 {

// The record exactly as handed to GetOpenFileNameA, with the buffers it points into.
struct AnsiOpenFileRecord {
    OPENFILENAMEA record;
    std::string filter, initialDir, title;
    char file[256];
    char fileTitle[256];
};

// Fills `out` from the core's request (texts in the system's ANSI code page).
void prepareOpenFileRecord(const platform::OpenFileRequest& request, AnsiOpenFileRecord& out);
platform::OpenFileResult getOpenFileName(const platform::OpenFileRequest& request);

}  // namespace win32
