#include "dialogs/dialog_records.h"

#include "edit/edit_commands.h"
#include "edit/pixel_ops.h"

NewCanvasRecord newCanvasRecordOf(const Settings& s) {
    return {s.newImageSize.width, s.newImageSize.height};
}

bool newCanvasRefused(const NewCanvasRecord& r) { return r.width < 1 || r.height < 1; }

EditResult applyNewCanvas(Document& doc, Settings& s, const NewCanvasRecord& r) {
    // Made aside: a size the heap cannot hold leaves the old canvas in place.
    if (newCanvasRefused(r)) return std::nullopt;
    DIB canvas;
    if (!doc.undoHistory.allocateDroppingOldest(
            r.width, r.height, [&] { return canvas.create(r.width, r.height); }))
        return EditResult::noMemory();
    canvas.fillRect(0, 0, r.width, r.height, pixelOf(s.back));
    const EditResult outcome = replaceCanvas(doc, s, canvas, DocumentEvent::Edited);
    if (!outcome) return outcome;
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

EditResult applyConfig(Document& doc, Settings& s, const ConfigRecord& r) {
    takeConfigOptions(s, r);
    const bool resize =
        doc.canvas.isValid() && (r.width != doc.canvas.width() || r.height != doc.canvas.height());
    s.undoLimit = r.undoLimit;
    s.boxSize = r.boxSize;
    if (!resize) return std::nullopt;
    return changeResizedCanvas(doc, s, {r.width, r.height}, [](DIB&) { return true; });
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
