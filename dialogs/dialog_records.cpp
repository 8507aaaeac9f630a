#include "dialogs/dialog_records.h"

#include "edit/edit_commands.h"
#include "edit/pixel_ops.h"

NewCanvasRecord newCanvasRecordOf(const Settings& s) {
    return {s.newImageSize.width, s.newImageSize.height};
}

bool newCanvasRefused(const NewCanvasRecord& r) { return r.width < 1 || r.height < 1; }

std::optional<EditOutcome> applyNewCanvas(Document& doc, Settings& s, const NewCanvasRecord& r) {
    // Made aside: a size the heap cannot hold leaves the old canvas in place.
    DIB canvas;
    if (!canvas.create(r.width, r.height)) return std::nullopt;
    canvas.fillRect(0, 0, r.width, r.height, pixelOf(s.back));
    const EditOutcome outcome = replaceCanvas(doc, s, canvas, DocumentEvent::Edited);
    clearChoiceNames(doc.file);
    s.newImageSize = {r.width, r.height};
    return outcome;
}

ConfigRecord configRecordOf(const Settings& s, const DIB& canvas) {
    ConfigRecord r;
    if (canvas.isValid()) {
        r.width = canvas.width();
        r.height = canvas.height();
    }
    r.checkFileCopy = s.checkFileCopy;
    r.autoResize = s.autoResize;
    r.copyOutOfRect = s.copyOutOfRect;
    r.colorHistory = s.colorHistory;
    r.ddActionType = s.ddActionType;
    r.zoomType = s.zoomType;
    r.undoLimit = s.undoLimit;
    r.boxSize = s.boxSize;
    return r;
}

void takeConfigOptions(Settings& s, const ConfigRecord& r) {
    s.checkFileCopy = r.checkFileCopy;
    s.autoResize = r.autoResize;
    s.copyOutOfRect = r.copyOutOfRect;
    s.colorHistory = r.colorHistory;
    s.ddActionType = r.ddActionType;
    s.zoomType = r.zoomType;
}

bool configRefused(const ConfigRecord& r, const DIB& canvas) {
    return canvas.isValid() && (r.width == 0 || r.height == 0);
}

std::optional<EditOutcome> applyConfig(Document& doc, Settings& s, const ConfigRecord& r) {
    takeConfigOptions(s, r);
    const bool resize =
        doc.canvas.isValid() && (r.width != doc.canvas.width() || r.height != doc.canvas.height());
    std::optional<EditCommand> edit;
    if (resize) {
        edit.emplace(doc, UndoKind::WholeCanvas);
        // resizeFill swaps in the new pixels only once they are complete.
        if (!doc.canvas.resizeFill(r.width, r.height, pixelOf(s.back))) edit.reset();
    }
    s.undoLimit = r.undoLimit;
    s.boxSize = r.boxSize;
    if (!edit) return std::nullopt;
    return edit->commit(s.undoLimit);
}

void resetCheckerboard(Settings& s) {
    const Settings defaults;
    s.boxSize = defaults.boxSize;
    s.color1 = defaults.color1;
    s.color2 = defaults.color2;
}

void setGridField(Selection& selection, GridField field, int32_t value) {
    switch (field) {
    case GridField::Width: selection.gw = value; break;
    case GridField::Height: selection.gh = value; break;
    case GridField::OffsetX: selection.cx = value; break;
    case GridField::OffsetY: selection.cy = value; break;
    }
    updateSelection(selection);
}
