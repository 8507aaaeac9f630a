// The exact arithmetic of the pixel operations, checked exhaustively where
// that is cheap. Built into the native and the Windows tests, so both
// compilers are held to the same bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "edit/pixel_ops.h"
#include "tests/test_support.h"

using namespace testimage;

namespace {

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

// The blend written out step by step in single precision. Channels stay
// unpacked so one above 255 would show instead of spilling into its neighbour.
struct Channels {
    int a, r, g, b;
};

Channels referenceBlend(uint32_t s, uint32_t d, BlendMode mode) {
    auto ch = [](uint32_t p, int shift) { return static_cast<float>((p >> shift) & 0xFF); };
    const float a = ch(s, 24) / 255.0f;
    const float oneMinusA = 1.0f - a;
    const float dw = mode == BlendMode::Translucent ? ch(d, 24) * oneMinusA / 255.0f : oneMinusA;
    auto mix = [&](int shift) { return static_cast<int>(ch(d, shift) * dw + ch(s, shift) * a); };
    const int alpha = mode == BlendMode::Translucent
                          ? static_cast<int>((dw + a) * 255.0f)
                          : 255 * static_cast<int>(ch(d, 24) * oneMinusA / 255.0f + a);
    return {alpha, mix(16), mix(8), mix(0)};
}

// The alpha rules in integers: floor(S.A + D.A * (255 - S.A) / 255), and
// opaque exactly when either alpha is.
uint32_t ruleAlpha(BlendMode mode, uint32_t sa, uint32_t da) {
    if (mode == BlendMode::Translucent) return (255 * sa + da * (255 - sa)) / 255;
    return sa == 255 || da == 255 ? 255 : 0;
}

uint32_t pack(const Channels& c) {
    return argb(static_cast<uint32_t>(c.a), static_cast<uint32_t>(c.r), static_cast<uint32_t>(c.g),
                static_cast<uint32_t>(c.b));
}

using ExactBlendBodies = OnEachVectorPath;
ON_EACH_VECTOR_PATH(ExactBlendBodies);

}  // namespace

// All 65,536 alpha pairs (source alpha = x, destination alpha = y, so
// neighbouring vector lanes differ) with extreme and random colours: the
// vector rows and the scalar pixel both give the step-by-step single-precision
// result, its alpha follows the integer rule, and no channel leaves 0..255.
TEST_P(ExactBlendBodies, AllAlphaPairsFollowTheAlphaRuleAndSinglePrecisionColours) {
    std::mt19937 random(20240611);
    for (BlendMode mode : {BlendMode::Translucent, BlendMode::OpaqueBase}) {
        for (int round = 0; round < 4; ++round) {
            // Round 0: all channels 255 (the largest sums); 1: 0 over 255; then random.
            auto colour = [&](uint32_t fixed) {
                return round < 2 ? fixed : (random() & 0x00FFFFFFu);
            };
            DIB source(256, 256), destination(256, 256), before(256, 256);
            fill(source, [&](int32_t x, int32_t) {
                return static_cast<uint32_t>(x) << 24 | colour(round == 0 ? 0xFFFFFF : 0);
            });
            fill(destination, [&](int32_t, int32_t y) {
                return static_cast<uint32_t>(y) << 24 | colour(0xFFFFFF);
            });
            ASSERT_TRUE(destination.copyTo(before, 0, 0, 256, 256, 0, 0));
            ASSERT_TRUE(blendRect(destination, source, 0, 0, 256, 256, mode));

            for (int32_t y = 0; y < 256; ++y) {
                for (int32_t x = 0; x < 256; ++x) {
                    const uint32_t s = source.pixelAt(x, y), d = before.pixelAt(x, y);
                    const Channels c = referenceBlend(s, d, mode);
                    ASSERT_TRUE(c.r <= 255 && c.g <= 255 && c.b <= 255 && c.a <= 255);
                    ASSERT_EQ(destination.pixelAt(x, y), pack(c)) << std::hex << s << " over " << d;
                    ASSERT_EQ(blendPixel(s, d, mode), pack(c)) << std::hex << s << " over " << d;
                    ASSERT_EQ(destination.pixelAt(x, y) >> 24, ruleAlpha(mode, x, y))
                        << "S.A " << x << " D.A " << y;
                }
            }
        }
    }
}

// Rows of every width from 1 to 19 mix wide and narrow vector blocks and the
// scalar tail.
TEST_P(ExactBlendBodies, RowTailsMatchVectorBody) {
    std::mt19937 random(7);
    for (int32_t w = 1; w <= 19; ++w) {
        DIB source(w, 3), destination(w, 3), before(w, 3);
        fill(source, [&](int32_t, int32_t) { return static_cast<uint32_t>(random()); });
        fill(destination, [&](int32_t, int32_t) { return static_cast<uint32_t>(random()); });
        ASSERT_TRUE(destination.copyTo(before, 0, 0, w, 3, 0, 0));
        ASSERT_TRUE(blendRect(destination, source, 0, 0, w, 3, BlendMode::Translucent));
        EXPECT_TRUE(pixelsAre(destination,
                              [&](int32_t x, int32_t y) {
                                  return pack(referenceBlend(source.pixelAt(x, y),
                                                             before.pixelAt(x, y),
                                                             BlendMode::Translucent));
                              }))
            << "width " << w;
    }
}

TEST(BlendExactness, WorkedExamples) {
    struct Case {
        uint32_t s, d;
        BlendMode mode;
        uint32_t expected;
    };
    const Case cases[] = {
        // A 128 R 200 over an opaque R 100: R 150, alpha 255.
        {argb(128, 200, 0, 0), argb(255, 100, 0, 0), BlendMode::Translucent, argb(255, 150, 0, 0)},
        // Transparent over A 128 R 200: alpha 128, R trunc(200 * 128 / 255) = 100.
        {0, argb(128, 200, 0, 0), BlendMode::Translucent, argb(128, 100, 0, 0)},
        // A 100 under A 200 becomes transparent, colours still mixed: trunc(200 * 155 / 255).
        {argb(100, 0, 0, 0), argb(200, 200, 0, 0), BlendMode::OpaqueBase, argb(0, 121, 0, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(blendPixel(c.s, c.d, c.mode), c.expected) << std::hex << c.s << " over " << c.d;
    }
}

// 0x80112233: red 0x11, green 0x22, blue 0x33, alpha 0x80 kept.
TEST(RecolorExactness, EachKindMovesTheChannelsItsMenuNames) {
    struct Case {
        RecolorKind kind;
        uint32_t expected;
    };
    for (Case c : {Case{RecolorKind::Invert, 0x80EEDDCCu}, Case{RecolorKind::ToRBG, 0x80113322u},
                   Case{RecolorKind::ToGRB, 0x80221133u}, Case{RecolorKind::ToGBR, 0x80331122u},
                   Case{RecolorKind::ToBRG, 0x80223311u}, Case{RecolorKind::ToBGR, 0x80332211u}}) {
        DIB canvas(9, 2);  // nine columns: vector blocks and a scalar tail
        fill(canvas, [](int32_t, int32_t) { return 0x80112233u; });
        ASSERT_TRUE(recolorRect(canvas, 0, 0, 9, 2, c.kind));
        EXPECT_TRUE(pixelsAre(canvas, [&](int32_t, int32_t) { return c.expected; }))
            << static_cast<int>(c.kind);
    }
}

TEST(MaskExactness, EverySumOfTheColourBytesGivesItsFlooredThird) {
    DIB canvas(766, 3), mask(766, 3);
    fill(canvas,
         [](int32_t x, int32_t) { return static_cast<uint32_t>(x) * 0x2345u & 0x00FFFFFFu; });
    // Column t: colour bytes that sum to t. Row 0 fills blue first, row 1 red
    // first, row 2 halves t between blue and green (t = 2 is B 1, G 1, R 0).
    // The mask's own alpha varies and must not count.
    fill(mask, [](int32_t t, int32_t y) {
        const uint32_t u = static_cast<uint32_t>(t);
        const uint32_t first = std::min(255u, y == 2 ? (u + 1) / 2 : u);
        const uint32_t second = std::min(255u, u - first), third = u - first - second;
        const uint32_t alpha = u * 7 & 0xFF;
        return y == 1 ? argb(alpha, first, second, third) : argb(alpha, third, second, first);
    });
    ASSERT_TRUE(pasteMaskRect(canvas, mask, 0, 0, 766, 3));
    EXPECT_TRUE(pixelsAre(canvas, [](int32_t t, int32_t) {
        return static_cast<uint32_t>(t / 3) << 24 | (static_cast<uint32_t>(t) * 0x2345u & 0xFFFFFF);
    }));
}
