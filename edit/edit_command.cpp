#include "edit/edit_command.h"

EditCommand::EditCommand(Document& doc, UndoKind kind, EditRect rect)
    : doc_(doc), kind_(kind), rect_(rect) {
    doc_.undoHistory.beginEntry(kind_);
    const EditRect r = captured();
    doc_.undoHistory.captureBefore(doc_.canvas, r.x, r.y, r.w, r.h);
}

EditCommand::EditCommand(Document& doc, ReplacingCanvas)
    : doc_(doc), kind_(UndoKind::WholeCanvas), rect_{} {
    doc_.undoHistory.beginEntry(kind_);
}

EditOutcome EditCommand::commitReplacement(DIB& image, int32_t undoLimit, DocumentEvent event) {
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
    if (kind_ == UndoKind::WholeCanvas) return {0, 0, doc_.canvas.width(), doc_.canvas.height()};
    return rect_;
}

EditOutcome EditCommand::commit(int32_t undoLimit, DocumentEvent event) {
    const EditRect r = captured();
    doc_.undoHistory.captureAfter(doc_.canvas, r.x, r.y, r.w, r.h);
    doc_.undoHistory.commitEntry(undoLimit);
    committed_ = true;
    countEvent(doc_, event);
    return {kind_, r};
}
