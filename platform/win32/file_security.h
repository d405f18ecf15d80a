// Carrying what a file has beyond its bytes to another file: access list, creation time,
// attributes, owner and group. Each raises the system's error when it cannot be done.
#pragma once

#include "platform/platform.h"

namespace win32 {

void copyAccessList(const platform::Text& from, const platform::Text& to);
void copyCreationTime(const platform::Text& from, const platform::Text& to);
void copyAttributes(const platform::Text& from, const platform::Text& to);
void copyOwner(const platform::Text& from, const platform::Text& to);

}  // namespace win32
