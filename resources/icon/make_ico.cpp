// Host tool run by the build: turns text pixel maps into a 16-colour Windows icon file.
//
//   make_ico OUT.ico MAP.txt [MAP.txt ...]
//
// Each map is a square picture, one text line per pixel row, one character per pixel:
// '0'-'9' and 'a'-'f' pick a colour of the standard VGA palette (see kPalette), '.' is transparent.
// Lines starting with '#' are comments. Every map becomes one image of the icon, in the order given,
// stored as a 4-bit bitmap with its AND mask. The output depends on nothing but the maps, so two
// builds make the same bytes.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The 16 colours of the VGA palette in the order Windows uses them, as 0xRRGGBB.
const std::uint32_t kPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

constexpr int kTransparent = -1;

struct Picture {
    int size = 0;
    std::vector<int> pixels;  // row-major from the top; a palette index or kTransparent
};

bool fail(const std::string& message) {
    std::cerr << "make_ico: " << message << "\n";
    return false;
}

bool readMap(const std::string& path, Picture& picture) {
    std::ifstream in(path);
    if (!in) return fail("cannot open " + path);
    std::vector<std::string> rows;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        for (char c : line) {
            bool known = c == '.' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
            if (!known)
                return fail(path + ":" + std::to_string(lineNumber) + ": unknown pixel '" +
                            std::string(1, c) + "'");
        }
        if (!rows.empty() && line.size() != rows[0].size())
            return fail(path + ":" + std::to_string(lineNumber) + ": row is " + std::to_string(line.size()) +
                        " pixels wide, the first row " + std::to_string(rows[0].size()));
        rows.push_back(line);
    }
    if (rows.empty()) return fail(path + ": no pixel rows");
    int size = static_cast<int>(rows.size());
    if (static_cast<int>(rows[0].size()) != size || size > 255)
        return fail(path + ": the picture must be square and smaller than 256 pixels, it is " +
                    std::to_string(rows[0].size()) + " by " + std::to_string(size));
    picture.size = size;
    picture.pixels.clear();
    for (const std::string& row : rows)
        for (char c : row)
            picture.pixels.push_back(c == '.' ? kTransparent : c <= '9' ? c - '0' : c - 'a' + 10);
    return true;
}

void put16(std::vector<unsigned char>& out, unsigned value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void put32(std::vector<unsigned char>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One image as the icon file stores it: BITMAPINFOHEADER (height doubled for the mask), palette,
// the colour rows and the AND-mask rows, both bottom-up and padded to 4 bytes.
std::vector<unsigned char> imageBytes(const Picture& p) {
    const int colourStride = (p.size * 4 + 31) / 32 * 4;
    const int maskStride = (p.size + 31) / 32 * 4;
    std::vector<unsigned char> out;
    put32(out, 40);
    put32(out, p.size);
    put32(out, p.size * 2);
    put16(out, 1);  // planes
    put16(out, 4);  // bits per pixel
    put32(out, 0);  // BI_RGB
    put32(out, (colourStride + maskStride) * p.size);
    for (int i = 0; i < 4; ++i) put32(out, 0);
    for (std::uint32_t rgb : kPalette) {
        out.push_back(rgb & 0xFF);
        out.push_back((rgb >> 8) & 0xFF);
        out.push_back((rgb >> 16) & 0xFF);
        out.push_back(0);
    }
    for (int y = p.size - 1; y >= 0; --y) {
        std::vector<unsigned char> row(colourStride, 0);
        for (int x = 0; x < p.size; ++x) {
            int index = p.pixels[y * p.size + x];
            if (index == kTransparent) index = 0;  // black under a set mask bit shows the background
            row[x / 2] |= static_cast<unsigned char>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = p.size - 1; y >= 0; --y) {
        std::vector<unsigned char> row(maskStride, 0);
        for (int x = 0; x < p.size; ++x)
            if (p.pixels[y * p.size + x] == kTransparent)
                row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make_ico OUT.ico MAP.txt [MAP.txt ...]\n";
        return 2;
    }
    std::vector<Picture> pictures(argc - 2);
    for (int i = 2; i < argc; ++i)
        if (!readMap(argv[i], pictures[i - 2])) return 1;

    std::vector<std::vector<unsigned char>> images;
    for (const Picture& p : pictures) images.push_back(imageBytes(p));

    std::vector<unsigned char> file;
    put16(file, 0);  // reserved
    put16(file, 1);  // type: icon
    put16(file, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = pictures[i].size;
        file.push_back(static_cast<unsigned char>(size));  // width
        file.push_back(static_cast<unsigned char>(size));  // height
        file.push_back(16);                                // colours in the palette
        file.push_back(0);
        put16(file, 1);  // planes
        put16(file, 4);  // bits per pixel
        put32(file, static_cast<std::uint32_t>(images[i].size()));
        put32(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() || std::fclose(out) != 0) {
        std::cerr << "make_ico: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
