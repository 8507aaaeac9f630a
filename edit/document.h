#pragma once
// The document: everything the editing commands work on that is not a stored
// setting. One Document, owned by the main window, lives for the whole run.
#include <cstdint>

#include "edit/undo_history.h"
#include "image/dib.h"
#include "image/file_choice.h"
#include "settings/selection.h"

struct Document {
    DIB canvas;
    DIB copyBuffer;         // the one image every paste uses; filled by the clipboard listener
    Selection selection;    // its grid size and offset are stored in config.ini
    FileChoice file{};      // the document's file; both names empty without one
    int32_t editCount = 0;  // net edits since the canvas last matched its file
    uint8_t modifiedFlag = 0;
    UndoHistory undoHistory;

    // The one file the file commands ID_DROP_COPY ... ID_DROP_PASTE_MASK act on. A path too long
    // for it is kept cut and marked, and then never opened: it names another file.
    char16_t dropPath[kFilePathLength] = {};
    bool dropPathCut = false;

    bool clipboardPending = false;  // a clipboard change waits for the window to come forward

    // The modeless tool windows (HWND); null while closed.
    void* gridDialog = nullptr;
    void* copyViewer = nullptr;
    void* changeColorDialog = nullptr;
    void* fileListDialog = nullptr;

    bool hasUnsavedChanges() const { return editCount != 0 || modifiedFlag != 0; }
};

// `path` into dropPath, cut to fit and then marked as cut.
void setDropPath(Document& doc, const char16_t* path);

// What happened to the document, for the unsaved-change bookkeeping. The
// document has unsaved changes exactly when it is not back at the state of
// its last save: each edit adds one and sets the flag, undo and redo move the
// count back and forth, and an edit after an undo keeps the flag set even
// when the count returns to 0.
enum class DocumentEvent {
    Edited,
    Undone,
    Redone,
    Saved,
    Opened,  // a file replaced the canvas: a change only over unsaved work
};
void countEvent(Document& doc, DocumentEvent event);
