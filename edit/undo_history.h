#pragma once
// The bounded undo/redo history: every canvas change is kept as the pixels of
// its rectangle before and after, not as the command that made it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>

#include "image/dib.h"

enum class UndoKind : int32_t {
    Region = 1,       // only the rectangle is put back
    WholeCanvas = 2,  // the canvas takes the stored image's size first
};

struct UndoEntry {
    DIB before;
    DIB after;
    int32_t x = 0;
    int32_t y = 0;
    UndoKind kind = UndoKind::Region;
};

class UndoHistory {
public:
    UndoHistory() = default;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    void beginEntry(UndoKind kind);
    // Makes the pending entry's after image, and with `before` its before
    // image too, w x h images, so that capturing allocates nothing. False
    // when memory is short even with the history emptied. A size that is not
    // positive holds nothing and needs nothing.
    bool reserve(int32_t w, int32_t h, bool before);
    // Runs `allocate`, which makes a w x h image, until it succeeds, dropping
    // the oldest entry after each failure (the undo list's first, then the
    // redo stack's farthest): old snapshots are the memory the program can
    // give back. False when the history is empty and `allocate` still fails,
    // and at once, dropping nothing, for a size no memory could hold.
    bool allocateDroppingOldest(int32_t w, int32_t h, const std::function<bool()>& allocate);
    // Snapshot the canvas rectangle into the pending entry (created if there
    // is none); true when the copy succeeded.
    bool captureBefore(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h);
    bool captureAfter(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h);
    // Takes `image` itself as the pending entry's before image, placed at
    // (0, 0), and hands back the image it replaces: a canvas that is being
    // replaced whole becomes its own snapshot without a copy.
    void adoptBefore(DIB& image);
    // Files the pending entry and trims the oldest until at most `undoLimit`
    // remain (compared as an unsigned number: a negative limit never trims).
    void commitEntry(int32_t undoLimit);
    void discardEntry();

    // False, the entry and the canvas as they were, when there is nothing
    // to undo (redo) or a whole-canvas entry cannot re-create the canvas.
    bool undo(DIB& canvas);
    bool redo(DIB& canvas);
    void clearAll();

    bool hasPending() const { return !pending_.empty(); }
    size_t undoCount() const { return undoList_.size(); }
    size_t redoCount() const { return redoStack_.size(); }

private:
    // Snapshot into one side of the pending entry (created if there is none).
    bool captureInto(DIB UndoEntry::*side, const DIB& canvas, int32_t x, int32_t y, int32_t w,
                     int32_t h);
    UndoEntry* pending();
    bool dropOldest();

    // Entries are list nodes spliced from one list to another: moving an
    // entry allocates nothing and never copies its images, and the only
    // allocation is the pending entry's own node.
    std::list<UndoEntry> pending_;    // at most one entry
    std::list<UndoEntry> undoList_;   // oldest first
    std::list<UndoEntry> redoStack_;  // last undone at the back
};
