// The compiled resources of plimsett.rc, read back through the platform:
// menus item by item (ids, order, separators, texts), the accelerator table
// entry by entry, the eleven icons, the version block and the manifest.
// win_tests links the same resource object as plimsett.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

HINSTANCE module() { return GetModuleHandleW(nullptr); }

// One expected menu entry: a command, a separator or a submenu.
struct Item {
    UINT id = 0;            // command id; 0 for a separator or a submenu
    std::wstring text;      // whole item text, shortcut after a tab
    std::vector<Item> sub;  // items of a submenu
    bool separator = false;
};

Item cmd(UINT id, const wchar_t* text) { return Item{id, text, {}, false}; }
Item line() { return Item{0, L"", {}, true}; }
Item submenu(const wchar_t* text, std::vector<Item> items) {
    return Item{0, text, std::move(items), false};
}

std::string narrow(const std::wstring& text) {
    const int n = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), n, out.data(), size, nullptr, nullptr);
    return out;
}

// Compares a menu with the expected items, recursing into submenus.
void expectMenu(HMENU menu, const std::vector<Item>& expected, const std::wstring& path) {
    SCOPED_TRACE(narrow(path));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const Item& want = expected[i];
        SCOPED_TRACE("position " + std::to_string(i));
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = static_cast<UINT>(std::size(text));
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        if (want.separator) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << "expected a separator: " << narrow(text);
            continue;
        }
        EXPECT_FALSE(info.fType & MFT_SEPARATOR);
        EXPECT_EQ(narrow(text), narrow(want.text));
        if (!want.sub.empty()) {
            ASSERT_NE(info.hSubMenu, nullptr) << narrow(want.text) << " should open a submenu";
            expectMenu(info.hSubMenu, want.sub, path + L" > " + want.text);
        } else {
            EXPECT_EQ(info.hSubMenu, nullptr);
            EXPECT_EQ(info.wID, want.id) << narrow(want.text);
        }
    }
}

// A menu loaded from the resources and destroyed at the end of a test.
struct LoadedMenu {
    HMENU menu;
    explicit LoadedMenu(int id) : menu(LoadMenuW(module(), MAKEINTRESOURCEW(id))) {}
    ~LoadedMenu() {
        if (menu) DestroyMenu(menu);
    }
    LoadedMenu(const LoadedMenu&) = delete;
    LoadedMenu& operator=(const LoadedMenu&) = delete;
};

std::vector<Item> colorSwapItems() {
    return {cmd(ID_COLOR_SWAP_RBG, L"RGB -> RBG(&1)"), cmd(ID_COLOR_SWAP_GRB, L"RGB -> GRB(&2)"),
            cmd(ID_COLOR_SWAP_GBR, L"RGB -> GBR(&3)"), cmd(ID_COLOR_SWAP_BRG, L"RGB -> BRG(&4)"),
            cmd(ID_COLOR_SWAP_BGR, L"RGB -> BGR(&5)")};
}

// The main menu, with the shortcut texts of its accelerators.
std::vector<Item> expectedMainMenu() {
    return {
        submenu(
            L"ファイル(&F)",
            {cmd(40210, L"新規ウィンドウ(&W)"), line(), cmd(40200, L"新規作成(&N)\tCtrl+N"),
             cmd(40201, L"開く(&O)\tCtrl+O"), cmd(40202, L"クリップボードを開く(&B)\tCtrl+Shift+O"),
             line(), cmd(40203, L"上書き保存(&S)\tCtrl+S"),
             cmd(40204, L"名前を付けて保存(&A)\tCtrl+Shift+S"), line(),
             cmd(40205, L"終了(&X)\tCtrl+Q")}),
        submenu(
            L"編集(&E)",
            {cmd(40100, L"元に戻す(&U)\tCtrl+Z"), cmd(40101, L"やり直し(&R)\tCtrl+Y"), line(),
             cmd(40102, L"切り取り(&T)\tCtrl+X"), cmd(40103, L"コピー(&C)\tCtrl+C"),
             cmd(40104, L"貼り付け(&V)\tCtrl+V"), cmd(40105, L"選択範囲を超えて貼り付け"),
             cmd(40108, L"削除(&D)\tDelete"), line(), cmd(40106, L"半透明合成(&V)\tCtrl+Shift+V"),
             cmd(40107, L"下地不透明で半透明合成"), line(), cmd(40109, L"選択解除(&L)\tCtrl+D"),
             cmd(40110, L"すべて選択(&A)\tCtrl+A"), line(), cmd(40150, L"ファイルへ出力(&O)"),
             cmd(40151, L"ファイルから貼り付け(&F)")}),
        submenu(L"色(&C)",
                {cmd(40120, L"不透明化(&N)"), cmd(40126, L"指定色を透明化(&S)"), line(),
                 cmd(40124, L"マスクをファイルに出力(&O)"), cmd(40122, L"マスクをコピー(&C)"),
                 cmd(40121, L"マスクとしてファイルから貼り付け(&F)"),
                 cmd(40123, L"マスクとして貼り付け(&V)"), line(), cmd(40125, L"色反転(&I)\tCtrl+I"),
                 cmd(40127, L"指定色を変更(&T)\tCtrl+T"),
                 submenu(L"色の入れ替え(&C)", colorSwapItems()), cmd(40140, L"使用色カウント(&U)"),
                 line(), cmd(40141, L"左右反転(&H)"), cmd(40142, L"上下反転(&J)"), line(),
                 cmd(40143, L"透明度を反映する(&A)")}),
        submenu(L"表示(&V)",
                {cmd(40300, L"x0.5(&0)"), cmd(40301, L"x1(&1)\t\\"), cmd(40302, L"x2(&2)"),
                 cmd(40304, L"x4(&4)"), cmd(40306, L"x6(&6)"), cmd(40308, L"x8(&8)"),
                 cmd(40309, L"x16(&16)"), line(), cmd(40310, L"+ (&+)\tCtrl+PageUp"),
                 cmd(40311, L"-  (&-)\tCtrl+PageDown")}),
        submenu(
            L"オプション(&O)",
            {cmd(40002, L"設定(&C)\tCtrl+E"),
             submenu(L"グリッドサイズ(&G)",
                     {cmd(40350, L"グリッド設定(&C)\tCtrl+W"),
                      cmd(40351, L"現在の選択範囲で設定(&G)\tCtrl+G"), line(),
                      cmd(40360, L"  1 x   1(&1)"), cmd(40361, L"  2 x   2(&2)"),
                      cmd(40362, L"  4 x   4(&3)"), cmd(40363, L"  8 x   8(&4)"),
                      cmd(40364, L" 16 x  16(&5)"), cmd(40365, L" 32 x  32(&6)"),
                      cmd(40366, L" 64 x  64(&7)"), cmd(40367, L"128 x 128(&8)"),
                      cmd(40368, L"256 x 256(&9)"), cmd(40369, L"512 x 512(&0)")}),
             line(), cmd(40005, L"フォント画像生成(&F)"), cmd(40006, L"コピーデータビューア(&W)"),
             cmd(40007, L"ファイルリストの表示(&L)"), line(), cmd(40012, L"コピーデータを保存(&S)"),
             cmd(40011, L"コピーデータのクリア"), cmd(40010, L"アンドゥバッファのクリア")}),
        submenu(L"ヘルプ(&H)", {cmd(40004, L"バージョン(&V)")}),
    };
}

// The four popup menus, at positions 0 to 3.
std::vector<Item> expectedPopupMenus() {
    return {
        submenu(L"popup menu",
                {cmd(40100, L"元に戻す(&U)\tCtrl+Z"), cmd(40101, L"やり直し(&R)\tCtrl+Y"), line(),
                 cmd(40102, L"切り取り(&T)\tCtrl+X"), cmd(40103, L"コピー(&C)\tCtrl+C"),
                 cmd(40104, L"貼り付け(&V)\tCtrl+V"), cmd(40106, L"半透明合成(&V)\tCtrl+Shift+V"),
                 cmd(40108, L"削除(&D)\tDelete"), line(), cmd(40120, L"不透明化(&N)"), line(),
                 cmd(40150, L"ファイルへ出力(&O)"), cmd(40151, L"ファイルから貼り付け(&F)")}),
        submenu(L"drag and drop", {cmd(40400, L"コピー(&C)"), cmd(40401, L"貼り付け(&V)"),
                                   cmd(40402, L"開く(&O)"), cmd(40403, L"マスクとして貼り付け")}),
        submenu(L"clipboard",
                {cmd(40102, L"切り取り(&T)\tCtrl+X"), cmd(40103, L"コピー(&C)\tCtrl+C"),
                 cmd(40104, L"貼り付け(&V)\tCtrl+V"), cmd(40105, L"選択範囲を超えて貼り付け"),
                 cmd(40106, L"半透明合成(&V)\tCtrl+Shift+V"), cmd(40107, L"下地不透明で半透明合成"),
                 line(), cmd(40202, L"クリップボードを開く(&B)\tCtrl+Shift+O"), line(),
                 cmd(40123, L"マスクとして貼り付け(&V)"), line(),
                 cmd(40006, L"コピーデータビューア(&W)"), cmd(40012, L"コピーデータの保存(&S)"),
                 cmd(40011, L"コピーデータのクリア")}),
        submenu(L"color",
                {cmd(40120, L"不透明化(&N)"), cmd(40126, L"指定色を透明化(&S)"), line(),
                 cmd(40125, L"色反転(&I)\tCtrl+I"), cmd(40127, L"指定色を変更(&T)\tCtrl+T"),
                 submenu(L"色の入れ替え(&C)", colorSwapItems()), line(),
                 cmd(40140, L"使用色カウント(&U)"), cmd(40143, L"透明度を反映する(&A)")}),
    };
}

// The icon drawn at 16 x 16 over one colour, as 0x00RRGGBB pixels from the
// top row down; empty when it cannot be loaded or drawn.
std::vector<uint32_t> drawIcon(int id, uint32_t background) {
    std::vector<uint32_t> out;
    HICON icon = static_cast<HICON>(
        LoadImageW(module(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    BITMAPINFO info{};
    BITMAPINFOHEADER& h = info.bmiHeader;
    h.biSize = sizeof h;
    h.biWidth = 16;
    h.biHeight = -16;  // top-down
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    uint32_t* pixels = nullptr;
    HBITMAP bitmap =
        CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
    if (icon && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        std::fill(pixels, pixels + 256, background);
        if (DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL)) {
            GdiFlush();
            for (int i = 0; i < 256; ++i) out.push_back(pixels[i] & 0x00FFFFFF);
        }
        SelectObject(dc, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
    if (icon) DestroyIcon(icon);
    return out;
}

TEST(ResourcesMenu, MainMenuHasEveryItemInOrder) {
    LoadedMenu main(IDR_MENU_MAIN);
    expectMenu(main.menu, expectedMainMenu(), L"IDR_MENU_MAIN");
}

TEST(ResourcesMenu, PopupMenusHaveEveryItemInOrderAtTheirNamedPositions) {
    LoadedMenu popup(IDR_MENU_POPUP);
    expectMenu(popup.menu, expectedPopupMenus(), L"IDR_MENU_POPUP");
    const std::pair<int, const wchar_t*> positions[] = {{POPUP_POS_CANVAS, L"popup menu"},
                                                        {POPUP_POS_DROP, L"drag and drop"},
                                                        {POPUP_POS_CLIPBOARD, L"clipboard"},
                                                        {POPUP_POS_COLOR, L"color"}};
    for (const auto& [position, caption] : positions) {
        wchar_t text[64] = {};
        GetMenuStringW(popup.menu, static_cast<UINT>(position), text,
                       static_cast<int>(std::size(text)), MF_BYPOSITION);
        EXPECT_EQ(narrow(text), narrow(caption)) << "position " << position;
    }
}

TEST(ResourcesAccelerators, TableHoldsTheThirtyOneKeysInOrder) {
    HACCEL table = LoadAcceleratorsW(module(), MAKEINTRESOURCEW(IDR_ACCELERATOR1));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
    DestroyAcceleratorTable(table);

    const BYTE key = FVIRTKEY | FNOINVERT, ctrl = key | FCONTROL, shift = key | FSHIFT;
    const BYTE ctrlShift = key | FCONTROL | FSHIFT;
    const ACCEL expected[] = {
        {ctrl, 'W', 40350},       {ctrl, 'G', 40351},      {ctrl, 'T', 40421},
        {key, 'T', 40410},        {shift, 'T', 40411},     {ctrl, 'E', 40002},
        {ctrl, 'Z', 40100},       {ctrlShift, 'Z', 40101}, {ctrl, 'Y', 40101},
        {ctrl, 'X', 40102},       {ctrl, 'C', 40103},      {ctrl, 'V', 40104},
        {ctrlShift, 'V', 40106},  {key, VK_DELETE, 40108}, {ctrl, 'D', 40109},
        {ctrl, 'A', 40110},       {ctrlShift, 'A', 40111}, {ctrl, 'I', 40125},
        {ctrl, 'N', 40200},       {ctrl, 'O', 40201},      {ctrlShift, 'O', 40202},
        {ctrl, 'S', 40203},       {ctrlShift, 'S', 40204}, {ctrl, 'Q', 40205},
        {key, 0xDC, 40301},       {key, VK_PRIOR, 40320},  {key, VK_NEXT, 40321},
        {shift, VK_PRIOR, 40322}, {shift, VK_NEXT, 40323}, {ctrl, VK_PRIOR, 40310},
        {ctrl, VK_NEXT, 40311},
    };
    static_assert(std::size(expected) == 31);
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_EQ(entries[i].fVirt, expected[i].fVirt);
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].cmd, expected[i].cmd);
    }
}

TEST(ResourcesIcons, ElevenIconsLoadAtSixteenBySixteen) {
    for (int id = IDI_APP; id <= IDI_FILELIST; ++id) {
        SCOPED_TRACE("icon " + std::to_string(id));
        HICON icon = static_cast<HICON>(
            LoadImageW(module(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        ASSERT_NE(info.hbmColor, nullptr);
        BITMAP bitmap{};
        EXPECT_EQ(GetObjectW(info.hbmColor, sizeof bitmap, &bitmap), int{sizeof bitmap});
        EXPECT_EQ(bitmap.bmWidth, 16);
        EXPECT_EQ(bitmap.bmHeight, 16);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

// The icons come from our own writer: drawing them proves that rows run the
// right way up, that transparent pixels leave the background alone and that
// the faded dots of IDI_ALPHA_ON keep their partial alpha.
TEST(ResourcesIcons, IconsDrawTheirPicturesUprightOverTheBackground) {
    const uint32_t magenta = 0x00FF00FF;
    const struct {
        int id, x, y;
        uint32_t rgb;
    } probes[] = {
        {IDI_POSITION, 0, 0, 0x000000},     // arrow tip, top left
        {IDI_POSITION, 15, 0, magenta},     // transparent, top right
        {IDI_POSITION, 1, 8, 0xFFFFFF},     // arrow body
        {IDI_POSITION, 15, 15, magenta},    // transparent, bottom right
        {IDI_ALPHA_OFF, 7, 5, 0xE53935},    // red dot at the top
        {IDI_ALPHA_OFF, 3, 12, 0x43A047},   // green dot at the bottom left
        {IDI_ALPHA_OFF, 11, 12, 0x1E6FE0},  // blue dot at the bottom right
        {IDI_ALPHA_OFF, 0, 0, magenta},     // transparent corner
        {IDI_APP, 0, 0, 0x2B3A4F},          // window frame
        {IDI_APP, 3, 4, 0xE53935},          // red square, top left
        {IDI_APP, 10, 11, 0xFBC02D},        // yellow square, bottom right
    };
    for (const auto& p : probes) {
        SCOPED_TRACE(testing::Message() << "icon " << p.id << " at " << p.x << "," << p.y);
        const std::vector<uint32_t> pixels = drawIcon(p.id, magenta);
        ASSERT_EQ(pixels.size(), 256u);
        EXPECT_EQ(pixels[p.y * 16 + p.x], p.rgb);
    }
    // Over white, the faded right half of the red dot is lighter than its left half.
    const std::vector<uint32_t> on = drawIcon(IDI_ALPHA_ON, 0x00FFFFFF);
    ASSERT_EQ(on.size(), 256u);
    EXPECT_EQ(on[5 * 16 + 6], 0xE53935u);
    const uint32_t faded = on[5 * 16 + 9];
    EXPECT_GE(faded >> 16, 0xE5u);  // every channel rises toward white
    EXPECT_GT((faded >> 8) & 0xFF, 0x39u + 0x40);
    EXPECT_GT(faded & 0xFF, 0x35u + 0x40);
}

TEST(ResourcesVersion, ProductNameIsPlimsett) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
    wchar_t* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104b0\\ProductName",
                               reinterpret_cast<void**>(&value), &length));
    EXPECT_EQ(narrow(value), "Plimsett");
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(ResourcesManifest, AsksForCommonControlsSix) {
    HRSRC found = FindResourceW(module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    HGLOBAL loaded = LoadResource(module(), found);
    ASSERT_NE(loaded, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(loaded)),
                               SizeofResource(module(), found));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
}

}  // namespace
