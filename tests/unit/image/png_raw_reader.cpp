#include "tests/unit/image/png_raw_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace testpng {

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void readInput(png_structp png, png_bytep out, size_t length) {
    auto* in = static_cast<Input*>(png_get_io_ptr(png));
    if (in->size - in->position < length) png_error(png, "truncated");
    std::memcpy(out, in->data + in->position, length);
    in->position += length;
}

[[noreturn]] void fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void quiet(png_structp, png_const_charp) {}

// C-style: libpng errors come back here by longjmp, so everything with a
// destructor lives in the caller's frame.
bool readInto(Input* in, Raw* raw, std::vector<png_bytep>* pointers) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, quiet);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, in, readInput);
    // Chunks that never change a sample are skipped unread: the crash
    // reproducers declare some of them a gigabyte long.
    static const png_byte kSkipped[] =
        "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
        "sCAL\0sPLT\0sRGB\0sTER\0tEXt\0tIME\0zTXt";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkipped, sizeof kSkipped / 5);
    png_read_info(png, info);
    raw->width = png_get_image_width(png, info);
    raw->height = png_get_image_height(png, info);
    raw->bitDepth = png_get_bit_depth(png, info);
    raw->colorType = png_get_color_type(png, info);

    png_colorp palette = nullptr;
    int entries = 0;
    if (png_get_PLTE(png, info, &palette, &entries) != 0) {
        for (int i = 0; i < entries; ++i) {
            raw->palette.insert(raw->palette.end(),
                                {palette[i].red, palette[i].green, palette[i].blue});
        }
    }
    png_bytep alphas = nullptr;
    int count = 0;
    png_color_16p colour = nullptr;
    if (png_get_tRNS(png, info, &alphas, &count, &colour) != 0) {
        raw->hasTrns = true;
        if (raw->colorType == PNG_COLOR_TYPE_PALETTE) {
            raw->trnsAlpha.assign(alphas, alphas + count);
        } else {
            raw->trnsGrey = colour->gray;
            raw->trnsRed = colour->red;
            raw->trnsGreen = colour->green;
            raw->trnsBlue = colour->blue;
        }
    }
    png_color_8p sbit = nullptr;
    raw->hasSbit = png_get_sBIT(png, info, &sbit) != 0;

    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    raw->rows.assign(raw->height, std::vector<uint8_t>(png_get_rowbytes(png, info)));
    pointers->resize(raw->height);
    for (uint32_t y = 0; y < raw->height; ++y) (*pointers)[y] = raw->rows[y].data();
    png_read_image(png, pointers->data());
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

}  // namespace

bool readRaw(const std::vector<uint8_t>& file, Raw& raw) {
    Input in{file.data(), file.size(), 0};
    std::vector<png_bytep> pointers;
    raw = Raw{};
    return readInto(&in, &raw, &pointers);
}

}  // namespace testpng
