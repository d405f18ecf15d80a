// The window icon inside Harbek.exe: icon group 1 with a 32x32 and a 16x16 image of 16 colours,
// and each image, drawn as the window draws it, shows exactly the pixels of its map in icon/.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "harbek_file.h"
#include "support/text.h"

namespace {

#pragma pack(push, 2)
struct GroupHeader {
    WORD reserved, type, count;
};
struct GroupEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

std::map<int, GroupEntry> groupEntriesBySize(const HarbekData& harbek) {
    std::map<int, GroupEntry> entries;
    std::string_view group = harbek.resource(MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    if (group.size() < sizeof(GroupHeader)) return entries;
    auto header = reinterpret_cast<const GroupHeader*>(group.data());
    auto entry = reinterpret_cast<const GroupEntry*>(header + 1);
    if (group.size() < sizeof(GroupHeader) + header->count * sizeof(GroupEntry)) return entries;
    for (int i = 0; i < header->count; ++i) entries[entry[i].width] = entry[i];
    return entries;
}

TEST(Icon, GroupOneHoldsA32AndA16ImageOf16Colours) {
    HarbekData harbek;
    ASSERT_NE(harbek.module(), nullptr) << "error " << GetLastError();
    std::string_view group = harbek.resource(MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_GE(group.size(), sizeof(GroupHeader)) << "no icon group 1";
    auto header = reinterpret_cast<const GroupHeader*>(group.data());
    EXPECT_EQ(header->type, 1) << "an icon, not a cursor";
    ASSERT_EQ(header->count, 2);
    ASSERT_EQ(group.size(), sizeof(GroupHeader) + 2 * sizeof(GroupEntry));

    std::map<int, GroupEntry> entries = groupEntriesBySize(harbek);
    ASSERT_EQ(entries.size(), 2u);
    for (int size : {32, 16}) {
        SCOPED_TRACE(testing::Message() << size << "x" << size);
        ASSERT_EQ(entries.count(size), 1u) << "no image of this size";
        const GroupEntry& e = entries[size];
        EXPECT_EQ(e.height, size);
        EXPECT_EQ(e.colourCount, 16);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.bitCount, 4);

        std::string_view image = harbek.resource(MAKEINTRESOURCEW(e.id), RT_ICON);
        ASSERT_EQ(image.size(), e.bytesInRes) << "image " << e.id;
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        auto bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        EXPECT_EQ(bitmap->biWidth, size);
        EXPECT_EQ(bitmap->biHeight, 2 * size) << "colour rows and mask rows";
        EXPECT_EQ(bitmap->biBitCount, 4);
        EXPECT_EQ(bitmap->biCompression, static_cast<DWORD>(BI_RGB));
        const std::size_t colourRow = (size * 4 + 31) / 32 * 4, maskRow = (size + 31) / 32 * 4;
        EXPECT_EQ(image.size(), 40 + 16 * 4 + size * (colourRow + maskRow));
    }
}

// The standard VGA palette, as COLORREF (0x00BBGGRR).
const COLORREF kPalette[16] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
};
const COLORREF kBackground = RGB(1, 2, 3);  // not in the palette: shows where the icon is clear

// The expected colour of every pixel, row by row from the top, from a pixel map of icon/.
std::vector<COLORREF> expectedPixels(const char* mapName) {
    std::ifstream in(support::windowsPathOf(std::string(HARBEK_ICON_DIR) + "/" + mapName).c_str());
    std::vector<COLORREF> pixels;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        for (char c : line)
            pixels.push_back(c == '.' ? kBackground : c <= '9' ? kPalette[c - '0'] : kPalette[c - 'a' + 10]);
    }
    return pixels;
}

// Draws the icon as LoadImageW gives it to the window, at its own size, on a 32-bit DIB.
std::vector<COLORREF> drawnPixels(HMODULE module, int size) {
    std::vector<COLORREF> pixels;
    HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    if (!icon) return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    auto quads = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < size * size; ++i) quads[i] = 0x00010203;  // kBackground as 0x00RRGGBB
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    for (int i = 0; i < size * size; ++i) {
        std::uint32_t q = quads[i];
        pixels.push_back(RGB((q >> 16) & 0xFF, (q >> 8) & 0xFF, q & 0xFF));
    }
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    DestroyIcon(icon);
    return pixels;
}

TEST(Icon, EachImageDrawsItsPixelMap) {
    HarbekData harbek;
    ASSERT_NE(harbek.module(), nullptr) << "error " << GetLastError();
    struct Image {
        int size;
        const char* map;
    };
    for (Image image : {Image{32, "harbek-32.txt"}, Image{16, "harbek-16.txt"}}) {
        SCOPED_TRACE(image.map);
        std::vector<COLORREF> expected = expectedPixels(image.map);
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(image.size * image.size));
        std::vector<COLORREF> drawn = drawnPixels(harbek.module(), image.size);
        ASSERT_EQ(drawn.size(), expected.size()) << "LoadImageW failed";
        int wrong = 0;
        for (int i = 0; i < image.size * image.size && wrong < 5; ++i)
            if (drawn[i] != expected[i]) {
                ++wrong;
                ADD_FAILURE() << "pixel (" << i % image.size << ", " << i / image.size << "): drawn 0x"
                              << std::hex << drawn[i] << ", map says 0x" << expected[i];
            }
    }
}

}  // namespace
