#pragma once
// The plain records the small dialogs edit, and what confirming them does.
// A dialog fills its controls from a record, reads them back on OK, and the
// command that opened it applies the record with the functions here.
#include <cstdint>
#include <optional>

#include "edit/edit_command.h"
#include "settings/settings.h"

// The new canvas dialog: the size of the canvas to make.
struct NewCanvasRecord {
    int32_t width = 0;
    int32_t height = 0;
};

NewCanvasRecord newCanvasRecordOf(const Settings& s);
// OK is refused, and the dialog stays open, while a side is below 1.
bool newCanvasRefused(const NewCanvasRecord& r);
// A canvas of the record's size in the background colour replaces the
// document's as one whole-canvas edit; the document loses its file name and
// newImageSize takes the size. When that canvas cannot be made, nothing
// changes at all.
EditResult applyNewCanvas(Document& doc, Settings& s, const NewCanvasRecord& r);

// The configuration dialog. The colours are not part of it: a colour
// button stores its colour at once.
struct ConfigRecord {
    int32_t width = 0, height = 0;  // of the canvas
    bool checkFileCopy = false;
    bool autoResize = false;
    bool copyOutOfRect = false;
    bool colorHistory = false;
    int32_t ddActionType = 0;  // kept as it came when no button of its group is checked
    int32_t zoomType = 0;
    int32_t undoLimit = 0;
    int32_t boxSize = 0;
};

// The canvas size (0 x 0 without a canvas) and the current options.
ConfigRecord configRecordOf(const Settings& s, const DIB& canvas);
// The check boxes and radio groups: the first thing OK stores, so they stay
// stored when the size is then refused.
void takeConfigOptions(Settings& s, const ConfigRecord& r);
// OK is refused for a side of exactly 0, and only while there is a canvas.
bool configRefused(const ConfigRecord& r, const DIB& canvas);
// Everything OK changes, in its order: the options; the canvas size, as one
// whole-canvas edit that keeps the pixels where they are and fills the added
// area with the background colour (none when the size is unchanged or the
// canvas cannot take it); then the undo count and block size. The edit is
// filed under the new undo count.
EditResult applyConfig(Document& doc, Settings& s, const ConfigRecord& r);

// "デフォルトに戻す": the checkerboard's block size and colours as at first start.
void resetCheckerboard(Settings& s);

// The grid dialog works on the selection itself: each value typed applies at once.
enum class GridField { Width, Height, OffsetX, OffsetY };
void setGridField(Selection& selection, GridField field, int32_t value);
