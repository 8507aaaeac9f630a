#pragma once
// Windows only: images to and from the system clipboard.
//
// A copy offers three formats: CF_DIB (the 32-bit block every program
// reads), "PNG" and CF_DIBV5 (which carry alpha to the programs that read it
// only from those), plus a private format that marks the copy as ours, so
// its alpha is meant even when it is all 0. Only the copied pixels are kept
// at copy time; each format is rendered when a program asks for it, and all
// of them before the program ends.
#include <windows.h>

#include <cstdint>

#include "image/dib.h"

class ClipboardImageOwner {
public:
    // The window that answers the clipboard's render requests
    // (WM_RENDERFORMAT, WM_RENDERALLFORMATS, WM_DESTROYCLIPBOARD). Without one
    // every format is rendered at once.
    void attach(HWND owner) { owner_ = owner; }
    // The window is going: every format has been rendered (WM_RENDERALLFORMATS
    // comes first), so the copied pixels are no longer needed.
    void detach() {
        owner_ = nullptr;
        copied_.release();
    }

    // The rectangle (x, y, w, h) of `source` onto the clipboard; pixels outside
    // the source get `outsidePixel`. Fails without touching the clipboard when
    // the source is empty, the rectangle is empty or lies wholly outside it,
    // or its memory cannot be had; fails when the clipboard cannot be opened.
    bool put(const DIB& source, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t outsidePixel);

    void render(UINT format);
    void renderAll();
    void clipboardEmptied();

    // The image of our copy while it is on the clipboard, or null.
    const DIB* ownCopy() const;

private:
    HWND owner_ = nullptr;
    DIB copied_;
};

// The process's one clipboard owner.
ClipboardImageOwner& clipboardImageOwner();

bool putImageOnClipboard(const DIB& source, int32_t x, int32_t y, int32_t w, int32_t h,
                         uint32_t outsidePixel);

// The clipboard, opened by the caller, offers an image.
bool clipboardOffersImage();

// With the clipboard open: its image into `target`, in this order of
// preference: our own copy as it is; "PNG"; CF_DIBV5 with an alpha mask;
// a 32-bit CF_DIB read directly (so its fourth byte arrives as alpha whatever
// the platform's conversion does); the platform's bitmap. A damaged "PNG" or
// CF_DIBV5 block passes to the next format; a damaged CF_DIB stops there.
// Another program's image whose alpha is all 0 comes in opaque. False, the
// target as it was, when nothing could be taken.
bool readClipboardImage(DIB& target);

// With the clipboard open: the "Preferred DropEffect" of a copied file list
// is there and asks for a copy (cut files ask for a move).
bool clipboardFilesAreCopied();
