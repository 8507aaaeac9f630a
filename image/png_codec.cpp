// PNG decoding and encoding with libpng.
//
// libpng reports errors by longjmp back to the setjmp of decodeRows or
// encodeRows. Those two functions and the callbacks libpng can jump across are
// plain C-style code: no object with a destructor is alive in them, and
// everything changed after setjmp that the error path needs lives in a job
// record in the caller's frame rather than in a local variable.
#include "image/png_codec.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "image/adopt_image.h"

namespace {

// The declared size is checked before the image is allocated: against the
// image limit, and against what the source can hold at all, since deflate
// expands its input at most about 1032 times. A small file that declares a
// huge image so costs nothing.
bool declaredSizeFits(uint64_t width, uint64_t height, int bitDepth, int colorType,
                      uint64_t sourceBytes) {
    if (width == 0 || height == 0 || width * height * 4 > kMaxImageBytes) return false;
    const uint64_t channels = colorType == PNG_COLOR_TYPE_RGB          ? 3
                              : colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                              : colorType == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                                                                       : 1;
    // Each row of the uncompressed stream is a filter byte and the samples.
    const uint64_t rawBytes =
        ((width * channels * static_cast<uint64_t>(bitDepth) + 7) / 8 + 1) * height;
    return sourceBytes == ByteSource::kUnknownSize || rawBytes / 1032 <= sourceBytes;
}

// The libpng interface this code is written against; any 1.6 release accepts it.
constexpr char kLibpngVersion[] = "1.6.9";
constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
// Five bytes per entry: the chunk name and a NUL. Samples are taken as stored,
// so none of these changes a pixel.
constexpr png_byte kUnusedChunks[] =
    "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
    "sBIT\0sCAL\0sPLT\0sRGB\0sTER\0tEXt\0tIME\0zTXt";

[[noreturn]] void stopOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void ignoreWarning(png_structp, png_const_charp) {}

void readFromSource(png_structp png, png_bytep data, size_t length) {
    auto* source = static_cast<ByteSource*>(png_get_io_ptr(png));
    if (source->read(data, length) != length) png_error(png, "short read");
}

void writeToSink(png_structp png, png_bytep data, size_t length) {
    auto* sink = static_cast<ByteSink*>(png_get_io_ptr(png));
    if (!sink->write(data, length)) png_error(png, "short write");
}

// The sinks pass every write straight on; there is nothing to flush.
void flushNothing(png_structp) {}

struct DecodeJob {
    ByteSource* source;
    DIB* image;
    png_bytepp rows;
    int result;
};

void decodeRows(DecodeJob* job) {
    png_structp png = png_create_read_struct(kLibpngVersion, nullptr, stopOnError, ignoreWarning);
    if (png == nullptr) return;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::free(job->rows);
        job->rows = nullptr;
        job->result = kPngFailed;
        return;
    }

    png_set_read_fn(png, job->source, readFromSource);
    // Ancillary chunks the decoder never uses are skipped unread, so a file
    // that declares a huge text or profile chunk costs no memory.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnusedChunks,
                                static_cast<int>(sizeof kUnusedChunks / 5));
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);

    // The order of these requests is part of the result: tRNS becomes alpha
    // before anything else looks at the samples.
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (hasTrns) png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE || (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)) {
        png_set_expand(png);
    }
    if (bitDepth > 8) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }

    if (!declaredSizeFits(width, height, bitDepth, colorType, job->source->totalSize()) ||
        !job->image->create(static_cast<int32_t>(width), static_cast<int32_t>(height))) {
        png_error(png, "image too large");
    }
    // The image's own byte count fitted, so the pointer array's does too.
    job->rows = static_cast<png_bytepp>(std::malloc(height * sizeof(png_bytep)));
    if (job->rows == nullptr) png_error(png, "out of memory");
    // The file's top row goes to the last row in memory.
    for (png_uint_32 y = 0; y < height; ++y) {
        job->rows[y] = reinterpret_cast<png_bytep>(job->image->row(static_cast<int32_t>(y)));
    }

    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    // Whatever the file held, the rows must now be four bytes per pixel;
    // anything else would write past the image.
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) {
        png_error(png, "unexpected row layout");
    }
    png_read_image(png, job->rows);

    // The chunks after the image data are not needed.
    png_destroy_read_struct(&png, &info, nullptr);
    std::free(job->rows);
    job->rows = nullptr;
    job->result = ((colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns) ? kPngTransparentSource
                                                                       : kPngOpaqueSource;
}

struct EncodeJob {
    const DIB* image;
    ByteSink* sink;
    bool withAlpha;
    bool done;
};

void encodeRows(EncodeJob* job) {
    png_structp png = png_create_write_struct(kLibpngVersion, nullptr, stopOnError, ignoreWarning);
    if (png == nullptr) return;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        job->done = false;
        return;
    }

    png_set_write_fn(png, job->sink, writeToSink, flushNothing);
    const DIB& image = *job->image;
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8,
                 job->withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (job->withAlpha) {
        png_color_8 significant{};
        significant.red = significant.green = significant.blue = significant.alpha = 8;
        png_set_sBIT(png, info, &significant);
    }
    png_write_info(png, info);
    png_set_bgr(png);
    // Without alpha, libpng drops the fourth byte of every input pixel itself,
    // so both writers hand over the image memory unchanged. This call needs
    // the colour type written by png_write_info.
    if (!job->withAlpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int32_t y = 0; y < image.height(); ++y) {
        png_write_row(png, reinterpret_cast<png_const_bytep>(image.row(y)));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    job->done = true;
}

bool encode(const DIB& image, ByteSink& sink, bool withAlpha) {
    if (!image.isValid()) return false;
    EncodeJob job{&image, &sink, withAlpha, false};
    encodeRows(&job);
    return job.done;
}

}  // namespace

int decodePng(ByteSource& source, DIB& target) {
    uint8_t signature[sizeof kSignature];
    if (source.read(signature, sizeof signature) != sizeof signature) return kPngFailed;
    if (std::memcmp(signature, kSignature, sizeof kSignature) != 0) return kPngFailed;
    // libpng reads and checks the signature again itself.
    if (!source.rewind()) return kPngFailed;

    DIB image;
    DecodeJob job{&source, &image, nullptr, kPngFailed};
    decodeRows(&job);
    if (job.result == kPngFailed || !adoptImage(target, image)) return kPngFailed;
    return job.result;
}

int decodePngBytes(const void* data, size_t size, DIB& target) {
    MemorySource source(data, size);
    return decodePng(source, target);
}

bool encodePng32(const DIB& image, ByteSink& sink) { return encode(image, sink, true); }

bool encodePng24(const DIB& image, ByteSink& sink) { return encode(image, sink, false); }
