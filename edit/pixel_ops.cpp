// The pixel operations behind the editing commands. Each is one pass over the
// rows of its rectangle with direct pointer stepping; the hot loops have an
// SSE2 body that performs exactly the scalar arithmetic four pixels at a time;
// blendRect also has AVX2 and AVX-512 bodies (blend_rows_avx2.cpp,
// blend_rows_avx512.cpp), used where the CPU has those instructions.
#include "edit/pixel_ops.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define PLIMSETT_SSE2 1
#endif

#include "edit/blend_rows.h"
#include "image/vector_path.h"

namespace {

// The part of a rectangle that lies inside an image, as image columns
// [x0, x0 + w) and rows [y0, y0 + h).
struct Inside {
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t w = 0;
    int32_t h = 0;
};

// Intersects (x, y, w, h) with the image. 64-bit sums so that extreme
// arguments cannot overflow. False when the intersection is empty.
bool intersect(const DIB& image, int32_t x, int32_t y, int32_t w, int32_t h, Inside& inside) {
    const int64_t x0 = std::max<int64_t>(x, 0);
    const int64_t y0 = std::max<int64_t>(y, 0);
    const int64_t x1 = std::min<int64_t>(static_cast<int64_t>(x) + w, image.width());
    const int64_t y1 = std::min<int64_t>(static_cast<int64_t>(y) + h, image.height());
    if (x0 >= x1 || y0 >= y1) return false;
    inside.x0 = static_cast<int32_t>(x0);
    inside.y0 = static_cast<int32_t>(y0);
    inside.w = static_cast<int32_t>(x1 - x0);
    inside.h = static_cast<int32_t>(y1 - y0);
    return true;
}

// Calls rowFn(pointer to the first pixel, count) for every row of the part
// inside the image, walking memory forwards (bottom image row first).
template <class Image, class RowFn>
void forEachRow(Image& image, const Inside& inside, RowFn&& rowFn) {
    const size_t stride = static_cast<size_t>(image.width());
    auto* p = image.row(inside.y0 + inside.h - 1) + inside.x0;
    for (int32_t r = 0; r < inside.h; ++r, p += stride) rowFn(p, static_cast<size_t>(inside.w));
}

// The float-to-integer conversion of blendRect: truncation toward zero.
inline int32_t toInt(float v) { return static_cast<int32_t>(v); }

// --- recolour ---------------------------------------------------------------

// Each kind as one expression over masks and shifts, written once for a
// scalar pixel and once for four pixels in a vector register.
#if PLIMSETT_SSE2
inline __m128i vmask(uint32_t m) { return _mm_set1_epi32(static_cast<int>(m)); }
#endif

struct InvertOp {
    static uint32_t apply(uint32_t p) { return p ^ 0x00FFFFFFu; }
#if PLIMSETT_SSE2
    static __m128i apply(__m128i p) { return _mm_xor_si128(p, vmask(0x00FFFFFFu)); }
#endif
};

// The five channel permutations all keep some bytes in place and move the
// others up by one shift and down by another.
template <uint32_t keep, int up, uint32_t upMask, int down, uint32_t downMask>
struct ChannelSwapOp {
    static uint32_t apply(uint32_t p) {
        return (p & keep) | ((p << up) & upMask) | ((p >> down) & downMask);
    }
#if PLIMSETT_SSE2
    static __m128i apply(__m128i p) {
        return _mm_or_si128(_mm_and_si128(p, vmask(keep)),
                            _mm_or_si128(_mm_and_si128(_mm_slli_epi32(p, up), vmask(upMask)),
                                         _mm_and_si128(_mm_srli_epi32(p, down), vmask(downMask))));
    }
#endif
};

// red stays, green <- blue, blue <- green
using ToRbgOp = ChannelSwapOp<0xFFFF0000u, 8, 0x0000FF00u, 8, 0x000000FFu>;
// red <- green, green <- red, blue stays
using ToGrbOp = ChannelSwapOp<0xFF0000FFu, 8, 0x00FF0000u, 8, 0x0000FF00u>;
// red <- blue, green <- red, blue <- green
using ToGbrOp = ChannelSwapOp<0xFF000000u, 16, 0x00FF0000u, 8, 0x0000FFFFu>;
// red <- green, green <- blue, blue <- red
using ToBrgOp = ChannelSwapOp<0xFF000000u, 8, 0x00FFFF00u, 16, 0x000000FFu>;
// red and blue exchanged
using ToBgrOp = ChannelSwapOp<0xFF00FF00u, 16, 0x00FF0000u, 16, 0x000000FFu>;

template <class Op>
void recolorRows(DIB& canvas, const Inside& inside) {
    forEachRow(canvas, inside, [](uint32_t* p, size_t n) {
        size_t i = 0;
#if PLIMSETT_SSE2
        for (; i + 4 <= n; i += 4) {
            __m128i* v = reinterpret_cast<__m128i*>(p + i);
            _mm_storeu_si128(v, Op::apply(_mm_loadu_si128(v)));
        }
#endif
        for (; i < n; ++i) p[i] = Op::apply(p[i]);
    });
}

// --- blend ------------------------------------------------------------------

#if PLIMSETT_SSE2
// Four pixels of blendRect. Every lane performs the same single-precision
// operations in the same order as blendPixel, and cvttps2dq truncates toward
// zero like the scalar conversion, so the results are identical bit for bit.
// Red and green are converted where they lie (as R * 65536 and G * 256):
// scaling by a power of two is exact through every product and sum, so the
// truncated result holds the channel already in place above its fraction
// bits, which the mask removes. That saves the shifts in and out.
template <BlendMode mode>
inline __m128i blendFour(__m128i s, __m128i d) {
    const __m128i redBits = _mm_set1_epi32(0x00FF0000);
    const __m128i greenBits = _mm_set1_epi32(0x0000FF00);
    const __m128i blueBits = _mm_set1_epi32(0x000000FF);
    const __m128 k255 = _mm_set1_ps(255.0f);
    const __m128 sa = _mm_cvtepi32_ps(_mm_srli_epi32(s, 24));
    const __m128 sr = _mm_cvtepi32_ps(_mm_and_si128(s, redBits));
    const __m128 sg = _mm_cvtepi32_ps(_mm_and_si128(s, greenBits));
    const __m128 sb = _mm_cvtepi32_ps(_mm_and_si128(s, blueBits));
    const __m128 da = _mm_cvtepi32_ps(_mm_srli_epi32(d, 24));
    const __m128 dr = _mm_cvtepi32_ps(_mm_and_si128(d, redBits));
    const __m128 dg = _mm_cvtepi32_ps(_mm_and_si128(d, greenBits));
    const __m128 db = _mm_cvtepi32_ps(_mm_and_si128(d, blueBits));

    const __m128 a = _mm_div_ps(sa, k255);
    const __m128 rest = _mm_sub_ps(_mm_set1_ps(1.0f), a);
    const __m128 dw =
        mode == BlendMode::Translucent ? _mm_div_ps(_mm_mul_ps(da, rest), k255) : rest;
    const __m128i r =
        _mm_and_si128(_mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(dr, dw), _mm_mul_ps(sr, a))), redBits);
    const __m128i g = _mm_and_si128(
        _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(dg, dw), _mm_mul_ps(sg, a))), greenBits);
    const __m128i b = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(db, dw), _mm_mul_ps(sb, a)));
    __m128i alpha;  // already shifted into place
    if constexpr (mode == BlendMode::Translucent) {
        alpha = _mm_slli_epi32(_mm_cvttps_epi32(_mm_mul_ps(_mm_add_ps(dw, a), k255)), 24);
    } else {
        const __m128i k = _mm_cvttps_epi32(_mm_add_ps(_mm_div_ps(_mm_mul_ps(da, rest), k255), a));
        // (255 * k) << 24 is (256 * k - k) << 24, which modulo 2^32 is -(k << 24).
        alpha = _mm_sub_epi32(_mm_setzero_si128(), _mm_slli_epi32(k, 24));
    }
    return _mm_or_si128(_mm_or_si128(alpha, r), _mm_or_si128(g, b));
}
#endif

template <BlendMode mode>
void blendRow(uint32_t* d, const uint32_t* s, size_t n, [[maybe_unused]] VectorPath path) {
    size_t i = 0;
#if defined(PLIMSETT_AVX2)
    constexpr bool translucent = mode == BlendMode::Translucent;
    if (path == VectorPath::Avx512) {
        i = translucent ? blendRowTranslucentAvx512(d, s, n) : blendRowOpaqueBaseAvx512(d, s, n);
    }
    if (path != VectorPath::Baseline) {
        i += translucent ? blendRowTranslucentAvx2(d + i, s + i, n - i)
                         : blendRowOpaqueBaseAvx2(d + i, s + i, n - i);
    }
#endif
#if PLIMSETT_SSE2
    for (; i + 4 <= n; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        __m128i* dp = reinterpret_cast<__m128i*>(d + i);
        _mm_storeu_si128(dp, blendFour<mode>(sv, _mm_loadu_si128(dp)));
    }
#endif
    for (; i < n; ++i) d[i] = blendPixel(s[i], d[i], mode);
}

// --- count ------------------------------------------------------------------

// The bit of a colour is found by interleaving the bits of its three channels
// (bit 3k blue, 3k + 1 green, 3k + 2 red). The mapping is one-to-one, so the
// count is the same as with the plain colour index, but a run of pixels in
// which any single channel steps by one stays within a few cache lines; with
// the plain index a run of reds jumps 8 KiB per pixel.
constexpr uint32_t spreadBits(uint32_t v) {
    uint32_t out = 0;
    for (int k = 0; k < 8; ++k) out |= ((v >> k) & 1u) << (3 * k);
    return out;
}

constexpr std::array<uint32_t, 256> spreadTable(int channel) {
    std::array<uint32_t, 256> t{};
    for (uint32_t v = 0; v < 256; ++v) t[v] = spreadBits(v) << channel;
    return t;
}

constexpr std::array<uint32_t, 256> kSpreadBlue = spreadTable(0);
constexpr std::array<uint32_t, 256> kSpreadGreen = spreadTable(1);
constexpr std::array<uint32_t, 256> kSpreadRed = spreadTable(2);

constexpr size_t kColourBitSetBytes = (size_t{1} << 24) / 8;

}  // namespace

bool extractRect(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t fillPixel,
                 uint32_t* output, size_t outputPixels) {
    if (!canvas.isValid() || output == nullptr || w <= 0 || h <= 0) return false;
    if (static_cast<uint64_t>(w) * static_cast<uint64_t>(h) > outputPixels) return false;
    int32_t dx = 0, dy = 0, cw = w, ch = h, sx = x, sy = y;
    if (!clipRegion(dx, dy, cw, ch, sx, sy, w, h, canvas.width(), canvas.height())) return false;

    const size_t width = static_cast<size_t>(w);
    const size_t left = static_cast<size_t>(dx);
    const size_t covered = static_cast<size_t>(cw);
    const size_t right = width - left - covered;
    // Output row r (image coordinates) is memory row h - 1 - r; walk memory forwards.
    uint32_t* out = output;
    for (int32_t r = h - 1; r >= 0; --r, out += width) {
        if (r < dy || r >= dy + ch) {
            std::fill_n(out, width, fillPixel);
            continue;
        }
        std::fill_n(out, left, fillPixel);
        std::memcpy(out + left, canvas.row(sy + (r - dy)) + sx, covered * 4);
        std::fill_n(out + left + covered, right, fillPixel);
    }
    return true;
}

uint32_t blendPixel(uint32_t s, uint32_t d, BlendMode mode) {
    const float sa = static_cast<float>(s >> 24);
    const float sr = static_cast<float>((s >> 16) & 0xFF);
    const float sg = static_cast<float>((s >> 8) & 0xFF);
    const float sb = static_cast<float>(s & 0xFF);
    const float da = static_cast<float>(d >> 24);
    const float dr = static_cast<float>((d >> 16) & 0xFF);
    const float dg = static_cast<float>((d >> 8) & 0xFF);
    const float db = static_cast<float>(d & 0xFF);

    const float a = sa / 255.0f;
    const float rest = 1.0f - a;
    int32_t r, g, b, alpha;
    if (mode == BlendMode::Translucent) {
        const float dw = (da * rest) / 255.0f;
        r = toInt(dr * dw + sr * a);
        g = toInt(dg * dw + sg * a);
        b = toInt(db * dw + sb * a);
        alpha = toInt((dw + a) * 255.0f);
    } else {
        r = toInt(dr * rest + sr * a);
        g = toInt(dg * rest + sg * a);
        b = toInt(db * rest + sb * a);
        alpha = 255 * toInt(da * rest / 255.0f + a);
    }
    return (static_cast<uint32_t>(alpha) << 24) | (static_cast<uint32_t>(r) << 16) |
           (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
}

bool blendRect(DIB& destination, const DIB& source, int32_t x, int32_t y, int32_t w, int32_t h,
               BlendMode mode) {
    if (!destination.isValid() || !source.isValid()) return false;
    int32_t dx = x, dy = y, cw = w, ch = h, sx = 0, sy = 0;
    if (!clipRegion(dx, dy, cw, ch, sx, sy, destination.width(), destination.height(),
                    source.width(), source.height())) {
        return false;
    }
    const size_t n = static_cast<size_t>(cw);
    const size_t dstStride = static_cast<size_t>(destination.width());
    const size_t srcStride = static_cast<size_t>(source.width());
    uint32_t* d = destination.row(dy + ch - 1) + dx;
    const uint32_t* s = source.row(sy + ch - 1) + sx;
    const VectorPath path = activeVectorPath();
    for (int32_t i = 0; i < ch; ++i, d += dstStride, s += srcStride) {
        if (mode == BlendMode::Translucent) {
            blendRow<BlendMode::Translucent>(d, s, n, path);
        } else {
            blendRow<BlendMode::OpaqueBase>(d, s, n, path);
        }
    }
    return true;
}

bool recolorRect(DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h, RecolorKind kind) {
    if (!canvas.isValid()) return false;
    Inside inside;
    if (!intersect(canvas, x, y, w, h, inside)) return true;
    switch (kind) {
    case RecolorKind::Invert: recolorRows<InvertOp>(canvas, inside); break;
    case RecolorKind::ToRBG: recolorRows<ToRbgOp>(canvas, inside); break;
    case RecolorKind::ToGRB: recolorRows<ToGrbOp>(canvas, inside); break;
    case RecolorKind::ToGBR: recolorRows<ToGbrOp>(canvas, inside); break;
    case RecolorKind::ToBRG: recolorRows<ToBrgOp>(canvas, inside); break;
    case RecolorKind::ToBGR: recolorRows<ToBgrOp>(canvas, inside); break;
    default: break;  // an unknown kind changes nothing
    }
    return true;
}

uint32_t replaceColorRect(DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t match,
                          uint32_t replacement, bool keepAlpha) {
    if (!canvas.isValid()) return 0;
    Inside inside;
    if (!intersect(canvas, x, y, w, h, inside)) return 0;
    const uint32_t colour = match & 0x00FFFFFFu;
    const uint32_t newColour = replacement & 0x00FFFFFFu;
    uint32_t count = 0;
    forEachRow(canvas, inside, [&](uint32_t* p, size_t n) {
        size_t i = 0;
#if PLIMSETT_SSE2
        const __m128i low = _mm_set1_epi32(0x00FFFFFF);
        const __m128i want = _mm_set1_epi32(static_cast<int>(colour));
        const __m128i value = _mm_set1_epi32(static_cast<int>(keepAlpha ? newColour : replacement));
        const __m128i kept = _mm_set1_epi32(keepAlpha ? static_cast<int>(0xFF000000u) : 0);
        __m128i hits = _mm_setzero_si128();
        for (; i + 4 <= n; i += 4) {
            __m128i* v = reinterpret_cast<__m128i*>(p + i);
            const __m128i px = _mm_loadu_si128(v);
            const __m128i eq = _mm_cmpeq_epi32(_mm_and_si128(px, low), want);
            const __m128i replaced = _mm_or_si128(value, _mm_and_si128(px, kept));
            _mm_storeu_si128(v,
                             _mm_or_si128(_mm_and_si128(eq, replaced), _mm_andnot_si128(eq, px)));
            hits = _mm_sub_epi32(hits, eq);  // a matching lane is -1
        }
        alignas(16) uint32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), hits);
        count += lanes[0] + lanes[1] + lanes[2] + lanes[3];
#endif
        for (; i < n; ++i) {
            if ((p[i] & 0x00FFFFFFu) != colour) continue;
            p[i] = keepAlpha ? (newColour | (p[i] & 0xFF000000u)) : replacement;
            ++count;
        }
    });
    return count;
}

uint32_t countColorsRect(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!canvas.isValid()) return 0;
    Inside inside;
    if (!intersect(canvas, x, y, w, h, inside)) return 0;
    // calloc: the zero pages come from the system already cleared.
    uint8_t* bits = static_cast<uint8_t*>(std::calloc(kColourBitSetBytes, 1));
    if (bits == nullptr) return 0;
    uint32_t count = 0;
    forEachRow(canvas, inside, [&](const uint32_t* p, size_t n) {
        // Random colours miss the cache on nearly every pixel: work in
        // batches whose bit-set bytes are all requested before the first
        // is needed, so the misses overlap.
        constexpr size_t kBatch = 64;
        uint32_t index[kBatch];
        for (size_t start = 0; start < n; start += kBatch) {
            const size_t m = std::min(kBatch, n - start);
            for (size_t i = 0; i < m; ++i) {
                const uint32_t px = p[start + i];
                index[i] = kSpreadRed[(px >> 16) & 0xFF] | kSpreadGreen[(px >> 8) & 0xFF] |
                           kSpreadBlue[px & 0xFF];
                __builtin_prefetch(bits + (index[i] >> 3), 1);
            }
            for (size_t i = 0; i < m; ++i) {
                const uint8_t bit = static_cast<uint8_t>(1u << (index[i] & 7));
                const uint8_t byte = bits[index[i] >> 3];
                count += (byte & bit) == 0;  // no branch: new and old colours alternate
                bits[index[i] >> 3] = byte | bit;
            }
        }
    });
    std::free(bits);
    return count;
}

bool flipRectHorizontal(DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!canvas.isValid()) return false;
    Inside inside;
    if (!intersect(canvas, x, y, w, h, inside)) return false;
    // Mirrored in place by exchanging pixel pairs: nothing to allocate, so the
    // flip cannot fail once it has started writing.
    forEachRow(canvas, inside, [](uint32_t* p, size_t n) {
        size_t i = 0, j = n;  // j is one past the right end of the unswapped part
#if PLIMSETT_SSE2
        for (; j - i >= 8; i += 4, j -= 4) {
            __m128i* left = reinterpret_cast<__m128i*>(p + i);
            __m128i* right = reinterpret_cast<__m128i*>(p + j - 4);
            const __m128i l = _mm_shuffle_epi32(_mm_loadu_si128(left), _MM_SHUFFLE(0, 1, 2, 3));
            const __m128i r = _mm_shuffle_epi32(_mm_loadu_si128(right), _MM_SHUFFLE(0, 1, 2, 3));
            _mm_storeu_si128(left, r);
            _mm_storeu_si128(right, l);
        }
#endif
        for (; j - i >= 2; ++i, --j) std::swap(p[i], p[j - 1]);
    });
    return true;
}

bool flipRectVertical(DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!canvas.isValid()) return false;
    Inside inside;
    if (!intersect(canvas, x, y, w, h, inside)) return false;
    // Rows are exchanged pairwise in place through a small buffer on the
    // stack: nothing to allocate, so the flip cannot fail half way.
    constexpr size_t kChunk = 1024;
    uint32_t buffer[kChunk];
    const size_t n = static_cast<size_t>(inside.w);
    for (int32_t i = 0; i < inside.h / 2; ++i) {
        uint32_t* top = canvas.row(inside.y0 + i) + inside.x0;
        uint32_t* bottom = canvas.row(inside.y0 + inside.h - 1 - i) + inside.x0;
        for (size_t done = 0; done < n; done += kChunk) {
            const size_t bytes = std::min(kChunk, n - done) * 4;
            std::memcpy(buffer, top + done, bytes);
            std::memcpy(top + done, bottom + done, bytes);
            std::memcpy(bottom + done, buffer, bytes);
        }
    }
    return true;
}

bool pasteMaskRect(DIB& canvas, const DIB& mask, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!canvas.isValid() || !mask.isValid()) return false;
    int32_t dx = x, dy = y, cw = w, ch = h, sx = 0, sy = 0;
    if (!clipRegion(dx, dy, cw, ch, sx, sy, canvas.width(), canvas.height(), mask.width(),
                    mask.height())) {
        return false;
    }
    const size_t n = static_cast<size_t>(cw);
    const size_t dstStride = static_cast<size_t>(canvas.width());
    const size_t srcStride = static_cast<size_t>(mask.width());
    uint32_t* d = canvas.row(dy + ch - 1) + dx;
    const uint32_t* s = mask.row(sy + ch - 1) + sx;
    for (int32_t r = 0; r < ch; ++r, d += dstStride, s += srcStride) {
        size_t i = 0;
#if PLIMSETT_SSE2
        const __m128i blueRed = _mm_set1_epi32(0x00FF00FF);
        const __m128i green = _mm_set1_epi32(0x000000FF);
        const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
        const __m128i ones = _mm_set1_epi16(1);
        const __m128i third = _mm_set1_epi16(static_cast<short>(43691));
        for (; i + 4 <= n; i += 4) {
            const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            // Low half B + G, high half R; madd adds the halves: B + G + R.
            const __m128i halves = _mm_add_epi32(_mm_and_si128(m, blueRed),
                                                 _mm_and_si128(_mm_srli_epi32(m, 8), green));
            const __m128i sum = _mm_madd_epi16(halves, ones);
            // sum / 3 as (sum * 43691) >> 17: 3 * 43691 = 2^17 + 1, exact up to 765.
            const __m128i grey = _mm_srli_epi32(_mm_mulhi_epu16(sum, third), 1);
            __m128i* out = reinterpret_cast<__m128i*>(d + i);
            _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(_mm_loadu_si128(out), colour),
                                               _mm_slli_epi32(grey, 24)));
        }
#endif
        for (; i < n; ++i) {
            const uint32_t m = s[i];
            const uint32_t grey = ((m & 0xFF) + ((m >> 8) & 0xFF) + ((m >> 16) & 0xFF)) / 3;
            d[i] = (d[i] & 0x00FFFFFFu) | (grey << 24);
        }
    }
    return true;
}

bool exportMaskRect(DIB& output, const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!output.isValid() || !canvas.isValid()) return false;
    int32_t dx = 0, dy = 0, cw = w, ch = h, sx = x, sy = y;
    if (!clipRegion(dx, dy, cw, ch, sx, sy, output.width(), output.height(), canvas.width(),
                    canvas.height())) {
        return false;
    }
    const size_t n = static_cast<size_t>(cw);
    const size_t dstStride = static_cast<size_t>(output.width());
    const size_t srcStride = static_cast<size_t>(canvas.width());
    uint32_t* d = output.row(dy + ch - 1) + dx;
    const uint32_t* s = canvas.row(sy + ch - 1) + sx;
    for (int32_t r = 0; r < ch; ++r, d += dstStride, s += srcStride) {
        for (size_t i = 0; i < n; ++i) d[i] = (s[i] >> 24) * 0x010101u | 0xFF000000u;
    }
    return true;
}
