#pragma once
// What the editing commands do to the document, decided without the
// platform: each takes the document and the settings it reads, changes the
// document through one EditCommand, and returns what the window must show,
// or nothing when the document is as it was.
#include <cstdint>
#include <functional>

#include "edit/edit_command.h"
#include "settings/settings.h"

// The commands that change the selection rectangle in place: delete, make
// opaque, invert, the channel permutations and the flips. Nothing for other ids.
EditResult changeSelection(Document& doc, const Settings& s, uint32_t commandId);

enum class PasteKind {
    Copy,         // replaces all four channels, transparent pixels included
    Beyond,       // the same, at the image's full size whatever the selection
    Translucent,  // composited over the canvas
    OpaqueBase,   // composited over the canvas taken as opaque
};

// Pastes `image` at the selection. With autoResize a paste reaching past the
// canvas grows it first (the added area is background at alpha 0); the grown
// canvas is swapped in only when the paste itself succeeded.
EditResult paste(Document& doc, const Settings& s, const DIB& image,
                                 PasteKind kind);

// Gives the canvas `size` (the old pixels at the top-left, cut where it
// shrinks, the added area background at alpha 0) and makes `change` on the
// resized canvas, which is swapped in only when the change succeeds: one
// whole-canvas entry.
EditResult changeResizedCanvas(Document& doc, const Settings& s, CanvasSize size,
                                             const std::function<bool(DIB& canvas)>& change);

// Sets the alpha of the paste target from the grey levels of `mask`; never grows.
EditResult pasteMask(Document& doc, const Settings& s, const DIB& mask);

// Replaces a colour in the selection. The edit is recorded only when some
// pixel changed; `replaced` is the count either way.
struct ColorReplacement {
    uint32_t replaced;
    EditResult outcome;
};
ColorReplacement replaceColor(Document& doc, const Settings& s, uint32_t match,
                              uint32_t replacement, bool keepAlpha);

// `image` becomes the canvas (it is left empty), as one whole-canvas entry
// that counts as `event`; refused, `image` kept, when memory is short.
EditResult replaceCanvas(Document& doc, const Settings& s, DIB& image, DocumentEvent event);

// Undo and redo with their counting; false when there was nothing to take back
// or bring back, or a whole-canvas step could not re-create the canvas.
bool undoEdit(Document& doc);
bool redoEdit(Document& doc);
