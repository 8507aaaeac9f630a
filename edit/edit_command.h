#pragma once
// The one sequence by which every canvas change is recorded: open an undo
// entry and capture the rectangle before the change, make the change, then
// either capture it after, file the entry and count the edit, or discard the
// entry. An EditCommand that ends without commit() discards its entry, so no
// command can leave one half made.
#include <cstdint>
#include <optional>

#include "edit/document.h"
#include "edit/edit_rects.h"

// What a committed edit changed, for the window to show: a Region edit the
// rectangle, a WholeCanvas edit everything (its size may have changed).
struct EditOutcome {
    UndoKind kind;
    EditRect rect;
};

// What an edit came to: the change to show, or none when the document is as
// it was. `outOfMemory` tells a change refused because memory ran short, even
// after the oldest undo entries were dropped, from one with nothing to do.
struct EditResult : std::optional<EditOutcome> {
    using std::optional<EditOutcome>::optional;
    static EditResult noMemory() {
        EditResult refused;
        refused.outOfMemory = true;
        return refused;
    }
    bool outOfMemory = false;
};

// Tells EditCommand that the change replaces the canvas by another image.
struct ReplacingCanvas {};

class EditCommand {
public:
    // A WholeCanvas command captures the whole canvas and ignores `rect`.
    // Both snapshots are allocated here, before anything changes, dropping
    // the oldest undo entries while memory is short.
    EditCommand(Document& doc, UndoKind kind, EditRect rect = {});
    // A whole-canvas change that replaces the canvas: the old canvas itself
    // becomes the entry's before image at commitReplacement, so nothing is
    // copied and nothing changes until then.
    EditCommand(Document& doc, ReplacingCanvas);
    ~EditCommand();
    EditCommand(const EditCommand&) = delete;
    EditCommand& operator=(const EditCommand&) = delete;

    // False when the snapshots could not be allocated: the command must then
    // change nothing and return EditResult::noMemory().
    bool ready() const { return ready_; }

    // The change succeeded. `event` is how it counts: an edit, or a file
    // opened onto the canvas.
    EditOutcome commit(int32_t undoLimit, DocumentEvent event = DocumentEvent::Edited);
    // `image` becomes the canvas; it receives an empty image. Refused, with
    // the canvas and `image` as they were, when its after snapshot cannot be
    // allocated.
    EditResult commitReplacement(DIB& image, int32_t undoLimit,
                                 DocumentEvent event = DocumentEvent::Edited);

private:
    EditRect captured() const;

    Document& doc_;
    UndoKind kind_;
    EditRect rect_;
    bool ready_ = true;
    bool committed_ = false;
};
