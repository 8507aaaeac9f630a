#pragma once
// The private-profile (INI) text format, read and written the way the
// platform's GetPrivateProfile*/WritePrivateProfile* functions treat it, so a
// config.ini may be written by either side and read by the other. Text is
// narrow: every value we write is ASCII, other bytes pass through unchanged
// (a UTF-16 file passes through as UTF-8).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
public:
    IniDocument() = default;

    // Splits the text into lines (CR, LF or CR LF). A UTF-8 byte order mark
    // is set aside and written back by text(); UTF-16 text is expected to be
    // turned into UTF-8 first (iniTextFromFileBytes).
    static IniDocument parse(std::string_view text);

    // The value of the first key of that name in the first section of that
    // name, both matched without regard to case, white space around names and
    // value removed and one pair of enclosing quotes (' or ") stripped, as
    // GetPrivateProfileString gives it. Missing when the section or key is
    // absent or the key's line has no '='.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // The same cut to what a buffer of `bufferChars` characters receives
    // (bufferChars - 1 characters); an empty value counts as missing, because
    // the platform reports it like a missing key.
    std::optional<std::string> getString(std::string_view section, std::string_view key,
                                         size_t bufferChars) const;

    // GetPrivateProfileInt: missing or empty gives nothing (the caller keeps
    // its current value); anything else is read by readProfileInteger.
    std::optional<int32_t> getInt(std::string_view section, std::string_view key) const;

    // GetPrivateProfileStruct: true and `out` filled only when the value is a
    // block of exactly out.size() bytes whose checksum matches; otherwise
    // `out` is left untouched.
    bool getStruct(std::string_view section, std::string_view key, std::span<uint8_t> out) const;

    // WritePrivateProfileString: replaces the value of the first matching key
    // in the first matching section (the key keeps the spelling it has in the
    // file); otherwise adds the key at the end of that section, or a new
    // section at the end of the text. Every other line stays as it was.
    void set(std::string_view section, std::string_view key, std::string_view value);

    // The whole text, CR LF after every line.
    std::string text() const;

private:
    struct Line {
        std::string raw;                   // the line as written, without its line break
        bool header = false;               // a "[section]" line; `name` is the section name
        std::string name;                  // section name, or key name of any other non-blank line
        std::optional<std::string> value;  // text after '=' (none without '=')
    };

    static Line makeLine(std::string raw);
    // Index of the first section header of that name, or npos.
    size_t findSection(std::string_view section) const;
    // Index of the first key of that name after the header at `header`, or npos.
    size_t findKey(size_t header, std::string_view key) const;

    std::vector<Line> lines_;
    bool utf8Mark_ = false;  // the text began with a UTF-8 byte order mark
};

// How a config.ini was stored, so that it is written back the same way.
enum class IniEncoding { Narrow, Utf16LE, Utf16BE };

struct IniFileText {
    std::string text;
    IniEncoding encoding = IniEncoding::Narrow;
};

// The text of a config.ini's bytes. UTF-16 text (byte order mark FF FE or
// FE FF) becomes UTF-8 with every code unit kept, a lone surrogate too, so
// that iniFileBytes gives the same units back; narrow text is unchanged.
IniFileText iniTextFromFileBytes(std::string_view bytes);

// The bytes of a config.ini holding `text` in `encoding`, with its byte
// order mark for UTF-16.
std::string iniFileBytes(std::string_view text, IniEncoding encoding);

// The platform's string-to-integer rule for profile integers: leading white
// space, an optional sign, a base prefix "0x", "0o" or "0b" (lower case),
// then digits of that base up to the first other character; no digits read
// as 0; the value wraps modulo 2^32.
int32_t readProfileInteger(std::string_view text);

// The C runtime's swscanf(text, L"%d,%d") (equally L"%d, %d": %d skips
// leading white space itself). True when both numbers were read.
bool scanIntPair(std::string_view text, int32_t& first, int32_t& second);

// swscanf(text, L"%x"): leading white space, optional sign, optional "0x",
// hexadecimal digits. Missing when no digit was read.
std::optional<uint32_t> scanHex(std::string_view text);

// The platform's struct encoding: two upper-case hexadecimal digits per byte
// in memory order, then two more for the sum of all bytes modulo 256.
std::string encodeStructBlock(std::span<const uint8_t> bytes);

// The reverse; false (and `out` untouched) unless `text` holds exactly
// out.size() bytes and their checksum.
bool decodeStructBlock(std::string_view text, std::span<uint8_t> out);
