// The image file writers: portable encoders behind a safe file replacement.
#include "image/image_writer.h"

#include "image/bmp_writer.h"
#include "image/file_choice.h"
#include "image/file_replace.h"
#include "image/png_codec.h"

namespace {

bool hasPixels(const DIB& image) {
    return image.pixels != nullptr && image.width() > 0 && image.height() > 0;
}

}  // namespace

bool writePng32(const char16_t* path, const DIB& image) {
    if (path == nullptr || !hasPixels(image)) return false;
    return replaceFileWith(path, [&image](ByteSink& sink) { return encodePng32(image, sink); });
}

bool writePng24(const char16_t* path, const DIB& image) {
    if (path == nullptr || !hasPixels(image)) return false;
    return replaceFileWith(path, [&image](ByteSink& sink) { return encodePng24(image, sink); });
}

bool writeBmp(const DIB& image, const char16_t* path, int bits) {
    if (path == nullptr || !hasPixels(image) || (bits != 32 && bits != 24)) return false;
    return replaceFileWith(path,
                           [&image, bits](ByteSink& sink) { return encodeBmp(image, bits, sink); });
}

bool writeGreyMaskBmp(const DIB& image, const char16_t* path) {
    if (path == nullptr || !hasPixels(image)) return false;
    return replaceFileWith(path,
                           [&image](ByteSink& sink) { return encodeGreyMaskBmp(image, sink); });
}

bool writeImageFile(const char16_t* path, const DIB& image, int32_t filterIndex) {
    switch (imageWriterFor(filterIndex)) {
    case ImageWriter::Png32: return writePng32(path, image);
    case ImageWriter::Png24: return writePng24(path, image);
    case ImageWriter::Bmp32: return writeBmp(image, path, 32);
    case ImageWriter::Bmp24: return writeBmp(image, path, 24);
    }
    return false;
}
