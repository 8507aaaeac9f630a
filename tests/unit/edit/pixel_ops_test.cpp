// The pixel operations: what each changes, and the clipping of rectangles
// that reach outside the image.
#include "edit/pixel_ops.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/unit/edit/test_image.h"

using testimage::at;
using testimage::fill;
using testimage::fillTagged;
using testimage::snapshot;
using testimage::tag;

namespace {

constexpr uint32_t kFill = 0x00ABCDEFu;

// The image of a rectangle as extractRect lays it out: w x h, bottom-up.
uint32_t outputAt(const std::vector<uint32_t>& out, int32_t w, int32_t h, int32_t x, int32_t y) {
    return out[static_cast<size_t>(h - 1 - y) * w + x];
}

bool inRect(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t rw, int32_t rh) {
    return x >= rx && x < rx + rw && y >= ry && y < ry + rh;
}

}  // namespace

// ------------------------------------------------------------------ pixelOf

TEST(PixelOf, ExchangesRedAndBlueAndKeepsTopByte) {
    EXPECT_EQ(pixelOf(0x00112233u), 0x00332211u);  // stored colours give alpha 0
    EXPECT_EQ(pixelOf(0x000000FFu), 0x00FF0000u);  // stored red is pixel red
    EXPECT_EQ(pixelOf(0xAA112233u), 0xAA332211u);
}

// -------------------------------------------------------------- extractRect

TEST(ExtractRect, InsideCopiesUnchangedBottomUp) {
    DIB canvas(8, 6);
    fillTagged(canvas);
    std::vector<uint32_t> out(3 * 2, 0);
    ASSERT_TRUE(extractRect(canvas, 2, 3, 3, 2, kFill, out.data()));
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(outputAt(out, 3, 2, x, y), tag(2 + x, 3 + y));
    EXPECT_EQ(out[0], tag(2, 4));  // the bottom row comes first in memory
}

TEST(ExtractRect, FillsWhatHangsOverEachEdge) {
    DIB canvas(5, 4);
    fillTagged(canvas);
    struct Case {
        int32_t x, y, w, h;
    };
    // Over the left, top, right and bottom edge, and over all four at once.
    for (Case c : {Case{-2, 1, 4, 2}, Case{1, -3, 2, 5}, Case{3, 0, 4, 3}, Case{0, 2, 5, 4},
                   Case{-1, -1, 7, 6}}) {
        std::vector<uint32_t> out(static_cast<size_t>(c.w) * c.h, 0x12345678u);
        ASSERT_TRUE(extractRect(canvas, c.x, c.y, c.w, c.h, kFill, out.data()));
        for (int32_t y = 0; y < c.h; ++y) {
            for (int32_t x = 0; x < c.w; ++x) {
                const int32_t cx = c.x + x, cy = c.y + y;
                const uint32_t expected = inRect(cx, cy, 0, 0, 5, 4) ? tag(cx, cy) : kFill;
                EXPECT_EQ(outputAt(out, c.w, c.h, x, y), expected)
                    << "rect " << c.x << "," << c.y << " at " << x << "," << y;
            }
        }
    }
}

TEST(ExtractRect, FailsWithoutOverlapOrSizeAndLeavesOutputAlone) {
    DIB canvas(5, 4), empty;
    fillTagged(canvas);
    std::vector<uint32_t> out(16, 0x12345678u);
    EXPECT_FALSE(extractRect(canvas, 5, 0, 2, 2, kFill, out.data()));   // right of the canvas
    EXPECT_FALSE(extractRect(canvas, -2, 0, 2, 2, kFill, out.data()));  // ends at column 0
    EXPECT_FALSE(extractRect(canvas, 0, 4, 2, 2, kFill, out.data()));   // below
    EXPECT_FALSE(extractRect(canvas, 0, 0, 0, 2, kFill, out.data()));
    EXPECT_FALSE(extractRect(canvas, 0, 0, 2, -2, kFill, out.data()));
    EXPECT_FALSE(extractRect(empty, 0, 0, 2, 2, kFill, out.data()));
    EXPECT_FALSE(extractRect(canvas, INT_MAX, INT_MAX, 4, 4, kFill, out.data()));
    EXPECT_EQ(out, std::vector<uint32_t>(16, 0x12345678u));
}

// ---------------------------------------------------------------- blendRect

TEST(BlendRectClipping, SourceIsReadFromItsOriginAndClippedAgainstBothImages) {
    DIB canvas(6, 5), source(3, 3);
    fill(canvas, [](int32_t, int32_t) { return 0xFF000000u; });
    fill(source, [](int32_t x, int32_t y) {
        return 0xFF000000u | static_cast<uint32_t>(y * 16 + x);  // opaque: the blend copies it
    });
    // Two columns over the left edge: canvas column 0 takes source column 2.
    ASSERT_TRUE(blendRect(canvas, source, -2, 1, 10, 10, BlendMode::Translucent));
    for (int32_t y = 0; y < 5; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            const bool covered = x == 0 && y >= 1 && y <= 3;
            const uint32_t expected =
                covered ? 0xFF000000u | static_cast<uint32_t>((y - 1) * 16 + 2) : 0xFF000000u;
            EXPECT_EQ(at(canvas, x, y), expected) << x << "," << y;
        }
    }
    // Over the bottom-right corner: only the canvas part is written.
    ASSERT_TRUE(blendRect(canvas, source, 4, 3, 3, 3, BlendMode::OpaqueBase));
    EXPECT_EQ(at(canvas, 4, 3), 0xFF000000u | 0u);
    EXPECT_EQ(at(canvas, 5, 4), 0xFF000000u | 17u);
    EXPECT_EQ(at(canvas, 3, 3), 0xFF000000u);
}

TEST(BlendRectClipping, EmptyRegionsFailAndChangeNothing) {
    DIB canvas(4, 4), source(2, 2), empty;
    fillTagged(canvas);
    fillTagged(source);
    const auto before = snapshot(canvas);
    for (BlendMode mode : {BlendMode::Translucent, BlendMode::OpaqueBase}) {
        EXPECT_FALSE(blendRect(canvas, source, 4, 0, 2, 2, mode));
        EXPECT_FALSE(blendRect(canvas, source, 0, -2, 2, 2, mode));
        EXPECT_FALSE(blendRect(canvas, source, 0, 0, -2, 2, mode));
        EXPECT_FALSE(blendRect(canvas, source, 0, 0, 2, 0, mode));
        EXPECT_FALSE(blendRect(canvas, empty, 0, 0, 2, 2, mode));
        EXPECT_FALSE(blendRect(empty, source, 0, 0, 2, 2, mode));
    }
    EXPECT_EQ(snapshot(canvas), before);
}

// -------------------------------------------------------------- recolorRect

TEST(RecolorRect, EachKindMovesTheChannelsItsMenuNames) {
    struct Case {
        RecolorKind kind;
        uint32_t expected;
    };
    // 0x80112233: red 0x11, green 0x22, blue 0x33, alpha 0x80 kept.
    for (Case c : {Case{RecolorKind::Invert, 0x80EEDDCCu}, Case{RecolorKind::ToRBG, 0x80113322u},
                   Case{RecolorKind::ToGRB, 0x80221133u}, Case{RecolorKind::ToGBR, 0x80331122u},
                   Case{RecolorKind::ToBRG, 0x80223311u}, Case{RecolorKind::ToBGR, 0x80332211u}}) {
        DIB canvas(9, 2);  // nine columns: vector blocks and a scalar tail
        fill(canvas, [](int32_t, int32_t) { return 0x80112233u; });
        ASSERT_TRUE(recolorRect(canvas, 0, 0, 9, 2, c.kind));
        for (int32_t y = 0; y < 2; ++y)
            for (int32_t x = 0; x < 9; ++x)
                EXPECT_EQ(at(canvas, x, y), c.expected) << static_cast<int>(c.kind);
    }
}

TEST(RecolorRect, UnknownKindsLeavePixelsUnchanged) {
    DIB canvas(5, 5);
    fillTagged(canvas);
    const auto before = snapshot(canvas);
    EXPECT_TRUE(recolorRect(canvas, 0, 0, 5, 5, static_cast<RecolorKind>(0)));
    EXPECT_TRUE(recolorRect(canvas, 0, 0, 5, 5, static_cast<RecolorKind>(7)));
    EXPECT_TRUE(recolorRect(canvas, 0, 0, 5, 5, static_cast<RecolorKind>(-1)));
    EXPECT_EQ(snapshot(canvas), before);
}

TEST(RecolorRect, ChangesOnlyThePartInsideTheCanvas) {
    DIB canvas(11, 7);
    fillTagged(canvas);
    ASSERT_TRUE(
        recolorRect(canvas, 3, -2, 20, 5, RecolorKind::Invert));  // rows 0..2, columns 3..10
    for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < 11; ++x)
            EXPECT_EQ(at(canvas, x, y),
                      inRect(x, y, 3, 0, 8, 3) ? tag(x, y) ^ 0x00FFFFFFu : tag(x, y))
                << x << "," << y;
}

TEST(RecolorRect, EmptyIntersectionSucceedsEmptyImageFails) {
    DIB canvas(4, 4), empty;
    fillTagged(canvas);
    const auto before = snapshot(canvas);
    EXPECT_TRUE(recolorRect(canvas, 4, 0, 3, 3, RecolorKind::Invert));
    EXPECT_TRUE(recolorRect(canvas, -3, -3, 3, 3, RecolorKind::Invert));
    EXPECT_TRUE(recolorRect(canvas, 2, 2, -2, 2, RecolorKind::Invert));  // negative size: empty
    EXPECT_TRUE(recolorRect(canvas, INT_MAX, 0, INT_MAX, 4, RecolorKind::Invert));
    EXPECT_EQ(snapshot(canvas), before);
    EXPECT_FALSE(recolorRect(empty, 0, 0, 3, 3, RecolorKind::Invert));
}

// --------------------------------------------------------- replaceColorRect

TEST(ReplaceColorRect, MatchesLow24BitsAndCountsReplacements) {
    DIB canvas(7, 3);
    fill(canvas, [](int32_t x, int32_t y) {
        if (x == 1 && y == 0) return 0x00FF00FFu;
        if (x == 6 && y == 2) return 0xFFFF00FFu;  // same colour, other alpha: the scalar tail
        if (x == 2 && y == 1) return 0x40FF00FFu;
        return 0x80FF00FEu;  // a near miss
    });
    EXPECT_EQ(replaceColorRect(canvas, 0, 0, 7, 3, 0x12FF00FFu, 0x3300FF00u, true), 3u);
    EXPECT_EQ(at(canvas, 1, 0), 0x0000FF00u);  // keepAlpha: the old alpha stays
    EXPECT_EQ(at(canvas, 6, 2), 0xFF00FF00u);
    EXPECT_EQ(at(canvas, 2, 1), 0x4000FF00u);
    EXPECT_EQ(at(canvas, 0, 0), 0x80FF00FEu);
}

TEST(ReplaceColorRect, WithoutKeepAlphaWritesAllFourBytes) {
    // The "make a colour transparent" use: match = replacement = pixelOf(colour).
    DIB canvas(5, 1);
    fill(canvas, [](int32_t x, int32_t) { return x % 2 ? 0xFF0000FFu : 0xFF00FF00u; });
    const uint32_t blue = pixelOf(0x00FF0000u);  // stored blue
    EXPECT_EQ(replaceColorRect(canvas, 0, 0, 5, 1, blue, blue, false), 2u);
    EXPECT_EQ(at(canvas, 1, 0), 0x000000FFu);  // colour kept, alpha 0
    EXPECT_EQ(at(canvas, 3, 0), 0x000000FFu);
    EXPECT_EQ(at(canvas, 0, 0), 0xFF00FF00u);
}

TEST(ReplaceColorRect, OnlyInsideTheCanvasAndZeroWhenNothingIsThere) {
    DIB canvas(6, 6), empty;
    fill(canvas, [](int32_t, int32_t) { return 0xFF102030u; });
    EXPECT_EQ(replaceColorRect(canvas, 4, 4, 10, 10, 0x102030u, 0u, false), 4u);
    EXPECT_EQ(at(canvas, 3, 4), 0xFF102030u);
    EXPECT_EQ(at(canvas, 5, 5), 0u);
    EXPECT_EQ(replaceColorRect(canvas, 6, 0, 3, 3, 0x102030u, 0u, false), 0u);
    EXPECT_EQ(replaceColorRect(canvas, 0, 0, -3, 3, 0x102030u, 0u, false), 0u);
    EXPECT_EQ(replaceColorRect(empty, 0, 0, 3, 3, 0x102030u, 0u, false), 0u);
    EXPECT_EQ(at(canvas, 0, 0), 0xFF102030u);
}

// ---------------------------------------------------------- countColorsRect

TEST(CountColorsRect, IgnoresAlpha) {
    DIB canvas(9, 1);
    fill(canvas, [](int32_t x, int32_t) { return x % 2 ? 0x00123456u : 0xFF123456u; });
    EXPECT_EQ(countColorsRect(canvas, 0, 0, 9, 1), 1u);
}

TEST(CountColorsRect, CountsEveryOneOfTheSixteenMillionColoursOnce) {
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

TEST(CountColorsRect, ZeroOutsideTheCanvasOrOnAnEmptyImage) {
    DIB canvas(4, 4), empty;
    fillTagged(canvas);
    EXPECT_EQ(countColorsRect(canvas, 4, 0, 2, 2), 0u);
    EXPECT_EQ(countColorsRect(canvas, 0, -2, 2, 2), 0u);
    EXPECT_EQ(countColorsRect(canvas, 2, 2, -2, -2), 0u);
    EXPECT_EQ(countColorsRect(empty, 0, 0, 2, 2), 0u);
    EXPECT_EQ(countColorsRect(canvas, -5, -5, 100, 100), 16u);
}

// -------------------------------------------------------------------- flips

TEST(FlipRect, HorizontalMirrorsEachRowForEveryWidth) {
    // Widths 1 to 19 cover the vector swaps, the scalar middle and odd centres.
    for (int32_t w = 1; w <= 19; ++w) {
        DIB canvas(w + 2, 3);
        fillTagged(canvas);
        ASSERT_TRUE(flipRectHorizontal(canvas, 1, 0, w, 3));
        for (int32_t y = 0; y < 3; ++y) {
            EXPECT_EQ(at(canvas, 0, y), tag(0, y));
            EXPECT_EQ(at(canvas, w + 1, y), tag(w + 1, y));
            for (int32_t x = 0; x < w; ++x)
                EXPECT_EQ(at(canvas, 1 + x, y), tag(w - x, y)) << "width " << w << " x " << x;
        }
    }
}

TEST(FlipRect, OnePixelWideHorizontalFlipChangesNothing) {
    DIB canvas(3, 4);
    fillTagged(canvas);
    const auto before = snapshot(canvas);
    EXPECT_TRUE(flipRectHorizontal(canvas, 1, 0, 1, 4));
    EXPECT_EQ(snapshot(canvas), before);
}

TEST(FlipRect, HangingOverTheEdgeMirrorsOnlyTheInsidePartAboutItsOwnCentre) {
    DIB canvas(10, 6);
    fillTagged(canvas);
    // Columns 7..12 requested, 7..9 inside: 7 and 9 exchange, 8 stays.
    ASSERT_TRUE(flipRectHorizontal(canvas, 7, -1, 6, 3));
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            const bool inside = x >= 7 && y <= 1;
            EXPECT_EQ(at(canvas, x, y), inside ? tag(16 - x, y) : tag(x, y)) << x << "," << y;
        }
    }
    fillTagged(canvas);
    // Rows -3..3 requested, 0..3 inside: 0 with 3, 1 with 2.
    ASSERT_TRUE(flipRectVertical(canvas, -4, -3, 7, 7));
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            const bool inside = x <= 2 && y <= 3;
            EXPECT_EQ(at(canvas, x, y), inside ? tag(x, 3 - y) : tag(x, y)) << x << "," << y;
        }
    }
}

TEST(FlipRect, VerticalExchangesWholeRowsLongerThanItsBuffer) {
    DIB canvas(2500, 5);
    fillTagged(canvas);
    ASSERT_TRUE(flipRectVertical(canvas, 0, 0, 2500, 5));
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 2500; x += 7) ASSERT_EQ(at(canvas, x, y), tag(x, 4 - y));
    EXPECT_EQ(at(canvas, 2499, 0), tag(2499, 4));
}

TEST(FlipRect, EmptyIntersectionOrImageFails) {
    DIB canvas(4, 4), empty;
    fillTagged(canvas);
    const auto before = snapshot(canvas);
    EXPECT_FALSE(flipRectHorizontal(canvas, 4, 0, 2, 2));
    EXPECT_FALSE(flipRectVertical(canvas, 0, -2, 2, 2));
    EXPECT_FALSE(flipRectHorizontal(canvas, 2, 2, -2, 2));
    EXPECT_FALSE(flipRectVertical(canvas, 2, 2, 2, -2));
    EXPECT_FALSE(flipRectHorizontal(empty, 0, 0, 2, 2));
    EXPECT_FALSE(flipRectVertical(empty, 0, 0, 2, 2));
    EXPECT_EQ(snapshot(canvas), before);
    EXPECT_TRUE(flipRectVertical(canvas, 0, 3, 4, 1));  // one row: unchanged but not empty
    EXPECT_EQ(snapshot(canvas), before);
}

// ------------------------------------------------------------- mask pastes

TEST(PasteMaskRect, KeepsColoursIgnoresMaskAlphaAndClips) {
    DIB canvas(5, 4), mask(3, 3);
    fill(canvas,
         [](int32_t x, int32_t y) { return 0x11000000u | static_cast<uint32_t>(y * 16 + x); });
    fill(mask, [](int32_t x, int32_t y) {
        const uint32_t level = static_cast<uint32_t>(y * 3 + x) * 20;
        return 0x77000000u | level * 0x010101u;
    });
    // One column over the left edge: canvas column 0 takes mask column 1.
    ASSERT_TRUE(pasteMaskRect(canvas, mask, -1, 2, 3, 3));
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
            const uint32_t colour = static_cast<uint32_t>(y * 16 + x);
            const bool covered = x <= 1 && y >= 2;
            const uint32_t alpha = covered ? static_cast<uint32_t>((y - 2) * 3 + x + 1) * 20 : 0x11;
            EXPECT_EQ(at(canvas, x, y), alpha << 24 | colour) << x << "," << y;
        }
    }
}

TEST(PasteMaskRect, EmptyRegionsFail) {
    DIB canvas(4, 4), mask(2, 2), empty;
    fillTagged(canvas);
    fillTagged(mask);
    const auto before = snapshot(canvas);
    EXPECT_FALSE(pasteMaskRect(canvas, mask, 4, 0, 2, 2));
    EXPECT_FALSE(pasteMaskRect(canvas, mask, -2, 0, 2, 2));
    EXPECT_FALSE(pasteMaskRect(canvas, mask, 0, 0, -2, 2));
    EXPECT_FALSE(pasteMaskRect(canvas, empty, 0, 0, 2, 2));
    EXPECT_FALSE(pasteMaskRect(empty, mask, 0, 0, 2, 2));
    EXPECT_EQ(snapshot(canvas), before);
}

TEST(ExportMaskRect, OpaqueGreyOfAlphaAndOutsideKeepsCallersPixels) {
    DIB canvas(4, 3), output(4, 4);
    fill(canvas, [](int32_t x, int32_t y) {
        return static_cast<uint32_t>(y * 4 + x) * 17u << 24 | 0x123456u;
    });
    fill(output, [](int32_t, int32_t) { return 0u; });
    // From canvas (2, 1): two columns and two rows lie inside.
    ASSERT_TRUE(exportMaskRect(output, canvas, 2, 1, 4, 4));
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            const bool covered = x < 2 && y < 2;
            const uint32_t a = static_cast<uint32_t>((y + 1) * 4 + x + 2) * 17u;
            EXPECT_EQ(at(output, x, y), covered ? 0xFF000000u | a * 0x010101u : 0u)
                << x << "," << y;
        }
    }
    EXPECT_FALSE(exportMaskRect(output, canvas, 4, 0, 2, 2));
    EXPECT_FALSE(exportMaskRect(output, canvas, 0, 0, 0, 2));
    DIB empty;
    EXPECT_FALSE(exportMaskRect(empty, canvas, 0, 0, 2, 2));
    EXPECT_FALSE(exportMaskRect(output, empty, 0, 0, 2, 2));
}
