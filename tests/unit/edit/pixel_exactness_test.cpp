// The exact arithmetic of the pixel operations, checked exhaustively where
// that is cheap. Built into the native unit tests and into the Windows tests,
// so both compilers are held to the same bits.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "edit/pixel_ops.h"
#include "tests/unit/edit/test_image.h"

using testimage::at;
using testimage::fill;

namespace {

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

// The blend written out step by step in single precision, independently of
// the code under test. Returns the channels unpacked so a channel above 255
// would show instead of spilling into its neighbour.
struct Channels {
    int a, r, g, b;
};

Channels referenceBlend(uint32_t s, uint32_t d, BlendMode mode) {
    auto ch = [](uint32_t p, int shift) { return static_cast<float>((p >> shift) & 0xFF); };
    const float a = ch(s, 24) / 255.0f;
    const float oneMinusA = 1.0f - a;
    Channels out{};
    if (mode == BlendMode::Translucent) {
        const float dA = ch(d, 24) * oneMinusA;
        const float dw = dA / 255.0f;
        auto mix = [&](int shift) {
            const float left = ch(d, shift) * dw;
            const float right = ch(s, shift) * a;
            const float sum = left + right;
            return static_cast<int>(sum);
        };
        out.r = mix(16);
        out.g = mix(8);
        out.b = mix(0);
        const float coverage = dw + a;
        const float scaled = coverage * 255.0f;
        out.a = static_cast<int>(scaled);
    } else {
        auto mix = [&](int shift) {
            const float left = ch(d, shift) * oneMinusA;
            const float right = ch(s, shift) * a;
            const float sum = left + right;
            return static_cast<int>(sum);
        };
        out.r = mix(16);
        out.g = mix(8);
        out.b = mix(0);
        const float dA = ch(d, 24) * oneMinusA;
        const float k = dA / 255.0f + a;
        out.a = 255 * static_cast<int>(k);
    }
    return out;
}

uint32_t pack(const Channels& c) {
    return static_cast<uint32_t>(c.a) << 24 | static_cast<uint32_t>(c.r) << 16 |
           static_cast<uint32_t>(c.g) << 8 | static_cast<uint32_t>(c.b);
}

// Source alpha = x, destination alpha = y: one blendRect covers all 65,536
// pairs, with neighbouring vector lanes holding different alphas.
void makeAlphaPairImages(DIB& source, DIB& destination, uint32_t sourceColour,
                         uint32_t destinationColour) {
    ASSERT_TRUE(source.create(256, 256));
    ASSERT_TRUE(destination.create(256, 256));
    fill(source, [&](int32_t x, int32_t) { return static_cast<uint32_t>(x) << 24 | sourceColour; });
    fill(destination,
         [&](int32_t, int32_t y) { return static_cast<uint32_t>(y) << 24 | destinationColour; });
}

}  // namespace

TEST(BlendExactness, TranslucentAlphaIsFloorFormulaForAllAlphaPairs) {
    DIB source, destination;
    makeAlphaPairImages(source, destination, 0x123456, 0xABCDEF);
    ASSERT_TRUE(blendRect(destination, source, 0, 0, 256, 256, BlendMode::Translucent));
    int mismatches = 0;
    for (uint32_t sa = 0; sa < 256; ++sa) {
        for (uint32_t da = 0; da < 256; ++da) {
            // floor(S.A + D.A * (255 - S.A) / 255) in integers.
            const uint32_t expected = (255 * sa + da * (255 - sa)) / 255;
            const uint32_t fromRect = at(destination, sa, da) >> 24;
            const uint32_t fromPixel =
                blendPixel(sa << 24 | 0x123456, da << 24 | 0xABCDEF, BlendMode::Translucent) >> 24;
            if (fromRect != expected || fromPixel != expected) {
                ADD_FAILURE() << "S.A " << sa << " D.A " << da << ": expected " << expected
                              << ", blendRect " << fromRect << ", blendPixel " << fromPixel;
                if (++mismatches > 10) return;
            }
        }
    }
}

TEST(BlendExactness, OpaqueBaseAlphaIsOpaqueExactlyWhenEitherIsOpaque) {
    DIB source, destination;
    makeAlphaPairImages(source, destination, 0x00FF80, 0x8000FF);
    ASSERT_TRUE(blendRect(destination, source, 0, 0, 256, 256, BlendMode::OpaqueBase));
    int mismatches = 0;
    for (uint32_t sa = 0; sa < 256; ++sa) {
        for (uint32_t da = 0; da < 256; ++da) {
            const uint32_t expected = (sa == 255 || da == 255) ? 255 : 0;
            const uint32_t fromRect = at(destination, sa, da) >> 24;
            const uint32_t fromPixel =
                blendPixel(sa << 24 | 0x00FF80, da << 24 | 0x8000FF, BlendMode::OpaqueBase) >> 24;
            if (fromRect != expected || fromPixel != expected) {
                ADD_FAILURE() << "S.A " << sa << " D.A " << da << ": expected " << expected
                              << ", blendRect " << fromRect << ", blendPixel " << fromPixel;
                if (++mismatches > 10) return;
            }
        }
    }
}

// Every alpha pair with extreme and random colours: the vector rows and the
// scalar pixel both give the step-by-step single-precision result, and no
// channel ever leaves 0..255.
TEST(BlendExactness, ColoursFollowSinglePrecisionArithmeticForAllAlphaPairs) {
    std::mt19937 random(20240611);
    for (BlendMode mode : {BlendMode::Translucent, BlendMode::OpaqueBase}) {
        for (int round = 0; round < 4; ++round) {
            DIB source, destination;
            ASSERT_TRUE(source.create(256, 256));
            ASSERT_TRUE(destination.create(256, 256));
            // Round 0: all channels 255 (the largest sums); 1: 0 over 255; then random.
            auto colour = [&](uint32_t fixed) {
                return round < 2 ? fixed : (random() & 0x00FFFFFFu);
            };
            fill(source, [&](int32_t x, int32_t) {
                return static_cast<uint32_t>(x) << 24 | colour(round == 0 ? 0xFFFFFF : 0);
            });
            fill(destination, [&](int32_t, int32_t y) {
                return static_cast<uint32_t>(y) << 24 | colour(0xFFFFFF);
            });
            DIB before;
            ASSERT_TRUE(before.create(256, 256));
            ASSERT_TRUE(destination.copyTo(before, 0, 0, 256, 256, 0, 0));
            ASSERT_TRUE(blendRect(destination, source, 0, 0, 256, 256, mode));

            int mismatches = 0;
            for (int32_t y = 0; y < 256 && mismatches <= 10; ++y) {
                for (int32_t x = 0; x < 256; ++x) {
                    const uint32_t s = at(source, x, y), d = at(before, x, y);
                    const Channels c = referenceBlend(s, d, mode);
                    EXPECT_TRUE(c.r <= 255 && c.g <= 255 && c.b <= 255 && c.a <= 255);
                    const uint32_t expected = pack(c);
                    if (at(destination, x, y) != expected || blendPixel(s, d, mode) != expected) {
                        ADD_FAILURE() << std::hex << "S " << s << " D " << d << ": expected "
                                      << expected << ", blendRect " << at(destination, x, y)
                                      << ", blendPixel " << blendPixel(s, d, mode);
                        if (++mismatches > 10) break;
                    }
                }
            }
        }
    }
}

// Rows of every width from 1 to 11 mix vector blocks and the scalar tail.
TEST(BlendExactness, RowTailsMatchVectorBody) {
    std::mt19937 random(7);
    for (int32_t w = 1; w <= 11; ++w) {
        DIB source, destination, before;
        ASSERT_TRUE(source.create(w, 3));
        ASSERT_TRUE(destination.create(w, 3));
        ASSERT_TRUE(before.create(w, 3));
        fill(source, [&](int32_t, int32_t) { return static_cast<uint32_t>(random()); });
        fill(destination, [&](int32_t, int32_t) { return static_cast<uint32_t>(random()); });
        ASSERT_TRUE(destination.copyTo(before, 0, 0, w, 3, 0, 0));
        ASSERT_TRUE(blendRect(destination, source, 0, 0, w, 3, BlendMode::Translucent));
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < w; ++x)
                EXPECT_EQ(at(destination, x, y),
                          pack(referenceBlend(at(source, x, y), at(before, x, y),
                                              BlendMode::Translucent)))
                    << "width " << w << " at " << x << "," << y;
    }
}

TEST(BlendExactness, TranslucentWorkedExamples) {
    // S = (A 128, R 200) over an opaque D with R 100: R 150, alpha 255.
    uint32_t p = blendPixel(argb(128, 200, 0, 0), argb(255, 100, 0, 0), BlendMode::Translucent);
    EXPECT_EQ(p >> 24, 255u);
    EXPECT_EQ((p >> 16) & 0xFF, 150u);
    // A transparent source over a half-transparent D (A 128, R 200): alpha
    // 128 and R = trunc(200 * 128 / 255) = 100.
    p = blendPixel(argb(0, 0, 0, 0), argb(128, 200, 0, 0), BlendMode::Translucent);
    EXPECT_EQ(p >> 24, 128u);
    EXPECT_EQ((p >> 16) & 0xFF, 100u);

    // The same through blendRect, so the vector rows give the same answers.
    DIB source(4, 1), destination(4, 1);
    fill(source, [](int32_t x, int32_t) { return x < 2 ? argb(128, 200, 0, 0) : 0u; });
    fill(destination,
         [](int32_t x, int32_t) { return x < 2 ? argb(255, 100, 0, 0) : argb(128, 200, 0, 0); });
    ASSERT_TRUE(blendRect(destination, source, 0, 0, 4, 1, BlendMode::Translucent));
    EXPECT_EQ(at(destination, 0, 0), argb(255, 150, 0, 0));
    EXPECT_EQ(at(destination, 3, 0), argb(128, 100, 0, 0));
}

TEST(BlendExactness, OpaqueBaseWorkedExamples) {
    // An opaque destination stays opaque under any source.
    for (uint32_t sa : {0u, 1u, 100u, 254u, 255u})
        EXPECT_EQ(blendPixel(argb(sa, 10, 20, 30), argb(255, 1, 2, 3), BlendMode::OpaqueBase) >> 24,
                  255u);
    // Alpha 200 under alpha 100 becomes transparent, its colours still mixed:
    // a = 100/255, R = trunc(200 * (1 - a) + 0 * a) = 121.
    const uint32_t p = blendPixel(argb(100, 0, 0, 0), argb(200, 200, 0, 0), BlendMode::OpaqueBase);
    EXPECT_EQ(p >> 24, 0u);
    EXPECT_EQ((p >> 16) & 0xFF, 121u);
    // A fully opaque source always yields alpha 255.
    EXPECT_EQ(blendPixel(argb(255, 9, 9, 9), argb(0, 0, 0, 0), BlendMode::OpaqueBase), 0xFF090909u);
}

TEST(RecolorExactness, ChannelPermutationWorkedExamples) {
    DIB canvas(2, 1);
    fill(canvas, [](int32_t, int32_t) { return 0x80112233u; });
    ASSERT_TRUE(recolorRect(canvas, 0, 0, 1, 1, RecolorKind::ToGBR));
    ASSERT_TRUE(recolorRect(canvas, 1, 0, 1, 1, RecolorKind::ToBRG));
    EXPECT_EQ(at(canvas, 0, 0), 0x80331122u);
    EXPECT_EQ(at(canvas, 1, 0), 0x80223311u);
}

TEST(MaskExactness, GreyLevelIsTheFlooredMeanOfTheColourBytes) {
    DIB canvas(3, 1), mask(3, 1);
    fill(canvas, [](int32_t, int32_t) { return 0x7F445566u; });
    const uint32_t masks[3] = {0x00FFFFFFu, 0xFF000101u, 0x00FFFFFEu};  // white, (B 1, G 1, R 0)
    fill(mask, [&](int32_t x, int32_t) { return masks[x]; });
    ASSERT_TRUE(pasteMaskRect(canvas, mask, 0, 0, 3, 1));
    EXPECT_EQ(at(canvas, 0, 0), 0xFF445566u);
    EXPECT_EQ(at(canvas, 1, 0), 0x00445566u);  // 2 / 3 is 0
    EXPECT_EQ(at(canvas, 2, 0), 0xFE445566u);  // 764 / 3 is 254
}

TEST(MaskExactness, EverySumOfTheColourBytesGivesItsFlooredThird) {
    DIB canvas(766, 2), mask(766, 2);
    fill(canvas,
         [](int32_t x, int32_t) { return static_cast<uint32_t>(x) * 0x2345u & 0x00FFFFFFu; });
    // Column t: colour bytes that sum to t (row 0 fills blue first, row 1 red
    // first); the mask's own alpha varies and must not count.
    fill(mask, [](int32_t t, int32_t y) {
        const uint32_t first = t > 255 ? 255 : t, second = t - first > 255 ? 255 : t - first;
        const uint32_t third = t - first - second;
        const uint32_t alpha = static_cast<uint32_t>(t * 7) & 0xFF;
        return y == 0 ? argb(alpha, third, second, first) : argb(alpha, first, second, third);
    });
    ASSERT_TRUE(pasteMaskRect(canvas, mask, 0, 0, 766, 2));
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t t = 0; t < 766; ++t) {
            const uint32_t colour = static_cast<uint32_t>(t) * 0x2345u & 0x00FFFFFFu;
            ASSERT_EQ(at(canvas, t, y), static_cast<uint32_t>(t / 3) << 24 | colour) << t;
        }
    }
}
