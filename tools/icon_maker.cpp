// icon_maker: turns a readable text picture into a Windows .ico file.
//
//   icon_maker INPUT.txt OUTPUT.ico
//
// The build runs it on the host for every resources/icons/*.txt. The input is
// a palette followed by the pixels, one character per pixel:
//
//   ; a comment line (starts with ';')
//   palette
//   .  transparent          anything after the colour is a description
//   k  #202020              opaque colour, #RRGGBB
//   s  #3060C080            colour with alpha, #RRGGBBAA
//   pixels
//   ....kkkk....            N lines of N characters (N = 1..256), top row first
//
// The output holds one image: a 40-byte bitmap-info header whose height is
// twice the image height, 32-bit BGRA rows bottom-up, then the 1-bit AND mask
// (set where alpha is 0), rows padded to 32 bits. Plain C++, no platform
// headers: it runs on the build machine, not on Windows.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

struct Picture {
    int size = 0;
    std::vector<Rgba> pixels;  // top row first
};

bool fail(const std::string& where, int line, const std::string& what) {
    std::fprintf(stderr, "%s:%d: %s\n", where.c_str(), line, what.c_str());
    return false;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseColour(const std::string& text, Rgba& out) {
    if (text == "transparent") {
        out = {0, 0, 0, 0};
        return true;
    }
    if (text.size() != 7 && text.size() != 9) return false;
    if (text[0] != '#') return false;
    uint8_t bytes[4] = {0, 0, 0, 255};
    for (size_t i = 0; i * 2 + 1 < text.size(); ++i) {
        int hi = hexDigit(text[1 + i * 2]);
        int lo = hexDigit(text[2 + i * 2]);
        if (hi < 0 || lo < 0) return false;
        bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    out = {bytes[0], bytes[1], bytes[2], bytes[3]};
    return true;
}

std::string stripLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

bool isBlank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

bool readPicture(const std::string& path, Picture& picture) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail(path, 0, "cannot open");
    enum class Section { None, Palette, Pixels } section = Section::None;
    std::map<char, Rgba> palette;
    std::vector<std::string> rows;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = stripLineEnd(line);
        if (section != Section::Pixels && (isBlank(line) || line[0] == ';')) continue;
        if (section == Section::Pixels) {
            if (isBlank(line) || line[0] == ';') continue;
            rows.push_back(line);
            continue;
        }
        if (line == "palette") {
            section = Section::Palette;
            continue;
        }
        if (line == "pixels") {
            if (palette.empty()) return fail(path, number, "pixels before any palette entry");
            section = Section::Pixels;
            continue;
        }
        if (section != Section::Palette) return fail(path, number, "expected 'palette'");
        std::istringstream fields(line);
        std::string key, colour;
        fields >> key >> colour;
        if (key.size() != 1 || key[0] == ';')
            return fail(path, number, "palette key must be one character");
        Rgba rgba{};
        if (!parseColour(colour, rgba)) return fail(path, number, "bad colour '" + colour + "'");
        if (!palette.emplace(key[0], rgba).second)
            return fail(path, number, "palette key used twice");
    }
    if (section != Section::Pixels) return fail(path, number, "no 'pixels' section");
    const int size = static_cast<int>(rows.size());
    if (size < 1 || size > 256) return fail(path, number, "need 1 to 256 pixel rows");
    picture.size = size;
    picture.pixels.clear();
    for (int y = 0; y < size; ++y) {
        if (static_cast<int>(rows[y].size()) != size)
            return fail(path, 0,
                        "pixel row " + std::to_string(y) + " is not " + std::to_string(size) +
                            " characters wide");
        for (char c : rows[y]) {
            auto found = palette.find(c);
            if (found == palette.end())
                return fail(path, 0,
                            std::string("pixel row ") + std::to_string(y) + ": '" + c +
                                "' is not in the palette");
            picture.pixels.push_back(found->second);
        }
    }
    return true;
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::vector<uint8_t> encodeIcon(const Picture& picture) {
    const uint32_t n = static_cast<uint32_t>(picture.size);
    const uint32_t xorBytes = n * n * 4;
    const uint32_t maskStride = ((n + 31) / 32) * 4;
    const uint32_t andBytes = maskStride * n;
    const uint32_t imageBytes = 40 + xorBytes + andBytes;

    std::vector<uint8_t> out;
    // ICONDIR
    put16(out, 0);  // reserved
    put16(out, 1);  // type: icon
    put16(out, 1);  // one image
    // ICONDIRENTRY (256 is written as 0)
    out.push_back(static_cast<uint8_t>(n == 256 ? 0 : n));
    out.push_back(static_cast<uint8_t>(n == 256 ? 0 : n));
    out.push_back(0);  // colour count: none for 32 bits
    out.push_back(0);  // reserved
    put16(out, 1);     // planes
    put16(out, 32);    // bits per pixel
    put32(out, imageBytes);
    put32(out, 6 + 16);  // offset of the image
    // BITMAPINFOHEADER: the height counts the XOR image and the AND mask.
    put32(out, 40);
    put32(out, n);
    put32(out, n * 2);
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, 0);   // BI_RGB
    put32(out, xorBytes + andBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    // XOR image: BGRA, bottom row first.
    for (uint32_t row = 0; row < n; ++row) {
        const uint32_t y = n - 1 - row;
        for (uint32_t x = 0; x < n; ++x) {
            const Rgba& p = picture.pixels[y * n + x];
            // Fully transparent pixels are written black, as the platform expects
            // for the masked-out part of an icon.
            if (p.a == 0) {
                put32(out, 0);
                continue;
            }
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
            out.push_back(p.a);
        }
    }
    // AND mask: 1 = transparent, most significant bit first, bottom row first.
    for (uint32_t row = 0; row < n; ++row) {
        const uint32_t y = n - 1 - row;
        std::vector<uint8_t> bits(maskStride, 0);
        for (uint32_t x = 0; x < n; ++x)
            if (picture.pixels[y * n + x].a == 0)
                bits[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), bits.begin(), bits.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: icon_maker INPUT.txt OUTPUT.ico\n");
        return 2;
    }
    Picture picture;
    if (!readPicture(argv[1], picture)) return 1;
    const std::vector<uint8_t> bytes = encodeIcon(picture);
    const std::string target = argv[2];
    const std::string temporary = target + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.good()) {
            std::fprintf(stderr, "%s: write failed\n", temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::fprintf(stderr, "%s: cannot replace\n", target.c_str());
        return 1;
    }
    return 0;
}
