// The rules by which Windows' CommandLineToArgvW (shell32) splits a command line, in portable
// C++, so that a test off Windows can tell which arguments a launched program is given.
// test_windows_argv.cpp holds it against the system's own function under Wine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace windowsargv {

// Splits `line` as CommandLineToArgvW does. The line is read up to its first NUL, as the system
// reads its NUL-terminated string. An empty line gives no arguments here; the system gives the
// calling program's own path instead.
std::vector<std::u16string> splitCommandLine(std::u16string_view line);

// Printable ASCII as it is (a backslash doubled), every other unit as \uXXXX, so that a failure
// shows each unit of a line: a fullwidth backslash, an ideographic space, a lone surrogate.
std::string visible(std::u16string_view text);

}  // namespace windowsargv
