#include "app/frame_composer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "app/frame_rows.h"
#include "edit/pixel_ops.h"
#include "image/vector_path.h"

namespace {

constexpr int kFractionBits = 14;
constexpr float kFixedOne = 16384.0f;
constexpr int32_t kDotRun = 3;   // the dotted outline: 3 pixels on, 3 off
constexpr int32_t kMarkArm = 8;  // arm length of the CopyBuffer corner marks
constexpr int32_t kMarkWidth = 2;
// While a row is drawn, the source row this many rows further down is asked
// for: each row starts a new stream the memory would otherwise wait on.
constexpr int32_t kRowsAhead = 2;

// Single precision to a non-negative fixed-point start value; huge values are
// capped well inside int64 so that stepping cannot overflow.
int64_t truncStart(float value) {
    if (!(value > 0.0f)) return 0;
    if (value >= 4.0e18f) return static_cast<int64_t>(4.0e18);
    return static_cast<int64_t>(value);
}

// The clipped destination rectangle and the fixed-point steps of one scaled
// drawing.
struct ScaledPlan {
    int32_t dx, dy, w, h;
    int64_t startX, startY, stepX, stepY;
};

bool planScaled(const DIB& source, const DIB& destination, int32_t dx, int32_t dy, int32_t dw,
                int32_t dh, int32_t sw, int32_t sh, ScaledPlan& plan) {
    if (!source.isValid() || !destination.isValid() || sw == 0 || sh == 0) return false;
    int32_t w = saturateToInt32(abs64(dw));
    int32_t h = saturateToInt32(abs64(dh));
    const int32_t fullW = w, fullH = h;
    const float fx = static_cast<float>(w) / static_cast<float>(sw);
    const float fy = static_cast<float>(h) / static_cast<float>(sh);
    int32_t u = 0, v = 0;
    // The source size counted in destination pixels.
    const int32_t srcW = truncToInt32(static_cast<float>(source.width()) * fx);
    const int32_t srcH = truncToInt32(static_cast<float>(source.height()) * fy);
    if (!clipRegion(dx, dy, w, h, u, v, destination.width(), destination.height(), srcW, srcH)) {
        return false;
    }
    plan.dx = dx;
    plan.dy = dy;
    plan.w = w;
    plan.h = h;
    // Clipping only ever narrows, so fullW and fullH are at least w, h > 0.
    plan.stepX = (abs64(sw) << kFractionBits) / fullW;
    plan.stepY = (abs64(sh) << kFractionBits) / fullH;
    plan.startX = truncStart(static_cast<float>(u) * kFixedOne / fx);
    plan.startY = truncStart(static_cast<float>(v) * kFixedOne / fy);
    return true;
}

// Whether the AVX2 bodies are to be used (on the AVX-512 path too, for the
// rows without an AVX-512 body); read once per drawing.
bool wide() {
#if defined(PLIMSETT_AVX2)
    return activeVectorPath() != VectorPath::Baseline;
#else
    return false;
#endif
}

#if defined(__SSE2__)
// Four pixels of mixOverKeepingAlpha in 16-bit lanes: red and blue share
// lanes, as do green and the source alpha; each product and their sum stay
// below 65536, so the lanes give exactly the per-byte rule.
inline __m128i mixFour(__m128i s, __m128i u) {
    const __m128i low = _mm_set1_epi32(0x00FF00FF);
    const __m128i a32 = _mm_srli_epi32(s, 24);
    const __m128i a = _mm_or_si128(a32, _mm_slli_epi32(a32, 16));
    const __m128i na = _mm_sub_epi16(_mm_set1_epi16(256), a);
    const __m128i rb = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(s, low), a),
                                     _mm_mullo_epi16(_mm_and_si128(u, low), na));
    const __m128i ga = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi32(s, 8), low), a),
                                     _mm_mullo_epi16(_mm_and_si128(_mm_srli_epi32(u, 8), low), na));
    const __m128i green = _mm_and_si128(ga, _mm_set1_epi32(0x0000FF00));
    const __m128i alpha = _mm_and_si128(u, _mm_set1_epi32(static_cast<int>(0xFF000000u)));
    return _mm_or_si128(_mm_or_si128(_mm_srli_epi16(rb, 8), green), alpha);
}

inline __m128i everySecondFour(const uint32_t* p) {
    const __m128 a = _mm_loadu_ps(reinterpret_cast<const float*>(p));
    const __m128 b = _mm_loadu_ps(reinterpret_cast<const float*>(p + 4));
    return _mm_castps_si128(_mm_shuffle_ps(a, b, 0x88));
}

inline __m128i loadFour(const uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
#endif

// Zoom 0.5: out[i] = p[2 * i], four at a time with one shuffle. The loads
// stay on pixels the row really has (up to p[2 * (n - 1)]).
void gatherEverySecond(const uint32_t* p, uint32_t* out, int32_t n, const uint32_t* ahead,
                       bool avx2, bool avx512) {
    int32_t i = 0;
#if defined(PLIMSETT_AVX2)
    if (avx512) i = gatherEverySecondAvx512(p, out, n, ahead);
    if (avx2) i += gatherEverySecondAvx2(p + 2 * i, out + i, n - i, ahead + 2 * i);
#else
    (void)ahead, (void)avx2, (void)avx512;
#endif
#if defined(__SSE2__)
    for (; i + 4 < n; i += 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), everySecondFour(p + 2 * i));
    }
#endif
    for (; i < n; ++i) out[i] = p[2 * i];
}

// Which source column each destination column of the plan shows. Indices
// are kept inside the source: at extreme zooms single precision may
// overshoot by one.
class ColumnMap {
public:
    ColumnMap(const ScaledPlan& plan, int32_t srcW) : width_(plan.w) {
        cols_.resize(static_cast<size_t>(plan.w));
        int64_t acc = plan.startX;
        for (int32_t i = 0; i < plan.w; ++i, acc += plan.stepX) {
            cols_[static_cast<size_t>(i)] =
                static_cast<int32_t>(std::min<int64_t>(acc >> kFractionBits, srcW - 1));
        }
        // A step of whole source pixels picks evenly spaced columns, as long as
        // none had to be held back at the right edge.
        const int64_t whole = plan.stepX >> kFractionBits;
        if (plan.w > 0 && (plan.stepX & ((1 << kFractionBits) - 1)) == 0 && whole > 0 &&
            cols_.back() == cols_.front() + whole * (plan.w - 1)) {
            stride_ = static_cast<int32_t>(whole);
        }
    }

    // The whole number of source pixels from one column to the next; 0 when
    // the columns come from the table.
    int32_t stride() const { return stride_; }
    int32_t first() const { return cols_.empty() ? 0 : cols_.front(); }
    bool avx2() const { return avx2_; }

    // The source pixels of one destination row, gathered from source row `s`
    // into `out` (width() pixels); `ahead` is the source row drawn next.
    void gather(const uint32_t* s, uint32_t* out, const uint32_t* ahead) const {
        if (stride_ == 1) {
            std::memcpy(out, s + cols_.front(), static_cast<size_t>(width_) * 4);
        } else if (stride_ == 2) {
            gatherEverySecond(s + cols_.front(), out, width_, ahead + cols_.front(), avx2_,
                              avx512_);
        } else if (stride_ > 1) {
            const uint32_t* p = s + cols_.front();
            const size_t k = static_cast<size_t>(stride_);
            for (size_t i = 0; i < static_cast<size_t>(width_); ++i) out[i] = p[i * k];
        } else {
            for (size_t i = 0; i < static_cast<size_t>(width_); ++i) out[i] = s[cols_[i]];
        }
    }

private:
    std::vector<int32_t> cols_;
    int32_t width_;
    int32_t stride_ = 0;  // 0: by table
    bool avx2_ = wide();
    bool avx512_ = avx2_ && activeVectorPath() == VectorPath::Avx512;
};

int32_t sourceRowOf(const ScaledPlan& plan, int32_t j, int32_t srcH) {
    const int64_t acc = plan.startY + plan.stepY * j;
    return static_cast<int32_t>(std::min<int64_t>(acc >> kFractionBits, srcH - 1));
}

// The view's blend, unlike the editing blends: each colour byte mixed by the
// source alpha over 256 steps, the destination's alpha kept.
inline uint32_t mixOverKeepingAlpha(uint32_t s, uint32_t d) {
    const uint32_t a = s >> 24;
    const uint32_t na = 256 - a;
    // Red and blue share one multiply, green gets its own; no lane carries
    // into the next since 255 * a + 255 * (256 - a) < 65536.
    const uint32_t rb = (((s & 0xFF00FFu) * a + (d & 0xFF00FFu) * na) >> 8) & 0xFF00FFu;
    const uint32_t g = (((s & 0xFF00u) * a + (d & 0xFF00u) * na) >> 8) & 0xFF00u;
    return (d & 0xFF000000u) | rb | g;
}

// out[i] = s[i] mixed over under[i] by the alpha of s[i], for n pixels; out
// may be under.
void mixRow(const uint32_t* s, const uint32_t* under, uint32_t* out, int32_t n,
            const uint32_t* ahead, bool avx2) {
    int32_t i = 0;
#if defined(PLIMSETT_AVX2)
    if (avx2) i = mixRowAvx2(s, under, out, n, ahead);
#else
    (void)ahead, (void)avx2;
#endif
#if defined(__SSE2__)
    for (; i + 4 <= n; i += 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         mixFour(loadFour(s + i), loadFour(under + i)));
    }
#endif
    for (; i < n; ++i) out[i] = mixOverKeepingAlpha(s[i], under[i]);
}

// Zoom 0.5: out[i] = p[2 * i] mixed over under[i], reading as gatherEverySecond.
void mixEverySecond(const uint32_t* p, const uint32_t* under, uint32_t* out, int32_t n,
                    const uint32_t* ahead, bool avx2) {
    int32_t i = 0;
#if defined(PLIMSETT_AVX2)
    if (avx2) i = mixEverySecondAvx2(p, under, out, n, ahead);
#else
    (void)ahead, (void)avx2;
#endif
#if defined(__SSE2__)
    for (; i + 4 < n; i += 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         mixFour(everySecondFour(p + 2 * i), loadFour(under + i)));
    }
#endif
    for (; i < n; ++i) out[i] = mixOverKeepingAlpha(p[2 * i], under[i]);
}

// The source row the plan's row j shows (the last row's for j past it).
const uint32_t* sourceRow(const DIB& source, const ScaledPlan& plan, int32_t j) {
    return source.row(sourceRowOf(plan, std::min(j, plan.h - 1), source.height()));
}

void copyScaled(const DIB& source, DIB& destination, const ScaledPlan& plan) {
    const ColumnMap cols(plan, source.width());
    const size_t rowBytes = static_cast<size_t>(plan.w) * 4;
    int32_t previous = -1;
    for (int32_t j = 0; j < plan.h; ++j) {
        const int32_t sy = sourceRowOf(plan, j, source.height());
        uint32_t* d = destination.row(plan.dy + j) + plan.dx;
        if (sy == previous) {
            // Zoomed in: this row repeats the one above.
            std::memcpy(d, destination.row(plan.dy + j - 1) + plan.dx, rowBytes);
            continue;
        }
        previous = sy;
        cols.gather(source.row(sy), d, sourceRow(source, plan, j + kRowsAhead));
    }
}

// Writes to `out` the plan's row j mixed over `under` (plan.w pixels each;
// out may be under). `scratch` holds the columns that are not evenly spaced.
void blendScaledRow(const DIB& source, const ScaledPlan& plan, int32_t j, const ColumnMap& cols,
                    const uint32_t* under, uint32_t* out, std::vector<uint32_t>& scratch) {
    const uint32_t* s = sourceRow(source, plan, j) + cols.first();
    const uint32_t* ahead = sourceRow(source, plan, j + kRowsAhead) + cols.first();
    if (cols.stride() == 1) {
        mixRow(s, under, out, plan.w, ahead, cols.avx2());
    } else if (cols.stride() == 2) {
        mixEverySecond(s, under, out, plan.w, ahead, cols.avx2());
    } else {
        scratch.resize(static_cast<size_t>(plan.w));
        cols.gather(sourceRow(source, plan, j), scratch.data(), ahead - cols.first());
        mixRow(scratch.data(), under, out, plan.w, scratch.data(), cols.avx2());
    }
}

struct Box {
    int32_t x0, y0, x1, y1;  // exclusive right and bottom
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

// (x, y, w, h) cut to the frame; coordinates in 64 bits so nothing overflows.
Box clipBox(int64_t x, int64_t y, int64_t w, int64_t h, const DIB& frame) {
    Box b;
    b.x0 = static_cast<int32_t>(std::clamp<int64_t>(x, 0, frame.width()));
    b.y0 = static_cast<int32_t>(std::clamp<int64_t>(y, 0, frame.height()));
    b.x1 = static_cast<int32_t>(std::clamp<int64_t>(x + w, 0, frame.width()));
    b.y1 = static_cast<int32_t>(std::clamp<int64_t>(y + h, 0, frame.height()));
    return b;
}

// The background goes only where the canvas layer will not cover it anyway.
void fillAround(DIB& frame, const Box& covered, uint32_t pixel) {
    const int32_t w = frame.width(), h = frame.height();
    if (covered.empty()) {
        frame.fillRect(0, 0, w, h, pixel);
        return;
    }
    frame.fillRect(0, 0, w, covered.y0, pixel);
    frame.fillRect(0, covered.y1, w, h - covered.y1, pixel);
    frame.fillRect(0, covered.y0, covered.x0, covered.y1 - covered.y0, pixel);
    frame.fillRect(covered.x1, covered.y0, w - covered.x1, covered.y1 - covered.y0, pixel);
}

// Squares of side `box` from the canvas origin (ox, oy); the square in row r,
// column k takes the first colour when r + k is even. Only the part inside
// `area` is written, one prepared row pattern per parity of r.
class Checkerboard {
public:
    Checkerboard(const Box& area, int64_t ox, int64_t oy, int32_t box, uint32_t first,
                 uint32_t second)
        : oy_(oy), box_(box) {
        const size_t n = static_cast<size_t>(area.x1 - area.x0);
        for (int parity = 0; parity < 2; ++parity) {
            rows_[parity].resize(n);
            for (size_t i = 0; i < n; ++i) {
                const int64_t k = (area.x0 + static_cast<int64_t>(i) - ox) / box;
                rows_[parity][i] = ((k + parity) % 2 == 0) ? first : second;
            }
        }
    }

    int parityOf(int32_t y) const { return static_cast<int>(((y - oy_) / box_) % 2); }

    // The squares of frame row y, from the area's left edge.
    const uint32_t* rowAt(int32_t y) const { return rows_[parityOf(y)].data(); }

private:
    int64_t oy_;
    int32_t box_;
    std::vector<uint32_t> rows_[2];
};

void putPixel(DIB& frame, int64_t x, int64_t y, uint32_t pixel) {
    if (x < 0 || y < 0 || x >= frame.width() || y >= frame.height()) return;
    frame.row(static_cast<int32_t>(y))[x] = pixel;
}

// One straight line of the dotted outline from (x0, y0) toward (x1, y1), the
// end point excluded as the platform draws lines. `dist` carries the dot
// pattern from one line to the next. Only pixels inside the frame are visited.
void dottedLine(DIB& frame, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t& dist,
                uint32_t on, uint32_t off) {
    const bool horizontal = y0 == y1;
    const int64_t n = horizontal ? std::abs(x1 - x0) : std::abs(y1 - y0);
    const int64_t dir = horizontal ? (x1 >= x0 ? 1 : -1) : (y1 >= y0 ? 1 : -1);
    const int64_t start = horizontal ? x0 : y0;
    const int64_t fixed = horizontal ? y0 : x0;
    const int64_t limit = horizontal ? frame.width() : frame.height();
    const int64_t fixedLimit = horizontal ? frame.height() : frame.width();
    if (n > 0 && fixed >= 0 && fixed < fixedLimit) {
        // Steps s in [0, n) whose coordinate start + dir * s lies in [0, limit).
        int64_t sFrom, sTo;
        if (dir > 0) {
            sFrom = std::max<int64_t>(0, -start);
            sTo = std::min<int64_t>(n, limit - start);
        } else {
            sFrom = std::max<int64_t>(0, start - (limit - 1));
            sTo = std::min<int64_t>(n, start + 1);
        }
        for (int64_t s = sFrom; s < sTo; ++s) {
            const uint32_t pixel = ((dist + s) / kDotRun) % 2 == 0 ? on : off;
            const int64_t c = start + dir * s;
            if (horizontal) {
                putPixel(frame, c, fixed, pixel);
            } else {
                putPixel(frame, fixed, c, pixel);
            }
        }
    }
    dist += n;
}

// The closed path (L, T) -> (R + 1, T) -> (R + 1, B + 1) -> (L, B + 1) -> (L, T).
void drawOutline(DIB& frame, const ViewRect& v, bool phase) {
    const uint32_t on = phase ? kOutlineDark : kOutlineLight;
    const uint32_t off = phase ? kOutlineLight : kOutlineDark;
    const int64_t l = v.left, t = v.top, r = static_cast<int64_t>(v.right) + 1,
                  b = static_cast<int64_t>(v.bottom) + 1;
    int64_t dist = 0;
    dottedLine(frame, l, t, r, t, dist, on, off);
    dottedLine(frame, r, t, r, b, dist, on, off);
    dottedLine(frame, r, b, l, b, dist, on, off);
    dottedLine(frame, l, b, l, t, dist, on, off);
}

// A 2-pixel-wide stroke from (x0, y0) to (x1, y1), ends included.
void thickLine(DIB& frame, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel) {
    const int64_t left = std::min(x0, x1) - kMarkWidth / 2;
    const int64_t top = std::min(y0, y1) - kMarkWidth / 2;
    const int64_t right = std::max(x0, x1) + kMarkWidth / 2;
    const int64_t bottom = std::max(y0, y1) + kMarkWidth / 2;
    const Box b = clipBox(left, top, right - left, bottom - top, frame);
    if (!b.empty()) frame.fillRect(b.x0, b.y0, b.x1 - b.x0, b.y1 - b.y0, pixel);
}

// Marks on the corners of the area a paste at the selection would reach.
void drawCopyMarks(DIB& frame, const FrameInputs& p, const CanvasPoint& origin) {
    const uint32_t pixel = p.outlinePhase ? kOutlineDark : kOutlineLight;
    auto at = [&](int64_t c, int32_t o) {
        return static_cast<int64_t>(truncToInt32(static_cast<float>(c) * p.zoom)) + o;
    };
    const int64_t x0 = at(p.selection.left, origin.x);
    const int64_t y0 = at(p.selection.top, origin.y);
    const int64_t x1 = at(static_cast<int64_t>(p.selection.left) + p.copy.width, origin.x);
    const int64_t y1 = at(static_cast<int64_t>(p.selection.top) + p.copy.height, origin.y);
    const int64_t a = kMarkArm;
    thickLine(frame, x0, y0 + a, x0, y0, pixel);
    thickLine(frame, x0, y0, x0 + a, y0, pixel);
    thickLine(frame, x1 - a, y0, x1, y0, pixel);
    thickLine(frame, x1, y0, x1, y0 + a, pixel);
    thickLine(frame, x1, y1 - a, x1, y1, pixel);
    thickLine(frame, x1, y1, x1 - a, y1, pixel);
    thickLine(frame, x0 + a, y1, x0, y1, pixel);
    thickLine(frame, x0, y1, x0, y1 - a, pixel);
}

}  // namespace

bool scaledCopyTo(const DIB& source, DIB& destination, int32_t dx, int32_t dy, int32_t dw,
                  int32_t dh, int32_t sw, int32_t sh) {
    ScaledPlan plan;
    if (!planScaled(source, destination, dx, dy, dw, dh, sw, sh, plan)) return false;
    copyScaled(source, destination, plan);
    return true;
}

bool scaledBlendTo(const DIB& source, DIB& destination, int32_t dx, int32_t dy, int32_t dw,
                   int32_t dh, int32_t sw, int32_t sh) {
    ScaledPlan plan;
    if (!planScaled(source, destination, dx, dy, dw, dh, sw, sh, plan)) return false;
    const ColumnMap cols(plan, source.width());
    std::vector<uint32_t> scratch;
    for (int32_t j = 0; j < plan.h; ++j) {
        uint32_t* d = destination.row(plan.dy + j) + plan.dx;
        blendScaledRow(source, plan, j, cols, d, d, scratch);
    }
    return true;
}

void composeFrame(DIB& frame, const FrameInputs& p) {
    if (!frame.isValid()) return;
    const bool hasCanvas = p.canvas != nullptr && p.canvas->isValid();
    const CanvasPoint origin = canvasOrigin(p.hPos, p.vPos);
    int32_t zw = 0, zh = 0;
    if (hasCanvas) {
        zw = truncToInt32(static_cast<float>(p.canvas->width()) * p.zoom);
        zh = truncToInt32(static_cast<float>(p.canvas->height()) * p.zoom);
    }
    ScaledPlan plan{};
    const bool drawn = hasCanvas && planScaled(*p.canvas, frame, origin.x, origin.y, zw, zh,
                                               p.canvas->width(), p.canvas->height(), plan);

    if (p.alphaMode) {
        // The checkerboard covers the scaled canvas' rectangle; the blended
        // canvas lies inside it (clipping only narrows), so each row is the
        // canvas mixed over the squares, written once.
        const Box area = hasCanvas ? clipBox(origin.x, origin.y, zw, zh, frame) : Box{0, 0, 0, 0};
        fillAround(frame, area, kViewBackground);
        if (!area.empty()) {
            const Checkerboard board(area, origin.x, origin.y, std::max(p.boxSize, 1),
                                     pixelOf(p.color1), pixelOf(p.color2));
            const ColumnMap cols(plan, drawn ? p.canvas->width() : 0);
            std::vector<uint32_t> scratch;
            // A row with the same canvas row over the same square pattern as
            // the row above comes out the same: zoomed in, most rows do.
            int64_t previousKey = -1;
            const size_t rowBytes = static_cast<size_t>(area.x1 - area.x0) * 4;
            for (int32_t y = area.y0; y < area.y1; ++y) {
                const bool blended = drawn && y >= plan.dy && y < plan.dy + plan.h;
                const int64_t key =
                    blended ? int64_t{sourceRowOf(plan, y - plan.dy, p.canvas->height())} * 2 +
                                  board.parityOf(y)
                            : -1;
                if (key >= 0 && key == previousKey) {
                    std::memcpy(frame.row(y) + area.x0, frame.row(y - 1) + area.x0, rowBytes);
                    continue;
                }
                previousKey = key;
                const uint32_t* squares = board.rowAt(y);
                uint32_t* row = frame.row(y) + area.x0;
                if (!blended) {
                    std::memcpy(row, squares, rowBytes);
                    continue;
                }
                // The area may reach a pixel past the drawn canvas: the
                // squares alone show there.
                const int32_t left = plan.dx - area.x0, drawnEnd = left + plan.w;
                std::memcpy(row, squares, static_cast<size_t>(left) * 4);
                std::memcpy(row + drawnEnd, squares + drawnEnd,
                            static_cast<size_t>(area.x1 - area.x0 - drawnEnd) * 4);
                blendScaledRow(*p.canvas, plan, y - plan.dy, cols, squares + left, row + left,
                               scratch);
            }
        }
    } else {
        const Box covered =
            drawn ? Box{plan.dx, plan.dy, plan.dx + plan.w, plan.dy + plan.h} : Box{0, 0, 0, 0};
        fillAround(frame, covered, kViewBackground);
        if (drawn) copyScaled(*p.canvas, frame, plan);
    }

    drawOutline(frame, canvasRectToView(p.selection, p.zoom, p.hPos, p.vPos), p.outlinePhase);
    if (p.copy.present) drawCopyMarks(frame, p, origin);
}
