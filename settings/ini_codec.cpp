// The private-profile text format. The platform keeps a file as lines; a
// write changes one line or adds one, which is what lets a user's comments
// and unknown keys in config.ini survive our saves.
#include "settings/ini_codec.h"

#include <algorithm>

namespace {

// White space as the profile functions see it (including ^Z, the DOS end mark).
bool isProfileSpace(char c) { return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' '; }

// White space as the C runtime's scanf sees it.
bool isScanSpace(char c) { return c == ' ' || (c >= 0x09 && c <= 0x0d); }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isProfileSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isProfileSpace(s.back())) s.remove_suffix(1);
    return s;
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

// Value of a digit in bases up to 36, or 99 for any other character.
unsigned digitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 10);
    return 99;
}

int hexNibble(char c) {
    unsigned v = digitValue(c);
    return v < 16 ? static_cast<int>(v) : -1;
}

// One scanf integer conversion (%d with base 10, %x with base 16) starting at
// `pos`; advances `pos` past what it read. Values wrap modulo 2^32 as the
// C runtime's accumulator does.
std::optional<uint32_t> scanInteger(std::string_view text, size_t& pos, unsigned base) {
    while (pos < text.size() && isScanSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    bool sawDigit = false;
    if (base == 16 && pos < text.size() && text[pos] == '0') {
        ++pos;
        sawDigit = true;
        if (pos < text.size() && (text[pos] == 'x' || text[pos] == 'X')) {
            ++pos;
            sawDigit = false;  // "0x" alone is not a number
        }
    }
    uint32_t value = 0;
    while (pos < text.size() && digitValue(text[pos]) < base) {
        value = value * base + digitValue(text[pos]);
        ++pos;
        sawDigit = true;
    }
    if (!sawDigit) return std::nullopt;
    return negative ? 0u - value : value;
}

}  // namespace

IniDocument::Line IniDocument::makeLine(std::string raw) {
    Line line;
    std::string_view body = trim(raw);
    if (!body.empty() && body.front() == '[') {
        size_t close = body.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.header = true;
            line.name = std::string(trim(body.substr(1, close - 1)));
        }
    }
    if (!line.header && !body.empty()) {
        size_t eq = body.find('=');
        if (eq == std::string_view::npos) {
            line.name = std::string(body);
        } else {
            line.name = std::string(trim(body.substr(0, eq)));
            line.value = std::string(trim(body.substr(eq + 1)));
        }
    }
    line.raw = std::move(raw);
    return line;
}

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument doc;
    doc.utf8Mark_ = text.starts_with("\xEF\xBB\xBF");
    if (doc.utf8Mark_) text.remove_prefix(3);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        doc.lines_.push_back(makeLine(std::string(text.substr(start, end - start))));
        start = end;
        if (start < text.size() && text[start] == '\r') ++start;
        if (start < text.size() && text[start] == '\n') ++start;
    }
    return doc;
}

size_t IniDocument::findSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].header && equalsNoCase(lines_[i].name, section)) return i;
    }
    return std::string::npos;
}

size_t IniDocument::findKey(size_t header, std::string_view key) const {
    for (size_t i = header + 1; i < lines_.size() && !lines_[i].header; ++i) {
        if (!lines_[i].name.empty() && equalsNoCase(lines_[i].name, key)) return i;
    }
    return std::string::npos;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    // Only the first section of a name is searched, as the platform does.
    size_t header = findSection(section);
    if (header == std::string::npos) return std::nullopt;
    size_t at = findKey(header, key);
    if (at == std::string::npos || !lines_[at].value) return std::nullopt;
    std::string v = *lines_[at].value;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return v;
}

std::optional<std::string> IniDocument::getString(std::string_view section, std::string_view key,
                                                  size_t bufferChars) const {
    std::optional<std::string> v = value(section, key);
    if (!v || bufferChars == 0) return std::nullopt;
    if (v->size() > bufferChars - 1) v->resize(bufferChars - 1);
    if (v->empty()) return std::nullopt;
    return v;
}

std::optional<int32_t> IniDocument::getInt(std::string_view section, std::string_view key) const {
    // GetPrivateProfileInt reads through a buffer of 30 characters.
    std::optional<std::string> v = getString(section, key, 30);
    if (!v) return std::nullopt;
    return readProfileInteger(*v);
}

bool IniDocument::getStruct(std::string_view section, std::string_view key,
                            std::span<uint8_t> out) const {
    std::optional<std::string> v = value(section, key);
    return v && decodeStructBlock(*v, out);
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    size_t header = findSection(section);
    if (header == std::string::npos) {
        lines_.push_back(makeLine("[" + std::string(section) + "]"));
        lines_.push_back(makeLine(std::string(key) + "=" + std::string(value)));
        return;
    }
    size_t at = findKey(header, key);
    if (at != std::string::npos) {
        lines_[at] = makeLine(lines_[at].name + "=" + std::string(value));
        return;
    }
    // After the section's last non-blank line, so blank lines that separate
    // it from the next section stay between them.
    size_t insertAt = header + 1;
    for (size_t i = header + 1; i < lines_.size() && !lines_[i].header; ++i) {
        if (!trim(lines_[i].raw).empty()) insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  makeLine(std::string(key) + "=" + std::string(value)));
}

std::string IniDocument::text() const {
    // A file that said it is UTF-8 keeps saying so.
    std::string out = utf8Mark_ ? "\xEF\xBB\xBF" : "";
    for (const Line& line : lines_) {
        out += line.raw;
        out += "\r\n";
    }
    return out;
}

IniFileText iniTextFromFileBytes(std::string_view bytes) {
    const bool little = bytes.starts_with("\xFF\xFE");
    if (!little && !bytes.starts_with("\xFE\xFF")) return {std::string(bytes), IniEncoding::Narrow};
    IniFileText file{{}, little ? IniEncoding::Utf16LE : IniEncoding::Utf16BE};
    std::string& out = file.text;
    out.reserve(bytes.size() / 2);
    auto unitAt = [&](size_t i) -> uint32_t {
        const auto lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
        const auto hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
        return lo | hi << 8;
    };
    auto put = [&](uint32_t byte) { out += static_cast<char>(byte); };
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 &&
            unitAt(i + 2) < 0xE000) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
            i += 2;
        }
        if (unit < 0x80) {
            put(unit);
        } else if (unit < 0x800) {
            put(0xC0 | unit >> 6), put(0x80 | (unit & 0x3F));
        } else if (unit < 0x10000) {
            put(0xE0 | unit >> 12), put(0x80 | (unit >> 6 & 0x3F)), put(0x80 | (unit & 0x3F));
        } else {
            put(0xF0 | unit >> 18), put(0x80 | (unit >> 12 & 0x3F));
            put(0x80 | (unit >> 6 & 0x3F)), put(0x80 | (unit & 0x3F));
        }
    }
    return file;
}

std::string iniFileBytes(std::string_view text, IniEncoding encoding) {
    if (encoding == IniEncoding::Narrow) return std::string(text);
    const bool little = encoding == IniEncoding::Utf16LE;
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    out.reserve(2 + text.size() * 2);
    auto putUnit = [&](uint32_t unit) {
        const char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>(unit >> 8);
        out += little ? lo : hi;
        out += little ? hi : lo;
    };
    auto byteAt = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    for (size_t i = 0; i < text.size();) {
        const uint32_t lead = byteAt(i);
        // Sequence length from the lead byte; a byte that starts none (which
        // our own writing never makes) stands for itself.
        size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        for (size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || (byteAt(i + k) & 0xC0) != 0x80) length = 0;
        }
        if (length <= 1) {
            putUnit(lead);
            ++i;
            continue;
        }
        uint32_t point = lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) point = point << 6 | (byteAt(i + k) & 0x3F);
        i += length;
        if (point < 0x10000) {
            putUnit(point);
        } else {
            putUnit(0xD800 + ((point - 0x10000) >> 10));
            putUnit(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    return out;
}

int32_t readProfileInteger(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= ' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    unsigned base = 10;
    if (text.size() - pos >= 2 && text[pos] == '0') {
        switch (text[pos + 1]) {
        case 'x': base = 16; break;
        case 'o': base = 8; break;
        case 'b': base = 2; break;
        default: break;
        }
        if (base != 10) pos += 2;
    }
    uint32_t value = 0;
    for (; pos < text.size() && digitValue(text[pos]) < base; ++pos) {
        value = value * base + digitValue(text[pos]);
    }
    return static_cast<int32_t>(negative ? 0u - value : value);
}

bool scanIntPair(std::string_view text, int32_t& first, int32_t& second) {
    size_t pos = 0;
    std::optional<uint32_t> a = scanInteger(text, pos, 10);
    if (!a || pos >= text.size() || text[pos] != ',') return false;
    ++pos;
    std::optional<uint32_t> b = scanInteger(text, pos, 10);
    if (!b) return false;
    first = static_cast<int32_t>(*a);
    second = static_cast<int32_t>(*b);
    return true;
}

std::optional<uint32_t> scanHex(std::string_view text) {
    size_t pos = 0;
    return scanInteger(text, pos, 16);
}

std::string encodeStructBlock(std::span<const uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2 + 2);
    unsigned sum = 0;
    auto put = [&](unsigned b) {
        out += kHex[(b >> 4) & 0xF];
        out += kHex[b & 0xF];
    };
    for (uint8_t b : bytes) {
        put(b);
        sum += b;
    }
    put(sum & 0xFF);
    return out;
}

bool decodeStructBlock(std::string_view text, std::span<uint8_t> out) {
    if (text.size() != out.size() * 2 + 2) return false;
    std::vector<uint8_t> bytes(out.size() + 1);
    for (size_t i = 0; i < bytes.size(); ++i) {
        int hi = hexNibble(text[2 * i]);
        int lo = hexNibble(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
    unsigned sum = 0;
    for (size_t i = 0; i < out.size(); ++i) sum += bytes[i];
    if ((sum & 0xFF) != bytes.back()) return false;
    std::copy(bytes.begin(), bytes.end() - 1, out.begin());
    return true;
}
