#include "app/frame_composer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "tests/test_support.h"

using testimage::pixelsAre;

namespace {

constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kCanvasColor = 0x00123456;
constexpr CanvasRect kFarAway{100000, 100000, 100001, 100001};  // outline off the frame

FrameInputs inputsFor(const DIB& canvas) {
    FrameInputs in;
    in.canvas = &canvas;
    in.selection = kFarAway;
    return in;
}

// The whole frame drawn pixel by pixel by the plain rule, without outline and
// marks: float scale factors, clipRegion on the canvas size in client pixels,
// 14-bit steps added up, each colour byte mixed on its own. The composer's
// fast paths (strides, repeated rows, cached checker rows) must agree.
void referenceFrame(DIB& frame, const FrameInputs& in) {
    frame.fillRect(0, 0, frame.width(), frame.height(), kGrey);
    const DIB& c = *in.canvas;
    const int32_t ox = 8 - in.hPos, oy = 8 - in.vPos;
    const int32_t zw = static_cast<int32_t>(c.width() * in.zoom);
    const int32_t zh = static_cast<int32_t>(c.height() * in.zoom);
    if (in.alphaMode) {
        const int32_t box = std::max(in.boxSize, 1);
        for (int32_t r = 0; r * box < zh; ++r) {
            for (int32_t k = 0; k * box < zw; ++k) {
                const uint32_t stored = (r + k) % 2 == 0 ? in.color1 : in.color2;  // 0x00BBGGRR
                const uint32_t pixel = ((stored & 0xFF) << 16) | (stored & 0xFF00) | (stored >> 16);
                frame.fillRect(ox + k * box, oy + r * box, std::min(box, zw - k * box),
                               std::min(box, zh - r * box), pixel);
            }
        }
    }
    const float fx = static_cast<float>(zw) / c.width(), fy = static_cast<float>(zh) / c.height();
    int32_t dx = ox, dy = oy, w = zw, h = zh, u = 0, v = 0;
    if (!clipRegion(dx, dy, w, h, u, v, frame.width(), frame.height(),
                    static_cast<int32_t>(c.width() * fx), static_cast<int32_t>(c.height() * fy))) {
        return;
    }
    const int32_t stepX = c.width() * 16384 / zw, stepY = c.height() * 16384 / zh;
    int32_t ay = static_cast<int32_t>(v * 16384.0f / fy);
    for (int32_t j = 0; j < h; ++j, ay += stepY) {
        int32_t ax = static_cast<int32_t>(u * 16384.0f / fx);
        for (int32_t i = 0; i < w; ++i, ax += stepX) {
            const uint32_t s = c.pixelAt(ax >> 14, ay >> 14), a = s >> 24;
            uint32_t& d = frame.row(dy + j)[dx + i];
            uint32_t out = d & 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                out |= ((sc * a + dc * (256 - a)) >> 8) << shift;
            }
            d = in.alphaMode ? out : s;
        }
    }
}

// Pixels on the outline of an inclusive client rectangle (L, T, R, B): the
// border of L..R+1 by T..B+1.
bool onOutline(int32_t x, int32_t y, int32_t l, int32_t t, int32_t r, int32_t b) {
    const bool inX = x >= l && x <= r + 1, inY = y >= t && y <= b + 1;
    return (inX && (y == t || y == b + 1)) || (inY && (x == l || x == r + 1));
}

bool isOutline(uint32_t p) { return p == kOutlineDark || p == kOutlineLight; }

using FrameComposerBodies = OnEachVectorPath;
ON_EACH_VECTOR_PATH(FrameComposerBodies);

}  // namespace

TEST_P(FrameComposerBodies, FramesMatchThePlainDrawingRule) {
    // 40 x 24 divides evenly at 0.5 and 0.25, so whole-pixel strides are used.
    DIB odd(37, 23), even(40, 24), frame(90, 70), expected(90, 70);
    testimage::fillTagged(odd);
    testimage::fillTagged(even);
    const float zooms[] = {1.0f, 0.5f, 0.25f, 2.0f, 4.0f, 1.3f, 0.3125f, 6.25f};
    const int32_t scrolls[][2] = {{0, 0}, {13, 7}, {-30, -5}, {150, 90}, {40, 0}};
    for (const DIB* canvas : {&odd, &even}) {
        // Without alpha mode, then with it; a box size below 1 paints as 1.
        for (auto [alpha, box] : {std::pair{false, 5}, {true, 5}, {true, 0}}) {
            for (float zoom : zooms) {
                for (const auto& scroll : scrolls) {
                    SCOPED_TRACE(testing::Message() << canvas->width() << " wide, alpha " << alpha
                                                    << " box " << box << " zoom " << zoom
                                                    << " scroll " << scroll[0] << "," << scroll[1]);
                    FrameInputs in = inputsFor(*canvas);
                    in.alphaMode = alpha;
                    in.zoom = zoom;
                    in.hPos = scroll[0];
                    in.vPos = scroll[1];
                    in.boxSize = box;
                    in.color1 = 0x3060C0;  // stored colours, red and blue to be exchanged
                    in.color2 = 0xA0E010;
                    composeFrame(frame, in);
                    referenceFrame(expected, in);
                    ASSERT_TRUE(pixelsAre(
                        frame, [&](int32_t x, int32_t y) { return expected.pixelAt(x, y); }));
                }
            }
        }
    }
}

TEST(FrameComposer, EmptyTinyOrHugelyZoomedCanvasesStayInsideTheirPixels) {
    DIB empty, tiny(4, 4), frame(64, 64);
    tiny.fillRect(0, 0, tiny.width(), tiny.height(), kCanvasColor);
    // At 0.0625 the 4 x 4 canvas is 0.25 client pixels wide: none.
    const std::pair<const DIB*, float> cases[] = {{&empty, 1.0f}, {&tiny, 0.0625f}};
    for (const auto& [canvas, zoom] : cases) {
        FrameInputs in = inputsFor(*canvas);
        in.alphaMode = true;
        in.zoom = zoom;
        composeFrame(frame, in);
        EXPECT_TRUE(pixelsAre(frame, [](int32_t, int32_t) { return kGrey; }));
    }
    EXPECT_FALSE(scaledCopyTo(empty, frame, 0, 0, 4, 4, 4, 4));
    EXPECT_FALSE(scaledBlendTo(tiny, frame, 0, -4, 4, 4, 4, 4));

    std::set<uint32_t> values;
    for (int32_t i = 0; i < 16; ++i) values.insert(tiny.row(i / 4)[i % 4] = 0xFF000001u + i);
    FrameInputs in = inputsFor(tiny);
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

TEST(SelectionOutline, IsTheDottedBorderOverCanvasAndGreyAndTheTwoPhasesDifferPixelForPixel) {
    // The canvas covers client 8..39; the selection reaches past it on every
    // side (client 3..48 by 11..58), so its outline runs 3..49 by 11..59.
    DIB canvas(32, 32), first(80, 80), second(80, 80);
    canvas.fillRect(0, 0, 32, 32, kCanvasColor);
    FrameInputs in = inputsFor(canvas);
    in.selection = {-5, 3, 40, 50};
    in.outlinePhase = outlinePhaseOf(0x200);
    composeFrame(first, in);
    in.outlinePhase = outlinePhaseOf(0x1FF);
    composeFrame(second, in);
    int outline = 0, dark = 0;
    for (int32_t y = 0; y < 80; ++y) {
        for (int32_t x = 0; x < 80; ++x) {
            const uint32_t a = first.pixelAt(x, y), b = second.pixelAt(x, y);
            if (onOutline(x, y, 3, 11, 48, 58)) {
                ++outline;
                dark += a == kOutlineDark;
                ASSERT_TRUE(isOutline(a) && isOutline(b) && a != b) << x << "," << y;
            } else {
                const bool onCanvas = x >= 8 && x < 40 && y >= 8 && y < 40;
                ASSERT_EQ(a, onCanvas ? kCanvasColor : kGrey) << x << "," << y;
                ASSERT_EQ(b, a) << x << "," << y;
            }
        }
    }
    EXPECT_GT(dark, 0);  // dotted: both colours appear
    EXPECT_LT(dark, outline);
}
