// The pixel operations: what each changes, and the clipping of rectangles
// that reach outside the image.
#include "edit/pixel_ops.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/test_support.h"

using namespace testimage;

namespace {

constexpr uint32_t kFill = 0x00ABCDEFu;

struct Rect {
    int32_t x, y, w, h;
    bool has(int32_t px, int32_t py) const {
        return px >= x && px < x + w && py >= y && py < y + h;
    }
};

}  // namespace

// Rectangles of a 4 x 4 canvas that miss it or have no area (negative sizes
// sit where their mirror image would overlap), and empty images: each
// operation gives its own result and changes nothing.
TEST(EmptyRegions, EachOperationGivesItsResultAndChangesNothing) {
    DIB canvas(4, 4), other(2, 2), output(4, 4), empty;
    fillTagged(canvas);
    fillTagged(other);
    fillTagged(output);
    const auto canvasBefore = snapshot(canvas), outputBefore = snapshot(output);
    std::vector<uint32_t> out(16, 0x12345678u);
    const Rect misses[] = {{4, 0, 2, 2}, {-2, 0, 2, 2}, {0, 4, 2, 2},  {0, -2, 2, 2},
                           {0, 0, 0, 2}, {2, 2, -2, 2}, {2, 2, 2, -2}, {INT_MAX, INT_MAX, 4, 4}};
    for (const Rect& r : misses) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.y << " " << r.w << "x" << r.h);
        EXPECT_FALSE(extractRect(canvas, r.x, r.y, r.w, r.h, kFill, out.data(), out.size()));
        EXPECT_FALSE(blendRect(canvas, other, r.x, r.y, r.w, r.h, BlendMode::OpaqueBase));
        EXPECT_TRUE(recolorRect(canvas, r.x, r.y, r.w, r.h, RecolorKind::Invert));
        EXPECT_EQ(replaceColorRect(canvas, r.x, r.y, r.w, r.h, tag(0, 0), 0u, false), 0u);
        EXPECT_EQ(countColorsRect(canvas, r.x, r.y, r.w, r.h), 0u);
        EXPECT_FALSE(flipRectHorizontal(canvas, r.x, r.y, r.w, r.h));
        EXPECT_FALSE(flipRectVertical(canvas, r.x, r.y, r.w, r.h));
        EXPECT_FALSE(pasteMaskRect(canvas, other, r.x, r.y, r.w, r.h));
        EXPECT_FALSE(exportMaskRect(output, canvas, r.x, r.y, r.w, r.h));
    }
    // An output one pixel short, and one whose w * h wraps to 0 in 32 bits.
    EXPECT_FALSE(extractRect(canvas, 0, 0, 4, 4, kFill, out.data(), 15));
    EXPECT_FALSE(extractRect(canvas, 0, 0, 65536, 65536, kFill, out.data(), out.size()));
    EXPECT_FALSE(extractRect(empty, 0, 0, 2, 2, kFill, out.data(), out.size()));
    EXPECT_FALSE(blendRect(canvas, empty, 0, 0, 2, 2, BlendMode::Translucent));
    EXPECT_FALSE(blendRect(empty, other, 0, 0, 2, 2, BlendMode::Translucent));
    EXPECT_FALSE(recolorRect(empty, 0, 0, 3, 3, RecolorKind::Invert));
    EXPECT_EQ(replaceColorRect(empty, 0, 0, 3, 3, 0u, 0u, false), 0u);
    EXPECT_EQ(countColorsRect(empty, 0, 0, 2, 2), 0u);
    EXPECT_FALSE(flipRectHorizontal(empty, 0, 0, 2, 2) || flipRectVertical(empty, 0, 0, 2, 2));
    EXPECT_FALSE(pasteMaskRect(canvas, empty, 0, 0, 2, 2) ||
                 pasteMaskRect(empty, other, 0, 0, 2, 2));
    EXPECT_FALSE(exportMaskRect(empty, canvas, 0, 0, 2, 2) ||
                 exportMaskRect(output, empty, 0, 0, 2, 2));
    EXPECT_EQ(snapshot(canvas), canvasBefore);
    EXPECT_EQ(snapshot(output), outputBefore);
    EXPECT_EQ(out, std::vector<uint32_t>(16, 0x12345678u));
}

// Inside, over each edge and over all four at once; the output is w x h
// bottom-up, like an image.
TEST(ExtractRect, CopiesTheInsideAndFillsWhatHangsOver) {
    DIB canvas(5, 4);
    fillTagged(canvas);
    for (Rect r : {Rect{2, 1, 3, 2}, Rect{-2, 1, 4, 2}, Rect{1, -3, 2, 5}, Rect{3, 0, 4, 3},
                   Rect{0, 2, 5, 4}, Rect{-1, -1, 7, 6}}) {
        DIB out(r.w, r.h);
        ASSERT_TRUE(extractRect(canvas, r.x, r.y, r.w, r.h, kFill, out.pixels,
                                static_cast<size_t>(r.w) * r.h));
        EXPECT_TRUE(pixelsAre(
            out,
            [&](int32_t x, int32_t y) {
                return Rect{0, 0, 5, 4}.has(r.x + x, r.y + y) ? tag(r.x + x, r.y + y) : kFill;
            }))
            << "rect " << r.x << "," << r.y;
    }
}

TEST(BlendRect, SourceIsReadFromItsOriginAndClippedAgainstBothImages) {
    DIB canvas(6, 5), source(3, 3);
    fill(canvas, [](int32_t, int32_t) { return 0xFF000000u; });
    fill(source,
         [](int32_t x, int32_t y) { return 0xFF000000u | (y * 16 + x); });  // opaque: copied
    // Two columns over the left edge: canvas column 0 takes source column 2.
    ASSERT_TRUE(blendRect(canvas, source, -2, 1, 10, 10, BlendMode::Translucent));
    // Over the bottom-right corner: only the canvas part is written.
    ASSERT_TRUE(blendRect(canvas, source, 4, 3, 3, 3, BlendMode::OpaqueBase));
    EXPECT_TRUE(pixelsAre(canvas, [](int32_t x, int32_t y) {
        if (x == 0 && y >= 1 && y <= 3) return 0xFF000000u | ((y - 1) * 16 + 2);
        return x >= 4 && y >= 3 ? 0xFF000000u | ((y - 3) * 16 + x - 4) : 0xFF000000u;
    }));
}

TEST(ReplaceColorRect, MatchesLow24BitsInsideTheCanvasAndCountsReplacements) {
    DIB canvas(7, 3);
    fill(canvas, [](int32_t x, int32_t y) {
        if (x == 0 && y == 1) return 0xFFFF00FFu;  // a match left of the rectangle
        if (x == 1 && y == 0) return 0x00FF00FFu;
        if (x == 6 && y == 2) return 0xFFFF00FFu;  // same colour, other alpha: the scalar tail
        if (x == 2 && y == 1) return 0x40FF00FFu;
        return 0x80FF00FEu;  // a near miss
    });
    // Columns 1..6 and rows 0..2 lie inside; keepAlpha: the old alpha stays.
    EXPECT_EQ(replaceColorRect(canvas, 1, -1, 10, 10, 0x12FF00FFu, 0x3300FF00u, true), 3u);
    EXPECT_EQ(canvas.pixelAt(1, 0), 0x0000FF00u);
    EXPECT_EQ(canvas.pixelAt(6, 2), 0xFF00FF00u);
    EXPECT_EQ(canvas.pixelAt(0, 1), 0xFFFF00FFu);
    EXPECT_EQ(canvas.pixelAt(3, 0), 0x80FF00FEu);
    EXPECT_EQ(replaceColorRect(canvas, 0, 0, 7, 3, 0xFF00FF00u, 0x12345678u, false), 3u);
    EXPECT_EQ(canvas.pixelAt(6, 2), 0x12345678u);  // without keepAlpha the alpha is replaced too
}

TEST(CountColorsRect, CountsEveryOneOfTheSixteenMillionColoursOnceIgnoringAlpha) {
    // Red varies fastest: neighbouring pixels differ in the top colour byte.
    DIB canvas(4096, 4096);
    ASSERT_TRUE(canvas.isValid());
    for (uint32_t i = 0; i < (1u << 24); ++i) {
        const uint32_t r = i & 0xFF, g = (i >> 8) & 0xFF, b = i >> 16;
        canvas.pixels[i] = i << 24 | r << 16 | g << 8 | b;  // alpha varies too
    }
    EXPECT_EQ(countColorsRect(canvas, 0, 0, 4096, 4096), 1u << 24);
    EXPECT_EQ(countColorsRect(canvas, 0, 4095, 300, 1), 300u);  // memory row 0
    EXPECT_EQ(countColorsRect(canvas, -10, -10, 20, 20), 100u);
}

// Widths 1 to 19 cover the vector swaps, the scalar middle and odd centres;
// rows of 2503 are longer than the vertical flip's buffer. The rectangles hang
// over the top and right edges: only the part inside is mirrored, about its
// own centre.
TEST(FlipRect, MirrorsOnlyThePartInsideAboutItsOwnCentre) {
    for (int32_t w = 1; w <= 19; ++w) {
        DIB canvas(w + 1, 3);
        fillTagged(canvas);
        ASSERT_TRUE(flipRectHorizontal(canvas, 1, -1, w + 5, 3));
        EXPECT_TRUE(pixelsAre(
            canvas,
            [&](int32_t x, int32_t y) { return x >= 1 && y <= 1 ? tag(w + 1 - x, y) : tag(x, y); }))
            << "width " << w;
    }
    DIB canvas(2503, 6);
    fillTagged(canvas);
    ASSERT_TRUE(flipRectVertical(canvas, 3, -3, 2600, 7));
    EXPECT_TRUE(pixelsAre(
        canvas, [](int32_t x, int32_t y) { return x >= 3 && y <= 3 ? tag(x, 3 - y) : tag(x, y); }));
}

TEST(MaskRects, PasteSetsAlphaFromGreyAndExportWritesOpaqueGreyOfAlpha) {
    DIB canvas(5, 4), mask(3, 3);
    fill(canvas, [](int32_t x, int32_t y) { return 0x11000000u | (y * 16 + x); });
    fill(mask, [](int32_t x, int32_t y) { return 0x77000000u | (y * 3 + x) * 20 * 0x010101u; });
    // One column over the left edge: canvas column 0 takes mask column 1.
    ASSERT_TRUE(pasteMaskRect(canvas, mask, -1, 2, 3, 3));
    EXPECT_TRUE(pixelsAre(canvas, [](int32_t x, int32_t y) {
        const uint32_t alpha = x <= 1 && y >= 2 ? ((y - 2) * 3 + x + 1) * 20 : 0x11;
        return alpha << 24 | (y * 16 + x);
    }));
    DIB output(4, 4);
    fill(output, [](int32_t, int32_t) { return 0u; });
    ASSERT_TRUE(exportMaskRect(output, canvas, 3, 1, 4, 4));  // two columns, three rows inside
    EXPECT_TRUE(pixelsAre(output, [&](int32_t x, int32_t y) {
        return x < 2 && y < 3 ? 0xFF000000u | (canvas.pixelAt(x + 3, y + 1) >> 24) * 0x010101u : 0u;
    }));
}
