// The undo/redo history. Entries move between the pending slot, the undo
// list and the redo stack by splicing list nodes; their images are never
// copied.
#include "edit/undo_history.h"

#include <iterator>
#include <new>

namespace {

// Makes `image` a w x h image; one that already has that size is reused. A
// failed allocation leaves it empty, never holding an older snapshot.
bool makeSize(DIB& image, int32_t w, int32_t h) {
    if (image.isValid() && image.width() == w && image.height() == h) return true;
    image.release();
    return image.create(w, h);
}

// Makes `image` a w x h image holding the canvas rectangle. Where the
// rectangle lies outside the canvas a reused image keeps its old pixels;
// they are never put back elsewhere.
bool capture(DIB& image, const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    makeSize(image, w, h);
    return canvas.copyTo(image, 0, 0, w, h, x, y);
}

// Puts a snapshot back at (x, y); for a whole-canvas entry the canvas first
// takes the snapshot's size, and when it cannot the canvas stays as it was
// and the step fails. An empty snapshot (its allocation failed) puts nothing
// back and still counts as done.
bool restore(DIB& canvas, const DIB& image, int32_t x, int32_t y, UndoKind kind) {
    if (!image.isValid()) return true;
    if (kind == UndoKind::WholeCanvas && !canvas.resizeFill(image.width(), image.height(), 0))
        return false;
    image.copyTo(canvas, x, y, image.width(), image.height(), 0, 0);
    return true;
}

}  // namespace

UndoEntry* UndoHistory::pending() {
    if (pending_.empty()) {
        try {
            pending_.emplace_back();
        } catch (const std::bad_alloc&) {
            return nullptr;  // out of memory: the change goes unrecorded
        }
    }
    return &pending_.front();
}

void UndoHistory::beginEntry(UndoKind kind) {
    if (UndoEntry* entry = pending()) entry->kind = kind;
}

bool UndoHistory::reserve(int32_t w, int32_t h, bool before) {
    UndoEntry* entry = pending();
    if (entry == nullptr) return false;
    if (w <= 0 || h <= 0) return true;
    return (!before ||
            allocateDroppingOldest(w, h, [&] { return makeSize(entry->before, w, h); })) &&
           allocateDroppingOldest(w, h, [&] { return makeSize(entry->after, w, h); });
}

bool UndoHistory::dropOldest() {
    std::list<UndoEntry>& from = !undoList_.empty() ? undoList_ : redoStack_;
    if (from.empty()) return false;
    from.pop_front();
    return true;
}

bool UndoHistory::allocateDroppingOldest(int32_t w, int32_t h,
                                         const std::function<bool()>& allocate) {
    if (!DIB::canAllocate(w, h)) return false;
    while (!allocate()) {
        if (!dropOldest()) return false;
    }
    return true;
}

bool UndoHistory::captureInto(DIB UndoEntry::*side, const DIB& canvas, int32_t x, int32_t y,
                              int32_t w, int32_t h) {
    UndoEntry* entry = pending();
    if (entry == nullptr) return false;
    entry->x = x;
    entry->y = y;
    return capture(entry->*side, canvas, x, y, w, h);
}

bool UndoHistory::captureBefore(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    return captureInto(&UndoEntry::before, canvas, x, y, w, h);
}

bool UndoHistory::captureAfter(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    return captureInto(&UndoEntry::after, canvas, x, y, w, h);
}

void UndoHistory::adoptBefore(DIB& image) {
    UndoEntry* entry = pending();
    if (entry == nullptr) return;  // out of memory: the change goes unrecorded
    entry->x = 0;
    entry->y = 0;
    entry->before.swap(image);
}

void UndoHistory::commitEntry(int32_t undoLimit) {
    if (!pending_.empty()) {
        undoList_.splice(undoList_.end(), pending_);
        while (static_cast<uint32_t>(undoLimit) < undoList_.size()) undoList_.pop_front();
    }
    redoStack_.clear();  // a new change ends the redo chain
}

void UndoHistory::discardEntry() { pending_.clear(); }

bool UndoHistory::undo(DIB& canvas) {
    if (undoList_.empty()) return false;
    const auto newest = std::prev(undoList_.end());
    if (!restore(canvas, newest->before, newest->x, newest->y, newest->kind)) return false;
    redoStack_.splice(redoStack_.end(), undoList_, newest);
    return true;
}

bool UndoHistory::redo(DIB& canvas) {
    if (redoStack_.empty()) return false;
    const auto top = std::prev(redoStack_.end());
    if (!restore(canvas, top->after, top->x, top->y, top->kind)) return false;
    undoList_.splice(undoList_.end(), redoStack_, top);  // no trim: redo brings back what was there
    return true;
}

void UndoHistory::clearAll() {
    pending_.clear();
    undoList_.clear();
    redoStack_.clear();
}
