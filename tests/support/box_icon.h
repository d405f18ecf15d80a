// Telling which standard icon a message box shows.
//
// Under Wine the icon handle that STM_GETICON returns is the box's process's own (LoadIcon gives
// each process its own handle for the same system icon), so handles cannot be compared across
// processes. What is the same is the picture: iconOfMessageBox captures the icon control from the screen
// and compares it, pixel for pixel, with each standard icon drawn on the captured background.
// STM_GETICON is still good for one thing: it returns null when the box has no icon.
#pragma once

#include <windows.h>

#include <string>

namespace support {

enum class BoxIcon { None, Critical, Question, Exclamation, Information, Unrecognised };

std::string nameOf(BoxIcon icon);

// The icon the box's SS_ICON static shows. The box must be on screen and uncovered; a box that
// has not painted yet is retried for up to a few seconds before Unrecognised is returned.
BoxIcon iconOfMessageBox(HWND box);

}  // namespace support
