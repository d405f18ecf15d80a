// Esc must do nothing in Harbek's window: no box, no end, no change of the fields.
#pragma once

#include "support/harbek_session.h"

#include <windows.h>

#include <string>

namespace e2e {

// Posts Esc (key-down and character) to target, then watches for a second: no #32770 window may
// appear, the window must stay open, and the path field and the log must read as before.
void expectEscapeIgnored(const support::HarbekSession& harbek, HWND target, const std::string& where);

}  // namespace e2e
