#include "settings/config_store.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kZeroColors(130, '0');  // 64 zero bytes and their checksum

// FontImageParams defaults: 32, 32, 0, 0, 32, "MS UI Gothic", style 0x10,
// text colour 0xFFFFFF, both backgrounds 0; checksum 0x49.
const std::string kDefaultFontBlock =
    "2000000020000000000000000000000020000000"
    "4D005300200055004900200047006F007400680069006300" +
    std::string(80, '0') + "10000000FFFFFF00000000000000000049";

const std::string kDefaultText =
    "[window]\r\n"
    "newImageSize=256,256\r\n"
    "filterIndexNormal=0\r\n"
    "filterIndexMask=0\r\n"
    "[grid]\r\n"
    "wndPos=0,0\r\n"
    "size=32,32\r\n"
    "correct=0,0\r\n"
    "[colors]\r\n"
    "back=ff00ff\r\n"
    "colors=" + kZeroColors + "\r\n"
    "before=ff00ff\r\n"
    "after=000000\r\n"
    "[option]\r\n"
    "checkFileCopy=1\r\n"
    "autoResize=1\r\n"
    "copyOutOfRect=1\r\n"
    "alphaMode=0\r\n"
    "D&DActionType=3\r\n"
    "ZoomType=0\r\n"
    "Undo=100\r\n"
    "[font]\r\n"
    "data=" + kDefaultFontBlock + "\r\n"
    "[fileList]\r\n"
    "pos=0,0\r\n"
    "moveCurSel=1\r\n"
    "moveSelect=1\r\n"
    "returnSelect=1\r\n"
    "[trans]\r\n"
    "boxSize=8\r\n"
    "color1=ffffff\r\n"
    "color2=b0b0b0\r\n";

// Stored settings of a record, for comparing two records.
std::string storedOf(const Settings& s) { return writeSettingsIni(s, std::nullopt); }

}  // namespace

TEST(ConfigWrite, FirstRunWritesEveryKeyInOrderWithDefaults) {
    Settings s;
    EXPECT_EQ(writeSettingsIni(s, std::nullopt), kDefaultText);
}

TEST(ConfigWrite, PlacementComesFirstAsA44ByteBlock) {
    Settings s;
    WindowPlacement wp;
    wp.flags = 2;
    wp.showCmd = 1;
    wp.normalRight = 0x280;
    std::string text = writeSettingsIni(s, wp);
    // 44, 2, 1, six zero fields, 0x280, 0; checksum 0x2C + 2 + 1 + 0x80 + 2.
    std::string block = "2C000000" "02000000" "01000000" + std::string(48, '0') +
                        "80020000" "00000000" "B1";
    EXPECT_EQ(text, "[window]\r\nwndSize=" + block + "\r\n" + kDefaultText.substr(10));
}

TEST(ConfigWrite, ColoursAreSixLowerCaseDigits) {
    Settings s;
    s.back = 0x00FF00;
    s.after = 0x1ABCDEF;  // wider than 24 bits, as a read may leave it
    std::string text = writeSettingsIni(s, std::nullopt);
    EXPECT_NE(text.find("back=00ff00\r\n"), std::string::npos);
    EXPECT_NE(text.find("after=1abcdef\r\n"), std::string::npos);
}

TEST(ConfigWrite, KeepsForeignLinesAndUpdatesKeysWhereTheyStand) {
    Settings s;
    s.undoLimit = 7;
    std::string existing = "; kept\r\n[option]\r\nundo=5\r\nfuture=1\r\n[extra]\r\nx=y\r\n";
    std::string text = writeSettingsIni(s, std::nullopt, existing);
    EXPECT_EQ(text.rfind("; kept\r\n[option]\r\nundo=7\r\nfuture=1\r\n", 0), 0u);
    EXPECT_NE(text.find("[extra]\r\nx=y\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Undo="), std::string::npos);
}

TEST(ConfigRead, EmptyTextKeepsEveryDefault) {
    Settings s;
    EXPECT_EQ(loadSettingsFromIni("", s), std::nullopt);
    EXPECT_EQ(storedOf(s), kDefaultText);
}

TEST(ConfigRead, WrittenTextReadsBackTheSameSettings) {
    Settings a;
    a.newImageSize = {640, 480};
    a.filterIndexNormal = 2;
    a.filterIndexMask = -1;
    a.wndPos = {-100, 20};
    a.selection.gw = 16;
    a.selection.gh = 8;
    a.selection.cx = -3;
    a.selection.cy = 5;
    a.back = 0x123456;
    for (uint32_t i = 0; i < 16; ++i) a.colors[i] = 0x010101 * i;
    a.before = 0xABCDEF;
    a.after = 0x000001;
    a.checkFileCopy = false;
    a.autoResize = false;
    a.copyOutOfRect = false;
    a.alphaMode = true;
    a.ddActionType = 1;
    a.zoomType = 2;
    a.undoLimit = 16384;
    a.fontParams.cellWidth = 12;
    a.fontParams.faceName[0] = u'X';
    a.fontParams.style = 0x0F;
    a.fontParams.padding[1] = 0x55;
    a.fontParams.backColor2 = 0x808080;
    a.pos = {7, -9};
    a.moveCurSel = false;
    a.moveSelect = false;
    a.returnSelect = false;
    a.boxSize = 3;
    a.color1 = 0x0000FF;
    a.color2 = 0x00FF00;
    WindowPlacement wp;
    wp.showCmd = 3;
    wp.normalLeft = -5;

    Settings b;
    std::optional<WindowPlacement> read = loadSettingsFromIni(writeSettingsIni(a, wp), b);
    EXPECT_EQ(storedOf(b), storedOf(a));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->showCmd, 3u);
    EXPECT_EQ(read->normalLeft, -5);
    EXPECT_EQ(b.fontParams.padding[1], 0x55);
}

TEST(ConfigRead, PartialFileChangesOnlyWhatItNames) {
    Settings s;
    s.undoLimit = 42;
    loadSettingsFromIni("[trans]\r\nboxSize=4\r\n", s);
    EXPECT_EQ(s.boxSize, 4);
    EXPECT_EQ(s.undoLimit, 42);
    EXPECT_EQ(s.color1, 0xFFFFFFu);
    EXPECT_EQ(s.newImageSize, (ImageSize{256, 256}));
}

TEST(ConfigRead, NewImageSizeTakesOnlyPositiveNumbersOfACompletePair) {
    Settings s;
    loadSettingsFromIni("[window]\nnewImageSize=0,300\n", s);
    EXPECT_EQ(s.newImageSize, (ImageSize{256, 300}));
    loadSettingsFromIni("[window]\nnewImageSize=300\n", s);
    EXPECT_EQ(s.newImageSize, (ImageSize{256, 300}));
    loadSettingsFromIni("[window]\nnewImageSize=-1,-1\n", s);
    EXPECT_EQ(s.newImageSize, (ImageSize{256, 300}));
    loadSettingsFromIni("[window]\nnewImageSize=512, 64\n", s);
    EXPECT_EQ(s.newImageSize, (ImageSize{512, 64}));
}

TEST(ConfigRead, GridSizeKeepsNonPositiveValuesAndAllowsASpace) {
    Settings s;
    loadSettingsFromIni("[grid]\nsize=16,-4\n", s);
    EXPECT_EQ(s.selection.gw, 16);
    EXPECT_EQ(s.selection.gh, 32);
    loadSettingsFromIni("[grid]\nsize=16, 8\n", s);
    EXPECT_EQ(s.selection.gw, 16);
    EXPECT_EQ(s.selection.gh, 8);
    loadSettingsFromIni("[grid]\nsize=4\n", s);
    EXPECT_EQ(s.selection.gw, 16);
}

TEST(ConfigRead, OffsetAndPositionsTakeAnySignButOnlyAsAPair) {
    Settings s;
    loadSettingsFromIni("[grid]\nwndPos=-20,-30\ncorrect=-8, 0\n[fileList]\npos=5,-6\n", s);
    EXPECT_EQ(s.wndPos, (IntPair{-20, -30}));
    EXPECT_EQ(s.selection.cx, -8);
    EXPECT_EQ(s.selection.cy, 0);
    EXPECT_EQ(s.pos, (IntPair{5, -6}));
    loadSettingsFromIni("[grid]\nwndPos=1\ncorrect=x,1\n[fileList]\npos=\n", s);
    EXPECT_EQ(s.wndPos, (IntPair{-20, -30}));
    EXPECT_EQ(s.selection.cx, -8);
    EXPECT_EQ(s.pos, (IntPair{5, -6}));
}

TEST(ConfigRead, ColourReadsAnyHexSpellingAndWritesBackLowerCase) {
    for (const char* spelling : {"0x00ff00", "00FF00"}) {
        Settings s;
        loadSettingsFromIni(std::string("[colors]\nback=") + spelling + "\n", s);
        EXPECT_EQ(s.back, 0x00FF00u) << spelling;
        EXPECT_NE(storedOf(s).find("back=00ff00\r\n"), std::string::npos);
    }
}

TEST(ConfigRead, UnparsableColourKeepsTheCurrentValue) {
    Settings s;
    loadSettingsFromIni("[colors]\nbefore=green\nafter=0x\n[trans]\ncolor2=\n", s);
    EXPECT_EQ(s.before, 0xFF00FFu);
    EXPECT_EQ(s.after, 0x000000u);
    EXPECT_EQ(s.color2, 0xB0B0B0u);
}

TEST(ConfigRead, UndoCountIsFoundUnderAnySpelling) {
    for (const char* key : {"undo", "Undo", "UNDO"}) {
        Settings s;
        loadSettingsFromIni(std::string("[OPTION]\n") + key + "=250\n", s);
        EXPECT_EQ(s.undoLimit, 250) << key;
    }
}

TEST(ConfigRead, IntegerThatIsNotANumberReadsAsZero) {
    Settings s;
    loadSettingsFromIni("[option]\nUndo=many\nZoomType=-2\nD&DActionType=9\n[trans]\nboxSize=x\n",
                        s);
    EXPECT_EQ(s.undoLimit, 0);
    EXPECT_EQ(s.zoomType, -2);    // no range check
    EXPECT_EQ(s.ddActionType, 9);
    EXPECT_EQ(s.boxSize, 0);
}

TEST(ConfigRead, BooleanIsAnyNonZeroInteger) {
    Settings s;
    loadSettingsFromIni(
        "[option]\nalphaMode=2\ncheckFileCopy=0\nautoResize=no\n[fileList]\nmoveSelect=-1\n", s);
    EXPECT_TRUE(s.alphaMode);
    EXPECT_FALSE(s.checkFileCopy);
    EXPECT_FALSE(s.autoResize);  // not a number: 0
    EXPECT_TRUE(s.moveSelect);
    EXPECT_TRUE(s.copyOutOfRect);
}

TEST(ConfigRead, StructBlocksWithWrongLengthOrChecksumAreIgnored) {
    Settings s;
    std::string goodColors = "01000000" + std::string(120, '0') + "01";
    std::string badChecksum = "01000000" + std::string(120, '0') + "02";
    std::string shortBlock = "01000000" + std::string(118, '0') + "01";
    loadSettingsFromIni("[colors]\ncolors=" + badChecksum + "\n[font]\ndata=" +
                            kDefaultFontBlock.substr(2) + "\n",
                        s);
    EXPECT_EQ(s.colors[0], 0u);
    EXPECT_EQ(s.fontParams.cellWidth, 32);
    loadSettingsFromIni("[colors]\ncolors=" + shortBlock + "\n", s);
    EXPECT_EQ(s.colors[0], 0u);
    loadSettingsFromIni("[colors]\ncolors=" + goodColors + "\n", s);
    EXPECT_EQ(s.colors[0], 1u);
}

TEST(ConfigRead, PlacementIsReportedOnlyWhenTheBlockIsValid) {
    Settings s;
    std::string block = "2C000000" + std::string(80, '0') + "2C";
    EXPECT_TRUE(loadSettingsFromIni("[window]\nwndSize=" + block + "\n", s));
    block.back() = 'D';
    EXPECT_FALSE(loadSettingsFromIni("[window]\nwndSize=" + block + "\n", s));
    EXPECT_FALSE(loadSettingsFromIni("[window]\nwndSize=2C2C\n", s));
}

TEST(ConfigRead, ColorHistoryIsNotStored) {
    Settings s;
    s.colorHistory = false;
    Settings fresh;
    loadSettingsFromIni(writeSettingsIni(s, std::nullopt), fresh);
    EXPECT_TRUE(fresh.colorHistory);
}

TEST(PlacementForSaving, MinimisedWindowComesBackRestoredOrMaximised) {
    WindowPlacement wp;
    for (uint32_t minimised : {WindowPlacement::kShowMinimized, WindowPlacement::kMinimize}) {
        wp.showCmd = minimised;
        wp.flags = 0;
        EXPECT_EQ(placementForSaving(wp).showCmd, WindowPlacement::kRestore);
        wp.flags = WindowPlacement::kRestoreToMaximized;
        EXPECT_EQ(placementForSaving(wp).showCmd, WindowPlacement::kShowMaximized);
    }
    wp.showCmd = 1;  // SW_SHOWNORMAL stays
    EXPECT_EQ(placementForSaving(wp).showCmd, 1u);
    wp.showCmd = WindowPlacement::kShowMaximized;
    EXPECT_EQ(placementForSaving(wp).showCmd, WindowPlacement::kShowMaximized);
}
