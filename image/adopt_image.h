#pragma once
// Decoders build their image aside and hand it over only when it is complete,
// so a failed load never leaves a half-written target behind.
#include <cstring>
#include <typeinfo>

#include "image/dib.h"

// Moves a completely decoded `image` into `target`. A plain DIB simply
// exchanges buffers; a derived image (whose pixel memory belongs to the
// platform) is recreated at the new size and receives one block copy. False
// only when that recreation fails; the target is then empty.
inline bool adoptImage(DIB& target, DIB& image) {
    if (typeid(target) == typeid(DIB)) {
        target.swap(image);
        return true;
    }
    if (!target.create(image.width(), image.height())) return false;
    std::memcpy(target.pixels, image.pixels,
                static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()) * 4);
    return true;
}
