#include "edit/edit_command.h"

EditCommand::EditCommand(Document& doc, UndoKind kind, EditRect rect)
    : doc_(doc), kind_(kind), rect_(rect) {
    doc_.undoHistory.beginEntry(kind_);
    const EditRect r = captured();
    ready_ = doc_.undoHistory.reserve(r.w, r.h, true);
    if (ready_) doc_.undoHistory.captureBefore(doc_.canvas, r.x, r.y, r.w, r.h);
}

EditCommand::EditCommand(Document& doc, ReplacingCanvas)
    : doc_(doc), kind_(UndoKind::WholeCanvas), rect_{} {
    doc_.undoHistory.beginEntry(kind_);
}

EditResult EditCommand::commitReplacement(DIB& image, int32_t undoLimit, DocumentEvent event) {
    if (!doc_.undoHistory.reserve(image.width(), image.height(), false))
        return EditResult::noMemory();
    doc_.canvas.swap(image);
    doc_.undoHistory.adoptBefore(image);
    image.release();
    return commit(undoLimit, event);
}

EditCommand::~EditCommand() {
    if (!committed_) doc_.undoHistory.discardEntry();
}

EditRect EditCommand::captured() const {
    // Taken at the moment of each capture: a whole-canvas change may resize it.
    const int32_t width = doc_.canvas.isValid() ? doc_.canvas.width() : 0;
    const int32_t height = doc_.canvas.isValid() ? doc_.canvas.height() : 0;
    if (kind_ == UndoKind::WholeCanvas) return {0, 0, width, height};
    // A region change touches only the canvas, so only that part is kept: a
    // selection reaching far past the canvas costs no memory.
    return clipToCanvas(rect_, width, height);
}

EditOutcome EditCommand::commit(int32_t undoLimit, DocumentEvent event) {
    const EditRect r = captured();
    doc_.undoHistory.captureAfter(doc_.canvas, r.x, r.y, r.w, r.h);
    doc_.undoHistory.commitEntry(undoLimit);
    committed_ = true;
    countEvent(doc_, event);
    return {kind_, r};
}
