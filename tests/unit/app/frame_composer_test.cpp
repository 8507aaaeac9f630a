#include "app/frame_composer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace {

constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kB0 = 0xB0B0B0;
constexpr uint32_t kCanvasColor = 0x00123456;
constexpr CanvasRect kFarAway{100000, 100000, 100001, 100001};  // outline off the frame

void fill(DIB& d, uint32_t pixel) { d.fillRect(0, 0, d.width(), d.height(), pixel); }

uint32_t rgb(const DIB& d, int32_t x, int32_t y) { return d.pixelAt(x, y) & 0xFFFFFF; }

FrameInputs inputsFor(const DIB& canvas) {
    FrameInputs in;
    in.canvas = &canvas;
    in.selection = kFarAway;
    return in;
}

// The literal drawing rule: float scale factors, clipRegion on the source
// size in destination pixels, 14-bit steps added up pixel by pixel, each
// colour byte mixed on its own.
void referenceScaled(const DIB& src, DIB& dst, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                     int32_t sw, int32_t sh, bool blend) {
    int32_t w = std::abs(dw), h = std::abs(dh);
    const float fx = static_cast<float>(w) / sw, fy = static_cast<float>(h) / sh;
    int32_t u = 0, v = 0;
    if (!clipRegion(dx, dy, w, h, u, v, dst.width(), dst.height(),
                    static_cast<int32_t>(src.width() * fx),
                    static_cast<int32_t>(src.height() * fy))) {
        return;
    }
    const int32_t stepX = (std::abs(sw) * 16384) / std::abs(dw);
    const int32_t stepY = (std::abs(sh) * 16384) / std::abs(dh);
    int32_t ay = static_cast<int32_t>(v * 16384.0f / fy);
    for (int32_t j = 0; j < h; ++j, ay += stepY) {
        int32_t ax = static_cast<int32_t>(u * 16384.0f / fx);
        for (int32_t i = 0; i < w; ++i, ax += stepX) {
            const uint32_t s = src.pixelAt(ax >> 14, ay >> 14);
            uint32_t& d = dst.row(dy + j)[dx + i];
            if (!blend) {
                d = s;
                continue;
            }
            const uint32_t a = s >> 24;
            uint32_t out = d & 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                out |= ((sc * a + dc * (256 - a)) >> 8) << shift;
            }
            d = out;
        }
    }
}

// The whole frame by the literal rule, without outline and marks.
void referenceFrame(DIB& frame, const FrameInputs& in) {
    fill(frame, kGrey);
    const DIB& c = *in.canvas;
    const int32_t ox = 8 - in.hPos, oy = 8 - in.vPos;
    const int32_t zw = static_cast<int32_t>(c.width() * in.zoom);
    const int32_t zh = static_cast<int32_t>(c.height() * in.zoom);
    if (in.alphaMode) {
        const int32_t box = std::max(in.boxSize, 1);
        for (int32_t r = 0; r * box < zh; ++r) {
            for (int32_t k = 0; k * box < zw; ++k) {
                const uint32_t color = (r + k) % 2 == 0 ? in.color1 : in.color2;
                frame.fillRect(ox + k * box, oy + r * box, std::min(box, zw - k * box),
                               std::min(box, zh - r * box), colorRefToPixel(color));
            }
        }
    }
    referenceScaled(c, frame, ox, oy, zw, zh, c.width(), c.height(), in.alphaMode);
}

// A canvas of distinct pixels with varied alpha.
void fillPattern(DIB& d) {
    uint32_t x = 12345;
    for (int32_t y = 0; y < d.height(); ++y) {
        for (int32_t i = 0; i < d.width(); ++i) {
            x = x * 1103515245u + 12345u;
            d.row(y)[i] = x;
        }
    }
}

// Pixels on the outline of an inclusive client rectangle (L, T, R, B): the
// border of L..R+1 by T..B+1.
bool onOutline(int32_t x, int32_t y, int32_t l, int32_t t, int32_t r, int32_t b) {
    const bool inX = x >= l && x <= r + 1, inY = y >= t && y <= b + 1;
    return (inX && (y == t || y == b + 1)) || (inY && (x == l || x == r + 1));
}

}  // namespace

TEST(FrameComposer, CanvasAtZoom1StartsAtClient8x8WithGreyAroundIt) {
    DIB canvas(256, 256);
    fillPattern(canvas);
    DIB frame(400, 300);
    composeFrame(frame, inputsFor(canvas));
    for (int32_t y = 0; y < 300; ++y) {
        for (int32_t x = 0; x < 400; ++x) {
            const bool inside = x >= 8 && x < 264 && y >= 8 && y < 264;
            const uint32_t want = inside ? canvas.pixelAt(x - 8, y - 8) : kGrey;
            ASSERT_EQ(frame.pixelAt(x, y), want) << x << "," << y;
        }
    }
}

TEST(FrameComposer, AlphaModeShowsOpaqueWhiteOverTheB0SquareAs254) {
    DIB canvas(16, 16);
    fill(canvas, 0);
    canvas.row(0)[8] = 0xFFFFFFFF;   // over square row 0, column 1: color2
    canvas.row(0)[0] = 0xFFFFFFFF;   // over square row 0, column 0: color1
    canvas.row(8)[8] = 0x80FF0000;   // half red over color1
    canvas.row(8)[0] = 0x80FF0000;   // half red over color2
    DIB frame(40, 40);
    FrameInputs in = inputsFor(canvas);
    in.alphaMode = true;
    composeFrame(frame, in);
    EXPECT_EQ(rgb(frame, 16, 8), 0xFEFEFEu);  // (255 * 255 + 176 * 1) >> 8 = 254
    EXPECT_EQ(rgb(frame, 8, 8), 0xFFFFFFu);   // (255 * 255 + 255) >> 8 = 255
    EXPECT_EQ(rgb(frame, 9, 8), kWhite);      // transparent: the square shows
    EXPECT_EQ(rgb(frame, 17, 8), kB0);
    EXPECT_EQ(rgb(frame, 16, 16), 0xFF7F7Fu);  // red 255, green and blue 255 * 128 >> 8
    EXPECT_EQ(rgb(frame, 8, 16), 0xD75858u);   // 431 * 128 >> 8 = 215, 176 * 128 >> 8 = 88
}

TEST(FrameComposer, BoxSize8AtZoom4GivesSquaresOfTwoByTwoCanvasPixels) {
    DIB canvas(8, 8);
    fill(canvas, 0);
    DIB frame(48, 48);
    FrameInputs in = inputsFor(canvas);
    in.alphaMode = true;
    in.zoom = 4.0f;
    composeFrame(frame, in);
    for (int32_t cy = 0; cy < 8; ++cy) {
        for (int32_t cx = 0; cx < 8; ++cx) {
            const uint32_t want = (cx / 2 + cy / 2) % 2 == 0 ? kWhite : kB0;
            for (int32_t j = 0; j < 4; ++j) {
                for (int32_t i = 0; i < 4; ++i) {
                    ASSERT_EQ(rgb(frame, 8 + 4 * cx + i, 8 + 4 * cy + j), want) << cx << "," << cy;
                }
            }
        }
    }
}

TEST(FrameComposer, BoxSizeBelowOnePaintsAsOne) {
    for (int32_t box : {0, -5}) {
        DIB canvas(4, 4);
        fill(canvas, 0);
        DIB frame(20, 20);
        FrameInputs in = inputsFor(canvas);
        in.alphaMode = true;
        in.boxSize = box;
        composeFrame(frame, in);
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t x = 0; x < 4; ++x) {
                EXPECT_EQ(rgb(frame, 8 + x, 8 + y), (x + y) % 2 == 0 ? kWhite : kB0) << box;
            }
        }
    }
}

TEST(FrameComposer, CheckerboardMovesWithTheCanvasAndItsLastSquareIsCut) {
    DIB canvas(10, 4);
    fill(canvas, 0);
    DIB frame(30, 20);
    FrameInputs in = inputsFor(canvas);
    in.alphaMode = true;
    in.hPos = 3;  // origin x = 5
    composeFrame(frame, in);
    EXPECT_EQ(rgb(frame, 4, 8), kGrey);
    EXPECT_EQ(rgb(frame, 5, 8), kWhite);
    EXPECT_EQ(rgb(frame, 12, 8), kWhite);
    EXPECT_EQ(rgb(frame, 13, 8), kB0);
    EXPECT_EQ(rgb(frame, 14, 8), kB0);
    EXPECT_EQ(rgb(frame, 15, 8), kGrey);  // the canvas is 10 wide
    EXPECT_EQ(rgb(frame, 5, 12), kGrey);  // and 4 high
}

TEST(FrameComposer, StoredCheckerColoursAreTurnedIntoPixels) {
    DIB canvas(16, 1);
    fill(canvas, 0);
    DIB frame(30, 20);
    FrameInputs in = inputsFor(canvas);
    in.alphaMode = true;
    in.color1 = 0x0000FF;  // red as stored
    in.color2 = 0xFF0000;  // blue as stored
    composeFrame(frame, in);
    EXPECT_EQ(rgb(frame, 8, 8), 0xFF0000u);
    EXPECT_EQ(rgb(frame, 16, 8), 0x0000FFu);
}

TEST(FrameComposer, FramesMatchTheLiteralDrawingRule) {
    DIB canvas(37, 23);
    fillPattern(canvas);
    DIB frame(90, 70);
    DIB expected(90, 70);
    const float zooms[] = {1.0f, 0.5f, 2.0f, 4.0f, 1.3f, 0.3125f, 6.25f};
    const int32_t scrolls[][2] = {{0, 0}, {13, 7}, {-30, -5}, {150, 90}, {40, 0}};
    for (bool alpha : {false, true}) {
        for (float zoom : zooms) {
            for (const auto& scroll : scrolls) {
                FrameInputs in = inputsFor(canvas);
                in.alphaMode = alpha;
                in.zoom = zoom;
                in.hPos = scroll[0];
                in.vPos = scroll[1];
                in.boxSize = 5;
                composeFrame(frame, in);
                referenceFrame(expected, in);
                for (int32_t y = 0; y < 70; ++y) {
                    for (int32_t x = 0; x < 90; ++x) {
                        ASSERT_EQ(frame.pixelAt(x, y), expected.pixelAt(x, y))
                            << "alpha " << alpha << " zoom " << zoom << " scroll " << scroll[0]
                            << "," << scroll[1] << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(FrameComposer, EmptyCanvasLeavesOnlyTheBackground) {
    DIB canvas;
    DIB frame(30, 20);
    for (bool alpha : {false, true}) {
        FrameInputs in = inputsFor(canvas);
        in.alphaMode = alpha;
        composeFrame(frame, in);
        for (int32_t y = 0; y < 20; ++y) {
            for (int32_t x = 0; x < 30; ++x) ASSERT_EQ(frame.pixelAt(x, y), kGrey);
        }
    }
}

TEST(FrameComposer, HugeZoomReadsOnlyInsideTheCanvas) {
    DIB canvas(4, 4);
    std::set<uint32_t> values;
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            canvas.row(y)[x] = 0xFF000000u | static_cast<uint32_t>(y * 4 + x + 1);
            values.insert(canvas.row(y)[x]);
        }
    }
    DIB frame(64, 64);
    FrameInputs in = inputsFor(canvas);
    in.zoom = 100000.25f;
    in.hPos = 399990;  // the right edge of the canvas
    in.vPos = 199990;
    composeFrame(frame, in);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 64; ++x) {
            const uint32_t p = frame.pixelAt(x, y);
            ASSERT_TRUE(p == kGrey || values.count(p)) << x << "," << y;
        }
    }
    EXPECT_TRUE(values.count(frame.pixelAt(0, 0)));
}

TEST(FrameComposer, TinyZoomShowsNothingOfTheCanvas) {
    DIB canvas(4, 4);
    fill(canvas, kCanvasColor);
    DIB frame(20, 20);
    FrameInputs in = inputsFor(canvas);
    in.zoom = 0.0625f;  // 4 * 0.0625 = 0.25: no client pixel
    composeFrame(frame, in);
    EXPECT_EQ(frame.pixelAt(8, 8), kGrey);
}

TEST(SelectionOutline, IsTheBorderJustOutsideTheSelectionsRightAndBottom) {
    DIB canvas(64, 64);
    fill(canvas, kCanvasColor);
    DIB frame(80, 80);
    FrameInputs in = inputsFor(canvas);
    in.selection = {0, 0, 31, 31};  // client 8..39, outline 8..40
    composeFrame(frame, in);
    int dark = 0, light = 0;
    for (int32_t y = 0; y < 80; ++y) {
        for (int32_t x = 0; x < 80; ++x) {
            const uint32_t p = frame.pixelAt(x, y);
            if (onOutline(x, y, 8, 8, 39, 39)) {
                ASSERT_TRUE(p == kOutlineDark || p == kOutlineLight) << x << "," << y;
                (p == kOutlineDark ? dark : light)++;
            } else if (x >= 8 && x < 72 && y >= 8 && y < 72) {
                ASSERT_EQ(p, kCanvasColor) << x << "," << y;
            }
        }
    }
    EXPECT_GT(dark, 0);  // dotted: both colours appear
    EXPECT_GT(light, 0);
}

TEST(SelectionOutline, PastTheCanvasEdgeIsDrawnOverTheGrey) {
    DIB canvas(16, 16);
    fill(canvas, kCanvasColor);
    DIB frame(60, 60);
    FrameInputs in = inputsFor(canvas);
    in.selection = {8, 8, 39, 39};  // client 16..47; the canvas ends at 23
    composeFrame(frame, in);
    int dark = 0;
    for (int32_t y = 16; y <= 48; ++y) {
        const uint32_t right = frame.pixelAt(48, y);
        ASSERT_TRUE(right == kOutlineDark || right == kOutlineLight) << y;
        dark += right == kOutlineDark;
    }
    EXPECT_GT(dark, 0);
    for (int32_t x = 16; x <= 48; ++x) {
        const uint32_t bottom = frame.pixelAt(x, 48);
        ASSERT_TRUE(bottom == kOutlineDark || bottom == kOutlineLight) << x;
    }
    EXPECT_EQ(frame.pixelAt(47, 47), kGrey);  // inside the outline, outside the canvas
    EXPECT_EQ(frame.pixelAt(20, 20), kCanvasColor);
}

TEST(SelectionOutline, TheTwoPhasesDifferPixelForPixel) {
    DIB canvas(64, 64);
    fill(canvas, kCanvasColor);
    DIB first(80, 80), second(80, 80);
    FrameInputs in = inputsFor(canvas);
    in.selection = {-5, 3, 40, 50};
    in.zoom = 1.0f;
    in.outlinePhase = outlinePhaseOf(0x200);
    composeFrame(first, in);
    in.outlinePhase = outlinePhaseOf(0x1FF);
    composeFrame(second, in);
    const ViewRect v = canvasRectToView(in.selection, 1.0f, 0, 0);
    int outline = 0;
    for (int32_t y = 0; y < 80; ++y) {
        for (int32_t x = 0; x < 80; ++x) {
            const uint32_t a = first.pixelAt(x, y), b = second.pixelAt(x, y);
            if (onOutline(x, y, v.left, v.top, v.right, v.bottom)) {
                ++outline;
                ASSERT_TRUE((a == kOutlineDark && b == kOutlineLight) ||
                            (a == kOutlineLight && b == kOutlineDark))
                    << x << "," << y;
            } else {
                ASSERT_EQ(a, b) << x << "," << y;
            }
        }
    }
    EXPECT_GT(outline, 100);
}

TEST(SelectionOutline, PhaseFollowsBit9OfTheTickCount) {
    EXPECT_TRUE(outlinePhaseOf(512));
    EXPECT_TRUE(outlinePhaseOf(1023));
    EXPECT_FALSE(outlinePhaseOf(511));
    EXPECT_FALSE(outlinePhaseOf(1024));
}

TEST(CopyMarks, SitOnTheFootprintCornersAndBlinkWithTheOutline) {
    DIB canvas(64, 64);
    fill(canvas, kCanvasColor);
    DIB frame(80, 80);
    FrameInputs in = inputsFor(canvas);
    in.selection = {0, 0, 31, 31};
    // Without a CopyBuffer the footprint corner (48, 28) shows the canvas.
    composeFrame(frame, in);
    EXPECT_EQ(frame.pixelAt(48, 28), kCanvasColor);
    EXPECT_EQ(frame.pixelAt(48, 12), kCanvasColor);

    in.copy = {true, 40, 20};  // footprint (8, 8) - (48, 28)
    for (bool phase : {true, false}) {
        in.outlinePhase = phase;
        composeFrame(frame, in);
        const uint32_t mark = phase ? kOutlineDark : kOutlineLight;
        EXPECT_EQ(frame.pixelAt(48, 28), mark);
        EXPECT_EQ(frame.pixelAt(47, 21), mark);  // up the vertical arm
        EXPECT_EQ(frame.pixelAt(41, 27), mark);  // along the horizontal arm
        EXPECT_EQ(frame.pixelAt(48, 12), mark);  // top-right corner, down its arm
        EXPECT_EQ(frame.pixelAt(44, 8), mark);
        EXPECT_EQ(frame.pixelAt(8, 25), mark);   // bottom-left corner
        EXPECT_EQ(frame.pixelAt(30, 28), kCanvasColor);  // between the marks
        EXPECT_EQ(frame.pixelAt(48, 18), kCanvasColor);
    }
}

TEST(ScaledDrawing, StepsInFourteenBitFixedPoint) {
    DIB src(3, 1);
    for (int32_t i = 0; i < 3; ++i) src.row(0)[i] = 0x01000000u * (i + 1) + i;
    DIB dst(7, 1);
    fill(dst, 0);
    ASSERT_TRUE(scaledCopyTo(src, dst, 0, 0, 7, 1, 3, 1));
    // step = 3 * 16384 / 7 = 7021: columns 0, 0, 0, 1, 1, 2, 2
    const int want[] = {0, 0, 0, 1, 1, 2, 2};
    for (int32_t i = 0; i < 7; ++i) EXPECT_EQ(dst.pixelAt(i, 0), src.pixelAt(want[i], 0)) << i;
}

TEST(ScaledDrawing, ADestinationLeftOfTheImageMovesTheSourceRight) {
    DIB src(4, 1);
    fillPattern(src);
    DIB dst(8, 1);
    fill(dst, 0);
    // At zoom 2 destination columns -3 and -2 show source 0, -1 and 0 source 1.
    ASSERT_TRUE(scaledCopyTo(src, dst, -3, 0, 8, 2, 4, 1));
    EXPECT_EQ(dst.pixelAt(0, 0), src.pixelAt(1, 0));
    EXPECT_EQ(dst.pixelAt(1, 0), src.pixelAt(2, 0));
    EXPECT_EQ(dst.pixelAt(2, 0), src.pixelAt(2, 0));
    EXPECT_EQ(dst.pixelAt(4, 0), src.pixelAt(3, 0));
    EXPECT_EQ(dst.pixelAt(5, 0), 0u);  // past the scaled source
}

TEST(ScaledDrawing, NothingLeftAfterClippingReturnsFalse) {
    DIB src(4, 4);
    fillPattern(src);
    DIB dst(8, 8);
    EXPECT_FALSE(scaledCopyTo(src, dst, 8, 0, 4, 4, 4, 4));
    EXPECT_FALSE(scaledBlendTo(src, dst, 0, -4, 4, 4, 4, 4));
    EXPECT_FALSE(scaledCopyTo(src, dst, 0, 0, 0, 4, 4, 4));
    DIB empty;
    EXPECT_FALSE(scaledCopyTo(empty, dst, 0, 0, 4, 4, 4, 4));
}

TEST(ScaledDrawing, BlendMixesEachColourByteAndKeepsTheDestinationAlpha) {
    DIB src(1, 1), dst(1, 1);
    src.row(0)[0] = 0xFFFFFFFF;
    dst.row(0)[0] = 0x7F000000;
    ASSERT_TRUE(scaledBlendTo(src, dst, 0, 0, 1, 1, 1, 1));
    EXPECT_EQ(dst.pixelAt(0, 0), 0x7FFEFEFEu);  // white over black gives 254

    src.row(0)[0] = 0x00ABCDEF;
    dst.row(0)[0] = 0x11223344;
    ASSERT_TRUE(scaledBlendTo(src, dst, 0, 0, 1, 1, 1, 1));
    EXPECT_EQ(dst.pixelAt(0, 0), 0x11223344u);  // alpha 0 leaves it alone
}

TEST(ScaledDrawing, BlendMatchesThePerChannelRuleForManyPixels) {
    DIB src(64, 64), dst(64, 64), expected(64, 64);
    fillPattern(src);
    uint32_t x = 99;
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t i = 0; i < 64; ++i) {
            x = x * 1664525u + 1013904223u;
            dst.row(y)[i] = expected.row(y)[i] = x;
        }
    }
    ASSERT_TRUE(scaledBlendTo(src, dst, 0, 0, 64, 64, 64, 64));
    referenceScaled(src, expected, 0, 0, 64, 64, 64, 64, true);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t i = 0; i < 64; ++i) ASSERT_EQ(dst.pixelAt(i, y), expected.pixelAt(i, y));
    }
}
