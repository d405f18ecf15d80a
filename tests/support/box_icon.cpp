#include "box_icon.h"

#include "wait.h"
#include "window_lookup.h"

#include <vector>

#include "platform/win32/owned.h"

namespace support {
namespace {

HWND iconControl(HWND box) {
    for (HWND child : childWindows(box, L"Static"))
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return child;
    return nullptr;
}

// Pixels of a width x height bitmap, top-down, 0x00RRGGBB.
using Pixels = std::vector<DWORD>;

Pixels pixelsOf(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    Pixels pixels(static_cast<size_t>(width) * height);
    GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

// The control's screen area, and each standard icon drawn at its top left on the colour of the
// area's top-left pixel, as a static control draws an icon.
struct Capture {
    Pixels screen;
    std::vector<Pixels> drawn;  // in the order of kCandidates
};

struct Candidate {
    BoxIcon icon;
    LPCWSTR id;
};
const Candidate kCandidates[] = {
    {BoxIcon::Critical, IDI_HAND},
    {BoxIcon::Question, IDI_QUESTION},
    {BoxIcon::Exclamation, IDI_EXCLAMATION},
    {BoxIcon::Information, IDI_ASTERISK},
};

Capture capture(HWND control) {
    Capture result;
    RECT area{};
    GetWindowRect(control, &area);
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return result;

    const win32::Owned<HDC, [](HDC dc) { return ReleaseDC(nullptr, dc); }> screen(GetDC(nullptr));
    const win32::Owned<HDC, &DeleteDC> memory(CreateCompatibleDC(screen.get()));
    const win32::Owned<HBITMAP, &DeleteObject> bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    COLORREF background = GetPixel(memory.get(), 0, 0);
    SelectObject(memory.get(), previous);
    result.screen = pixelsOf(memory.get(), bitmap.get(), width, height);

    const win32::Owned<HBRUSH, &DeleteObject> brush(CreateSolidBrush(background));
    for (const Candidate& candidate : kCandidates) {
        previous = SelectObject(memory.get(), bitmap.get());
        RECT all{0, 0, width, height};
        FillRect(memory.get(), &all, brush.get());
        DrawIconEx(memory.get(), 0, 0, LoadIconW(nullptr, candidate.id), 0, 0, 0, nullptr, DI_NORMAL);
        SelectObject(memory.get(), previous);
        result.drawn.push_back(pixelsOf(memory.get(), bitmap.get(), width, height));
    }
    return result;
}

}  // namespace

std::string nameOf(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None:
            return "no icon";
        case BoxIcon::Critical:
            return "critical";
        case BoxIcon::Question:
            return "question";
        case BoxIcon::Exclamation:
            return "exclamation";
        case BoxIcon::Information:
            return "information";
        case BoxIcon::Unrecognised:
            return "unrecognised icon";
    }
    return "?";
}

BoxIcon iconOfMessageBox(HWND box) {
    HWND control = iconControl(box);
    if (!control) return BoxIcon::None;
    DWORD_PTR icon = 0;
    if (!SendMessageTimeoutW(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon))
        return BoxIcon::Unrecognised;
    if (icon == 0) return BoxIcon::None;

    BoxIcon seen = BoxIcon::Unrecognised;
    waitUntil(
        [&] {
            Capture shot = capture(control);
            for (size_t i = 0; i < shot.drawn.size(); ++i)
                if (shot.drawn[i] == shot.screen) {
                    seen = kCandidates[i].icon;
                    return true;
                }
            return false;
        },
        3000, 50);
    return seen;
}

}  // namespace support
