// The font image generator dialog: every control change is written to the
// parameters at once and the sheet is drawn again from them.
#include "dialogs/font_image_dialog.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <string>

#include "app/message_boxes.h"
#include "app/process_icons.h"
#include "app/wnd_base.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/font_sheet.h"
#include "edit/pixel_ops.h"
#include "image/clipboard_exchange.h"
#include "image/file_dialogs.h"
#include "image/image_writer.h"
#include "image/scoped_handles.h"
#include "resources/resource.h"
#include "settings/color_picker.h"
#include "settings/settings.h"

namespace {

// Sent by the dialog to itself after every parameter change.
constexpr UINT kMsgRegenerate = WM_USER + 1;

constexpr int32_t kMaxField = 8192;  // the up-down ranges: 1 ... 8192, offsets from -8192

constexpr struct {
    int id;
    uint8_t bit;
} kStyleBoxes[] = {
    {IDC_FONT_BOLD, FontImageParams::kBold},
    {IDC_FONT_ITALIC, FontImageParams::kItalic},
    {IDC_FONT_UNDERLINE, FontImageParams::kUnderline},
    {IDC_FONT_ANTIALIAS, FontImageParams::kAntiAliased},
};

const RECT kPreviewArea{kPreviewLeft, kPreviewTop, kPreviewLeft + kPreviewWidth,
                        kPreviewTop + kPreviewHeight};

DIBSection& sheet() {
    static DIBSection theSheet;
    return theSheet;
}

FontImageParams& params() { return settings().fontParams; }

// Puts back the font the sheet's context had before ours, and deletes ours.
void dropFont(DIBSection& s) {
    if (!s.font) return;
    SelectObject(s.dc, s.previousFont);
    DeleteObject(s.font);
    s.font = nullptr;
    s.previousFont = nullptr;
}

// The generator's font from the parameters, selected into the sheet. On
// failure the context keeps its own first font.
bool makeFont(DIBSection& s, const FontImageParams& p) {
    dropFont(s);
    const FontRequest request = fontRequestOf(p);
    LOGFONTW description{};
    description.lfHeight = request.height;
    description.lfWeight = request.weight;
    description.lfItalic = request.italic;
    description.lfUnderline = request.underline;
    description.lfStrikeOut = request.strikeOut;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = request.antiAliased ? ANTIALIASED_QUALITY : DEFAULT_QUALITY;
    request.faceName.copy(reinterpret_cast<char16_t*>(description.lfFaceName), kFaceNameMax);
    ScopedGdiObject<HFONT> font(CreateFontIndirectW(&description));
    if (!font.get() || !s.selectFont(font.get())) return false;
    font.release();                // the sheet owns it now
    SetBkMode(s.dc, TRANSPARENT);  // glyphs without a background box
    return true;
}

// Only a sheet of the size the cells need is drawn: after a cell size it
// could not take, the last good sheet stays as it was.
void drawSheet(DIBSection& s, const FontImageParams& p) {
    const std::optional<ImageSize> size = sheetSizeFor(p);
    if (!s.isValid() || !size || s.width() != size->width || s.height() != size->height) return;
    GdiFlush();  // GDI may still hold drawing into these pixels back
    fillCellBackgrounds(s, p);
    SetTextColor(s.dc, p.textColor);
    for (int32_t row = 0; row < kSheetRows; ++row) {
        for (int32_t column = 0; column < kSheetColumns; ++column) {
            const wchar_t code = sheetCode(column, row);
            SIZE extent{};
            GetTextExtentPoint32W(s.dc, &code, 1, &extent);
            const GlyphOrigin at = glyphOrigin(p, column, row, extent.cx);
            TextOutW(s.dc, at.x, at.y, &code, 1);
        }
    }
    GdiFlush();
    // Text output leaves alpha 0 behind; the sheet is opaque all over.
    s.makeOpaqueRect(0, 0, s.width(), s.height());
}

int CALLBACK addFontName(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM list) {
    const auto* full = reinterpret_cast<const ENUMLOGFONTEXW*>(font);
    SendMessageW(reinterpret_cast<HWND>(list), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(full->elfFullName));
    return 1;
}

class FontImageDialog : public DialogBase {
public:
    explicit FontImageDialog(const Document& doc) : doc_(doc) {}

    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_INITDIALOG: onInitDialog(); return TRUE;
        case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_PAINT: onPaint(); return TRUE;
        case WM_LBUTTONDOWN: onButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return TRUE;
        case WM_MOUSEMOVE: onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return TRUE;
        case WM_LBUTTONUP:
            if (GetCapture() == hwnd) ReleaseCapture();
            anchor_.reset();
            return TRUE;
        case WM_CAPTURECHANGED: anchor_.reset(); return TRUE;
        case kMsgRegenerate: regenerate(); return TRUE;
        }
        return FALSE;
    }

private:
    void onInitDialog() {
        setSmallIcon(hwnd, processIcons().font);
        fillFontList();
        const FontImageParams& p = params();
        selectFace(p);
        filling_ = true;
        showNumbers(p);
        filling_ = false;
        showStyle(p);
        if (const std::optional<ImageSize> size = sheetSizeFor(p))
            sheet().create(size->width, size->height);
        makeFont(sheet(), p);
        regenerate();
    }

    void fillFontList() {
        const HWND list = GetDlgItem(hwnd, IDC_FONT_NAME);
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        LOGFONTW every{};  // every family with the ANSI characters
        every.lfCharSet = ANSI_CHARSET;
        ScopedWindowDC dc(hwnd);
        EnumFontFamiliesExW(dc.get(), &every, addFontName, reinterpret_cast<LPARAM>(list), 0);
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    }

    // The first entry that begins with the face name, ignoring case, or the
    // first entry; the face name itself stays as it is.
    void selectFace(const FontImageParams& p) {
        const HWND list = GetDlgItem(hwnd, IDC_FONT_NAME);
        const std::u16string face = faceNameOf(p);
        if (SendMessageW(list, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(face.c_str())) == CB_ERR)
            SendMessageW(list, CB_SETCURSEL, 0, 0);
    }

    void showNumbers(const FontImageParams& p) {
        initSpinField(hwnd, IDC_FONT_SIZE, IDC_FONT_SIZE_SPIN, 1, kMaxField, p.fontSize);
        initSpinField(hwnd, IDC_GRID_X, IDC_GRID_X_SPIN, -kMaxField, kMaxField, p.offsetX);
        initSpinField(hwnd, IDC_GRID_Y, IDC_GRID_Y_SPIN, -kMaxField, kMaxField, p.offsetY);
        initSpinField(hwnd, IDC_WIDTH, IDC_WIDTH_SPIN, 1, kMaxField, p.cellWidth);
        initSpinField(hwnd, IDC_HEIGHT, IDC_HEIGHT_SPIN, 1, kMaxField, p.cellHeight);
    }

    void showStyle(const FontImageParams& p) {
        for (const auto& box : kStyleBoxes)
            CheckDlgButton(hwnd, box.id, (p.style & box.bit) ? BST_CHECKED : BST_UNCHECKED);
    }

    void onCommand(WORD id, WORD code) {
        FontImageParams& p = params();
        switch (id) {
        case IDC_FONT_SIZE:
        case IDC_WIDTH:
        case IDC_HEIGHT:
        case IDC_GRID_X:
        case IDC_GRID_Y:
            if (code == EN_CHANGE) onFieldChanged(id);
            return;
        case IDC_FONT_NAME:
            if (code == CBN_SELCHANGE) onFaceChosen();
            return;
        case IDC_FONT_TEXT_COLOR:
            if (pickColorInto(hwnd, p.textColor)) regenerate();
            return;
        case IDC_FONT_BACK_COLOR1:
            if (pickColorInto(hwnd, p.backColor1)) regenerate();
            return;
        case IDC_FONT_BACK_COLOR2:
            if (pickColorInto(hwnd, p.backColor2)) regenerate();
            return;
        case ID_EDIT_COPY: copySheet(); return;
        case ID_EDIT_SAVE_SELECTION: saveSheet(); return;
        case ID_FONT_RESET: reset(); return;
        case IDOK:
        case IDCANCEL: EndDialog(hwnd, id); return;
        }
        for (const auto& box : kStyleBoxes) {
            if (box.id != id || code != BN_CLICKED) continue;
            if (IsDlgButtonChecked(hwnd, id) == BST_CHECKED)
                p.style |= box.bit;
            else
                p.style &= static_cast<uint8_t>(~box.bit);
            makeFont(sheet(), p);
            regenerate();
        }
    }

    void onFieldChanged(int id) {
        if (filling_) return;
        const std::optional<int32_t> value = fieldNumber(hwnd, id);
        if (!value) return;  // empty: nothing changes
        FontImageParams& p = params();
        switch (id) {
        case IDC_FONT_SIZE:
            p.fontSize = *value;
            makeFont(sheet(), p);
            break;
        case IDC_GRID_X: p.offsetX = *value; break;
        case IDC_GRID_Y: p.offsetY = *value; break;
        case IDC_WIDTH:
        case IDC_HEIGHT:
            (id == IDC_WIDTH ? p.cellWidth : p.cellHeight) = *value;
            // A new sheet, and with it a new font; a size of 0 or less keeps the old one.
            if (const std::optional<ImageSize> size = sheetSizeFor(p))
                sheet().create(size->width, size->height);
            scroll_ = clampPreviewScroll(scroll_, sheet().width(), sheet().height());
            InvalidateRect(hwnd, &kPreviewArea, TRUE);
            makeFont(sheet(), p);
            break;
        }
        SendMessageW(hwnd, kMsgRegenerate, 0, 0);
    }

    void onFaceChosen() {
        const HWND list = GetDlgItem(hwnd, IDC_FONT_NAME);
        const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
        const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
        if (index == CB_ERR || length == CB_ERR) return;
        std::u16string text(static_cast<size_t>(length) + 1, u'\0');
        text.resize(static_cast<size_t>(
            SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
        setFaceName(params(), text);
        makeFont(sheet(), params());
        SendMessageW(hwnd, kMsgRegenerate, 0, 0);
    }

    void regenerate() {
        drawSheet(sheet(), params());
        InvalidateRect(hwnd, nullptr, FALSE);
    }

    void copySheet() {
        const DIBSection& s = sheet();
        if (s.isValid())
            putImageOnClipboard(s, 0, 0, s.width(), s.height(), pixelOf(settings().back));
    }

    // The save dialog works on a copy of the document's file choice: the
    // document keeps its name and the stored filter index stays as it was.
    void saveSheet() {
        FileChoice choice{};
        copyChoice(choice, doc_.file);
        choice.filterIndexNormal = settings().filterIndexNormal;
        const int index = chooseSaveFile(choice, hwnd, kImageSaveList);
        if (index != 0 && !writeImageFile(choice.filePath, sheet(), index))
            showSaveError(hwnd, choice.fileTitle, MB_ICONERROR);
    }

    // Setting the fields makes their changes, which build the sheet again.
    void reset() {
        if (MessageBoxW(hwnd, L"リセットしますか？", nullptr, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        FontImageParams& p = params();
        p = FontImageParams{};
        makeFont(sheet(), p);
        SetDlgItemInt(hwnd, IDC_FONT_SIZE, static_cast<UINT>(p.fontSize), TRUE);
        SetDlgItemInt(hwnd, IDC_GRID_X, static_cast<UINT>(p.offsetX), TRUE);
        SetDlgItemInt(hwnd, IDC_GRID_Y, static_cast<UINT>(p.offsetY), TRUE);
        SetDlgItemInt(hwnd, IDC_WIDTH, static_cast<UINT>(p.cellWidth), TRUE);
        SetDlgItemInt(hwnd, IDC_HEIGHT, static_cast<UINT>(p.cellHeight), TRUE);
        selectFace(p);
        showStyle(p);
    }

    void onPaint() {
        ScopedPaint paint(hwnd);
        const DIBSection& s = sheet();
        if (s.isValid()) {
            BitBlt(paint.dc(), kPreviewLeft, kPreviewTop,
                   std::min(kPreviewWidth, s.width() - scroll_.x),
                   std::min(kPreviewHeight, s.height() - scroll_.y), s.dc, scroll_.x, scroll_.y,
                   SRCCOPY);
        }
        const FontImageParams& p = params();
        paintSwatch(paint.dc(), IDC_FONT_TEXT_COLOR, p.textColor);
        paintSwatch(paint.dc(), IDC_FONT_BACK_COLOR1, p.backColor1);
        paintSwatch(paint.dc(), IDC_FONT_BACK_COLOR2, p.backColor2);
    }

    // A 40 x 15 pixel swatch ending 6 pixels left of its button, at any
    // dialog font.
    void paintSwatch(HDC dc, int buttonId, uint32_t color) {
        RECT button{};
        GetWindowRect(GetDlgItem(hwnd, buttonId), &button);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&button), 2);
        const int top = (button.top + button.bottom - 15) / 2;
        ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(color));
        ScopedSelectObject selected(dc, brush.get());
        Rectangle(dc, button.left - 46, top, button.left - 6, top + 15);
    }

    void onButtonDown(int x, int y) {
        if (!inPreview(x, y)) return;
        anchor_ = IntPair{x, y};
        SetCapture(hwnd);
    }

    void onMouseMove(int x, int y) {
        if (!anchor_) return;
        const IntPair to{x, y};
        scroll_ = dragPreview(scroll_, *anchor_, to, sheet().width(), sheet().height());
        anchor_ = to;
        InvalidateRect(hwnd, &kPreviewArea, FALSE);
    }

    const Document& doc_;
    bool filling_ = false;           // the fields are being given their first values
    PreviewScroll scroll_;           // 0, 0 at every opening
    std::optional<IntPair> anchor_;  // the last mouse position while dragging
};

}  // namespace

void runFontImageDialog(HINSTANCE instance, HWND owner, const Document& doc) {
    FontImageDialog dialog(doc);
    dialog.runModal(instance, IDD_DIALOG_FONT, owner);
}

const DIBSection& fontSheet() { return sheet(); }
