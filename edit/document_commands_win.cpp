// The main window's document and file commands: saving the canvas, the
// CopyBuffer, the selection and its mask; opening a file or the CopyBuffer as
// the canvas; a second instance; the files named on the command line.
#include <windows.h>

#include <shellapi.h>

#include "app/main_window.h"
#include "app/message_boxes.h"
#include "app/status_bar.h"
#include "edit/edit_commands.h"
#include "edit/pixel_ops.h"
#include "image/file_dialogs.h"
#include "image/image_writer.h"
#include "image/scoped_handles.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace {

bool isExistingFile(const char16_t* path) {
    const DWORD attributes = GetFileAttributesW(asWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The save dialog of `list` on `choice`, opening on the filter stored for the
// list; the chosen filter is stored. 0 when cancelled.
int chooseSaveStored(FileChoice& choice, HWND owner, int list) {
    Settings& s = settings();
    choice.filterIndexNormal = s.filterIndexNormal;
    choice.filterIndexMask = s.filterIndexMask;
    const int index = chooseSaveFile(choice, owner, list);
    if (index != 0) (list == kImageSaveList ? s.filterIndexNormal : s.filterIndexMask) = index;
    return index;
}

// The selection blinks on a timer; it rests while a save dialog is open.
class PausedBlink {
public:
    explicit PausedBlink(HWND window) : window_(window) { KillTimer(window_, kBlinkTimer); }
    ~PausedBlink() { SetTimer(window_, kBlinkTimer, kBlinkPeriodMs, nullptr); }
    PausedBlink(const PausedBlink&) = delete;
    PausedBlink& operator=(const PausedBlink&) = delete;

private:
    HWND window_;
};

}  // namespace

void Main::saveDocumentAs() {
    Document& doc = document_;
    {
        PausedBlink paused(hwnd);
        // The document takes the chosen name, also when the write then fails.
        const int index = chooseSaveStored(doc.file, hwnd, kImageSaveList);
        if (index != 0) {
            if (writeImageFile(doc.file.filePath, doc.canvas, index))
                count(DocumentEvent::Saved);
            else
                showSaveError(hwnd, doc.file.fileTitle, MB_ICONWARNING);
        }
    }
    showTitle(*this);
}

void Main::saveDocument() {
    Document& doc = document_;
    const char16_t* path = doc.file.filePath;
    if (isExistingFile(path)) {
        const bool written = hasExtension(path, u".png")   ? writePng32(path, doc.canvas)
                             : hasExtension(path, u".bmp") ? writeBmp(doc.canvas, path, 32)
                                                           : false;
        if (written) {
            count(DocumentEvent::Saved);
            return;
        }
    }
    saveDocumentAs();  // no file, another kind of file, or a failed write
}

void Main::saveImageAside(const DIB& image, bool pauseBlink) {
    FileChoice choice{};
    copyChoice(choice, document_.file);
    std::optional<PausedBlink> paused;
    if (pauseBlink) paused.emplace(hwnd);
    const int index = chooseSaveStored(choice, hwnd, kImageSaveList);
    if (index != 0 && !writeImageFile(choice.filePath, image, index))
        showSaveError(hwnd, choice.fileTitle, MB_ICONWARNING);
}

void Main::saveSelection() {
    const Document& doc = document_;
    const EditRect r = selectionRectangle(doc.selection);
    // Parts of the selection outside the canvas are background at alpha 0.
    DIB image;
    if (image.create(r.w, r.h)) {
        image.fillRect(0, 0, r.w, r.h, pixelOf(settings().back));
        doc.canvas.copyTo(image, 0, 0, r.w, r.h, r.x, r.y);
    }
    saveImageAside(image, true);
}

void Main::saveMask() {
    const Document& doc = document_;
    FileChoice choice{};
    copyChoice(choice, doc.file);
    PausedBlink paused(hwnd);
    const int index = chooseSaveStored(choice, hwnd, kMaskSaveList);
    if (index == 0) return;
    // Parts of the selection outside the canvas come out transparent black.
    const EditRect r = selectionRectangle(doc.selection);
    DIB mask;
    bool saved = mask.create(r.w, r.h) && mask.fillRect(0, 0, r.w, r.h, 0);
    if (saved) {
        switch (maskWriterFor(index)) {
        case MaskWriter::GreyBmp:
            doc.canvas.copyTo(mask, 0, 0, r.w, r.h, r.x, r.y);
            saved = writeGreyMaskBmp(mask, choice.filePath);
            break;
        case MaskWriter::Png24:
            saved = exportMaskRect(mask, doc.canvas, r.x, r.y, r.w, r.h) &&
                    writePng24(choice.filePath, mask);
            break;
        case MaskWriter::Bmp24:
            saved = exportMaskRect(mask, doc.canvas, r.x, r.y, r.w, r.h) &&
                    writeBmp(mask, choice.filePath, 24);
            break;
        }
    }
    if (!saved) showSaveError(hwnd, choice.fileTitle, MB_ICONERROR);
}

void Main::openDropPath() {
    Document& doc = document_;
    DIB image;
    if (!loadDropPath(doc, image)) {
        showLoadError(doc.dropPath);
        return;
    }
    const EditResult outcome = replaceCanvas(doc, settings(), image, DocumentEvent::Opened);
    if (outcome) setChoiceFromPath(doc.file, doc.dropPath);
    showEdit(outcome);
}

void Main::openCommandLine() {
    const std::vector<std::u16string>& files = arguments_;
    if (files.empty()) return;
    Document& doc = document_;
    if (files.size() >= 2) SendMessageW(hwnd, WM_COMMAND, ID_OPTION_FILE_LIST, 0);
    for (const std::u16string& file : files) {
        setDropPath(doc, file.c_str());
        if (files.size() >= 2 && doc.fileListDialog)
            SendMessageW(static_cast<HWND>(doc.fileListDialog), kMsgAddFilePath, 0,
                         reinterpret_cast<LPARAM>(doc.dropPath));
    }
    // The one file opens once start-up has finished.
    if (files.size() == 1) PostMessageW(hwnd, WM_COMMAND, ID_DROP_OPEN, 0);
}

bool Main::runDocumentCommand(WORD id) {
    Document& doc = document_;
    switch (id) {
    case ID_FILE_SAVE: saveDocument(); return true;
    case ID_FILE_SAVE_AS: saveDocumentAs(); return true;
    case ID_OPTION_SAVE_COPY: saveImageAside(doc.copyBuffer, false); return true;
    case ID_EDIT_SAVE_SELECTION: saveSelection(); return true;
    case ID_COLOR_SAVE_MASK: saveMask(); return true;
    case ID_FILE_OPEN: {
        // The document takes the name only when the file loads (openDropPath).
        FileChoice choice{};
        copyChoice(choice, doc.file);
        if (!chooseOpenFile(choice, hwnd, false)) return true;
        setDropPath(doc, choice.filePath);
        SendMessageW(hwnd, WM_COMMAND, ID_DROP_OPEN, 0);
        return true;
    }
    case ID_DROP_OPEN: openDropPath(); return true;
    case ID_FILE_OPEN_CLIPBOARD: {
        if (!doc.copyBuffer.isValid()) return true;
        DIB image;
        const int32_t w = doc.copyBuffer.width(), h = doc.copyBuffer.height();
        if (!doc.undoHistory.allocateDroppingOldest(w, h, [&] { return image.create(w, h); })) {
            showEdit(EditResult::noMemory());
            return true;
        }
        doc.copyBuffer.copyTo(image, 0, 0, image.width(), image.height(), 0, 0);
        const EditResult outcome = replaceCanvas(doc, settings(), image, DocumentEvent::Edited);
        if (outcome) clearChoiceNames(doc.file);
        showEdit(outcome);
        return true;
    }
    case ID_FILE_NEW_WINDOW: {
        // The new instance starts with the settings of this one.
        saveSettingsNow();
        const std::u16string self = executablePath();
        if (!self.empty())
            ShellExecuteW(nullptr, L"open", asWide(self.c_str()), nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    }
    case ID_FILE_OPEN_COMMAND_LINE: openCommandLine(); return true;
    case ID_OPTION_FILE_LIST: fileList_.open(instance_, hwnd); return true;
    }
    return false;
}
