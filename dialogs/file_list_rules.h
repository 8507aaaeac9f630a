#pragma once
// What the image file list does to the document and to its own selection,
// decided without the platform: a sprite sheet is laid out by pasting one
// file after another into successive grid cells.
#include <cstdint>
#include <optional>

#include "edit/edit_command.h"
#include "settings/settings.h"

// Pastes `image` into the selection rectangle (clipped to both images), or
// with `asMask` sets the rectangle's alpha from its grey levels. A plain
// paste grows the canvas first when autoResize is on and the selection
// reaches past it; a mask paste never does. The undo entry covers the
// selection (the whole canvas after growing). Nothing when the paste fails.
EditResult pasteIntoSelection(Document& doc, const Settings& s, const DIB& image,
                                              bool asMask);

// After a paste the selection steps one cell to the right; with
// returnSelect, a selection that has left the canvas goes to the start of the
// next row, and from there, when that too lies outside, to the first cell.
void advanceSelection(Selection& selection, int32_t canvasWidth, int32_t canvasHeight,
                      bool returnSelect);

// The entry selected after entry `used` of `count` was used: the next one,
// or none (-1) after the last.
int32_t nextEntry(int32_t used, int32_t count);
