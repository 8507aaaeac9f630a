// The stored settings and their read rules and written forms.
#include "settings/config_store.h"

#include <cstdio>
#include <span>
#include <type_traits>

#include "settings/ini_codec.h"

namespace {

template <typename T>
std::span<uint8_t> bytesOf(T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    return {reinterpret_cast<uint8_t*>(&value), sizeof(T)};
}

template <typename T>
std::span<const uint8_t> bytesOf(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    return {reinterpret_cast<const uint8_t*>(&value), sizeof(T)};
}

// How much of a value is read, as into a fixed buffer: pairs through 255
// characters, colours through 15; a longer value is read cut, the way the
// platform's profile functions cut it into a buffer of that size.
constexpr size_t kPairBuffer = 256;
constexpr size_t kColorBuffer = 16;

void readInt(const IniDocument& ini, const char* section, const char* key, int32_t& value) {
    if (auto v = ini.getInt(section, key)) value = *v;
}

void readBool(const IniDocument& ini, const char* section, const char* key, bool& value) {
    if (auto v = ini.getInt(section, key)) value = *v != 0;
}

void readColor(const IniDocument& ini, const char* section, const char* key, uint32_t& value) {
    auto text = ini.getString(section, key, kColorBuffer);
    if (!text) return;
    if (auto v = scanHex(*text)) value = *v;
}

// Both numbers or neither.
void readPair(const IniDocument& ini, const char* section, const char* key, int32_t& first,
              int32_t& second) {
    auto text = ini.getString(section, key, kPairBuffer);
    int32_t a = 0, b = 0;
    if (text && scanIntPair(*text, a, b)) {
        first = a;
        second = b;
    }
}

// Both must parse; then each positive number replaces its value.
void readPositivePair(const IniDocument& ini, const char* section, const char* key, int32_t& first,
                      int32_t& second) {
    auto text = ini.getString(section, key, kPairBuffer);
    int32_t a = 0, b = 0;
    if (!text || !scanIntPair(*text, a, b)) return;
    if (a > 0) first = a;
    if (b > 0) second = b;
}

std::string pairText(int32_t a, int32_t b) { return std::to_string(a) + "," + std::to_string(b); }

std::string colorText(uint32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(c));
    return text;
}

const char* boolText(bool b) { return b ? "1" : "0"; }

}  // namespace

std::optional<WindowPlacement> loadSettingsFromIni(std::string_view text, Settings& s) {
    const IniDocument ini = IniDocument::parse(text);

    std::optional<WindowPlacement> placement;
    WindowPlacement wp;  // length preset, the rest zero
    if (ini.getStruct("window", "wndSize", bytesOf(wp))) placement = wp;
    readPositivePair(ini, "window", "newImageSize", s.newImageSize.width, s.newImageSize.height);
    readInt(ini, "window", "filterIndexNormal", s.filterIndexNormal);
    readInt(ini, "window", "filterIndexMask", s.filterIndexMask);

    readPair(ini, "grid", "wndPos", s.wndPos.x, s.wndPos.y);
    readPositivePair(ini, "grid", "size", s.gridSize.x, s.gridSize.y);
    readPair(ini, "grid", "correct", s.gridCorrect.x, s.gridCorrect.y);

    readColor(ini, "colors", "back", s.back);
    ini.getStruct("colors", "colors", bytesOf(s.colors));
    readColor(ini, "colors", "before", s.before);
    readColor(ini, "colors", "after", s.after);

    readBool(ini, "option", "checkFileCopy", s.checkFileCopy);
    readBool(ini, "option", "autoResize", s.autoResize);
    readBool(ini, "option", "copyOutOfRect", s.copyOutOfRect);
    readBool(ini, "option", "alphaMode", s.alphaMode);
    readInt(ini, "option", "D&DActionType", s.ddActionType);
    readInt(ini, "option", "ZoomType", s.zoomType);
    readInt(ini, "option", "undo", s.undoLimit);  // written as "Undo"; keys ignore case

    ini.getStruct("font", "data", bytesOf(s.fontParams));

    readPair(ini, "fileList", "pos", s.pos.x, s.pos.y);
    readBool(ini, "fileList", "moveCurSel", s.moveCurSel);
    readBool(ini, "fileList", "moveSelect", s.moveSelect);
    readBool(ini, "fileList", "returnSelect", s.returnSelect);

    readInt(ini, "trans", "boxSize", s.boxSize);
    readColor(ini, "trans", "color1", s.color1);
    readColor(ini, "trans", "color2", s.color2);
    return placement;
}

std::string writeSettingsIni(const Settings& s, const std::optional<WindowPlacement>& placement,
                             std::string_view existing) {
    IniDocument ini = IniDocument::parse(existing);

    if (placement) ini.set("window", "wndSize", encodeStructBlock(bytesOf(*placement)));
    ini.set("window", "newImageSize", pairText(s.newImageSize.width, s.newImageSize.height));
    ini.set("window", "filterIndexNormal", std::to_string(s.filterIndexNormal));
    ini.set("window", "filterIndexMask", std::to_string(s.filterIndexMask));

    ini.set("grid", "wndPos", pairText(s.wndPos.x, s.wndPos.y));
    ini.set("grid", "size", pairText(s.gridSize.x, s.gridSize.y));
    ini.set("grid", "correct", pairText(s.gridCorrect.x, s.gridCorrect.y));

    ini.set("colors", "back", colorText(s.back));
    ini.set("colors", "colors", encodeStructBlock(bytesOf(s.colors)));
    ini.set("colors", "before", colorText(s.before));
    ini.set("colors", "after", colorText(s.after));

    ini.set("option", "checkFileCopy", boolText(s.checkFileCopy));
    ini.set("option", "autoResize", boolText(s.autoResize));
    ini.set("option", "copyOutOfRect", boolText(s.copyOutOfRect));
    ini.set("option", "alphaMode", boolText(s.alphaMode));
    ini.set("option", "D&DActionType", std::to_string(s.ddActionType));
    ini.set("option", "ZoomType", std::to_string(s.zoomType));
    ini.set("option", "Undo", std::to_string(s.undoLimit));

    ini.set("font", "data", encodeStructBlock(bytesOf(s.fontParams)));

    ini.set("fileList", "pos", pairText(s.pos.x, s.pos.y));
    ini.set("fileList", "moveCurSel", boolText(s.moveCurSel));
    ini.set("fileList", "moveSelect", boolText(s.moveSelect));
    ini.set("fileList", "returnSelect", boolText(s.returnSelect));

    ini.set("trans", "boxSize", std::to_string(s.boxSize));
    ini.set("trans", "color1", colorText(s.color1));
    ini.set("trans", "color2", colorText(s.color2));
    return ini.text();
}

WindowPlacement placementForSaving(WindowPlacement placement) {
    if (placement.showCmd == WindowPlacement::kShowMinimized ||
        placement.showCmd == WindowPlacement::kMinimize) {
        placement.showCmd = (placement.flags & WindowPlacement::kRestoreToMaximized)
                                ? WindowPlacement::kShowMaximized
                                : WindowPlacement::kRestore;
    }
    return placement;
}
