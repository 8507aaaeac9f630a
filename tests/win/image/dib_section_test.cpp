// Windows tests of the pixel buffer: DIBSection and drawStretched.
#include "image/dib_section.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// A value that names its position, with alpha and colour bytes all nonzero.
uint32_t tag(int32_t x, int32_t y) {
    return 0x80000000u | static_cast<uint32_t>(y & 0xFFF) << 12 | static_cast<uint32_t>(x & 0xFFF);
}

void fillTagged(DIB& d) {
    for (int32_t y = 0; y < d.height(); ++y)
        for (int32_t x = 0; x < d.width(); ++x) d.row(y)[x] = tag(x, y);
}

constexpr uint32_t kColour = 0x00FFFFFFu;

// Pixels of (0, 0, w, h) whose colour bytes differ from tag(x, y).
int colourMismatches(const DIB& d, int32_t w, int32_t h) {
    int count = 0;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            if ((d.pixelAt(x, y) & kColour) != (tag(x, y) & kColour)) ++count;
    return count;
}

// Wine always answers 0, so each test also checks the objects themselves.
DWORD gdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

bool isDeleted(HGDIOBJ object) { return GetObjectType(object) == 0; }

void expectEmpty(const DIBSection& s) {
    static const BitmapInfo zero{};
    EXPECT_TRUE(!s.pixels && !s.dc && !s.bitmap && !s.previousBitmap && !s.font && !s.previousFont);
    EXPECT_EQ(memcmp(&s.info, &zero, sizeof zero), 0);
}

// The header (size, planes, bit count; all else 0) and the section selected
// into the context.
void expectSection(const DIBSection& s, int32_t w, int32_t h) {
    BitmapInfo want{};
    want.header = {40, w, h, 1, 32, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(memcmp(&s.info, &want, sizeof want), 0) << s.width() << "x" << s.height();
    ASSERT_TRUE(s.isValid());
    EXPECT_NE(s.previousBitmap, nullptr);
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_BITMAP), s.bitmap);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectW(s.bitmap, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, s.pixels);
    EXPECT_EQ(ds.dsBm.bmWidth, w);
    EXPECT_EQ(ds.dsBm.bmHeight, h);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
    EXPECT_EQ(ds.dsBmih.biHeight, h);  // positive: bottom-up
}

HFONT makeFont() {
    return CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"Arial");
}

// The objects a section owns; each must be gone after the step that replaced it.
std::vector<HGDIOBJ> owned(const DIBSection& s) {
    std::vector<HGDIOBJ> objects{s.dc, s.bitmap};
    if (s.font != nullptr) objects.push_back(s.font);
    return objects;
}

void expectDeleted(const std::vector<HGDIOBJ>& objects) {
    for (HGDIOBJ object : objects) EXPECT_TRUE(isDeleted(object));
}

}  // namespace

TEST(DibSection, CreateMakesASelectedSectionOrFailsCleanly) {
    DWORD before = gdiObjects();
    {
        DIBSection s;
        expectEmpty(s);
        ASSERT_TRUE(s.create(8, 8));
        HDC dc = s.dc;
        uint32_t* pixels = s.pixels;
        EXPECT_FALSE(s.create(0, 5));
        EXPECT_FALSE(s.create(5, 0));
        EXPECT_FALSE(s.create(-1, -1));
        EXPECT_EQ(s.dc, dc);
        EXPECT_EQ(s.pixels, pixels);
        expectSection(s, 8, 8);

        EXPECT_FALSE(s.create(65536, 65536));  // 16 GiB: the section step fails
        EXPECT_FALSE(s.isValid());
        EXPECT_TRUE(isDeleted(dc));
        EXPECT_EQ(s.pixels, nullptr);
        EXPECT_EQ(s.dc, nullptr);
        EXPECT_EQ(s.bitmap, nullptr);
        EXPECT_EQ(s.width(), 65536);  // the one failure that keeps the new size
        s.release();
        expectEmpty(s);
    }
    EXPECT_EQ(gdiObjects(), before);
}

TEST(DibSection, ResizeKeepKeepsTheContentTopLeft) {
    struct Case {
        int32_t fromW, fromH, toW, toH;
    };
    for (const Case& c : {Case{640, 480, 800, 600}, {800, 600, 300, 700}}) {
        SCOPED_TRACE(testing::Message() << c.toW << "x" << c.toH);
        DIBSection s;
        ASSERT_TRUE(s.create(c.fromW, c.fromH));
        fillTagged(s);
        GdiFlush();
        ASSERT_TRUE(s.resizeKeep(c.toW, c.toH));
        expectSection(s, c.toW, c.toH);
        EXPECT_EQ(colourMismatches(s, std::min(c.fromW, c.toW), std::min(c.fromH, c.toH)), 0);
    }
    DIBSection empty;
    ASSERT_TRUE(empty.resizeKeep(10, 10));
    expectSection(empty, 10, 10);
}

TEST(DibSection, ResizeKeepToTheSameOrARefusedSizeChangesNothing) {
    DWORD before = gdiObjects();
    {
        DIBSection s;
        ASSERT_TRUE(s.create(64, 32));
        fillTagged(s);
        HDC dc = s.dc;
        HBITMAP bitmap = s.bitmap;
        uint32_t* pixels = s.pixels;
        EXPECT_TRUE(s.resizeKeep(64, 32));
        EXPECT_FALSE(s.resizeKeep(0, 32));
        EXPECT_FALSE(s.resizeKeep(64, -1));
        EXPECT_FALSE(s.resizeKeep(65536, 65536));
        EXPECT_EQ(s.dc, dc);
        EXPECT_EQ(s.bitmap, bitmap);
        EXPECT_EQ(s.pixels, pixels);
        expectSection(s, 64, 32);
        EXPECT_EQ(colourMismatches(s, 64, 32), 0);
    }
    EXPECT_EQ(gdiObjects(), before);
}

TEST(DibSection, EveryReplacedOrReleasedObjectIsDeleted) {
    DWORD before = gdiObjects();
    for (int i = 0; i < 50; ++i) {
        std::optional<DIBSection> holder(std::in_place);
        DIBSection& s = *holder;
        ASSERT_TRUE(s.create(8, 8));
        auto old = owned(s);
        ASSERT_TRUE(s.create(64 + i, 48));
        expectDeleted(old);
        old = owned(s);
        ASSERT_TRUE(s.resizeKeep(80 + i, 60));
        expectDeleted(old);
        ASSERT_TRUE(s.selectFont(makeFont()));
        old = owned(s);
        ASSERT_TRUE(s.resizeKeep(40, 30 + i));  // the font goes with the old context
        EXPECT_EQ(s.font, nullptr);
        expectDeleted(old);
        ASSERT_TRUE(s.selectFont(makeFont()));
        old = owned(s);
        if (i % 2 == 0) {
            s.release();
            expectEmpty(s);
        } else {
            holder.reset();  // the destructor releases too
        }
        expectDeleted(old);
    }
    EXPECT_EQ(gdiObjects(), before);
}

TEST(DibSection, SelectFontTakesOwnership) {
    DIBSection s;
    HFONT none = makeFont();
    EXPECT_FALSE(s.selectFont(none));  // no device context yet: still ours
    EXPECT_FALSE(isDeleted(none));
    DeleteObject(none);

    ASSERT_TRUE(s.create(32, 32));
    HGDIOBJ original = GetCurrentObject(s.dc, OBJ_FONT);
    HFONT first = makeFont(), second = makeFont();
    ASSERT_TRUE(s.selectFont(first));
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_FONT), first);
    ASSERT_TRUE(s.selectFont(second));
    EXPECT_TRUE(isDeleted(first));  // the replaced font was deleted
    EXPECT_EQ(s.font, second);
    EXPECT_EQ(s.previousFont, original);
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_FONT), second);
}

TEST(DibDrawStretched, CopiesColoursIgnoringAlphaAndFailsWithoutContextOrPixels) {
    struct Case {
        int32_t dx, dy, dw, dh;  // 4 x 3 source, scaled by dw / 4 and dh / 3
    };
    for (const Case& c : {Case{2, 5, 4, 3}, {1, 1, 12, 6}}) {
        SCOPED_TRACE(testing::Message() << c.dw << "x" << c.dh);
        DIB source(4, 3);
        fillTagged(source);  // alpha 0x80 would show any blending
        DIBSection target;
        ASSERT_TRUE(target.create(20, 20));
        target.fillRect(0, 0, 20, 20, 0);
        SetStretchBltMode(target.dc, COLORONCOLOR);
        ASSERT_TRUE(source.drawStretched(target.dc, c.dx, c.dy, c.dw, c.dh, 4, 3));
        GdiFlush();
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool in = x >= c.dx && x < c.dx + c.dw && y >= c.dy && y < c.dy + c.dh;
                const uint32_t want =
                    in ? tag((x - c.dx) * 4 / c.dw, (y - c.dy) * 3 / c.dh) & kColour : 0u;
                ASSERT_EQ(target.pixelAt(x, y) & kColour, want) << x << "," << y;
            }
        EXPECT_FALSE(source.drawStretched(nullptr, c.dx, c.dy, c.dw, c.dh, 4, 3));
        EXPECT_FALSE(DIB().drawStretched(target.dc, c.dx, c.dy, c.dw, c.dh, 4, 3));
    }
}
