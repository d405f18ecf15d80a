// The prefix's screen DPI for the programs started after it is set (HKCU\Control Panel\Desktop,
// LogPixels; Wine reads it once when a process starts), and the driver's own DPI awareness.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// Sets LogPixels while it lives and puts back what was there before (or removes the value if
// there was none) when it is destroyed or restore() is called.
class ScopedLogPixels {
public:
    ScopedLogPixels() = default;
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;
    ~ScopedLogPixels() { restore(); }

    // On failure returns false and says why in error.
    bool set(DWORD dpi, std::string& error);
    void restore();

private:
    bool changed_ = false;
    std::optional<DWORD> previous_;
};

// Makes the driver per-monitor DPI aware, so that the rectangles it reads of another process's
// windows are in physical pixels: Windows scales them for a DPI-unaware caller. (Wine 8 gives the
// same pixels either way: 812 x 401 for the client area at 144.)
void makeDriverDpiAware();

}  // namespace e2e
