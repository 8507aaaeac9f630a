// DIBSection: the section selected into its own context,
// content kept across resizes, and every GDI object deleted once replaced.
#include "image/dib_section.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/test_support.h"

namespace {

using testimage::tag;

constexpr uint32_t kColour = 0x00FFFFFFu;

bool isDeleted(HGDIOBJ object) { return GetObjectType(object) == 0; }

HFONT makeFont() {
    return CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
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

// A resize keeps the top-left content of the section selected into its own
// context; a failed one changes nothing, a failed create releases it all.
TEST(DibSection, ResizeKeepsTheContentTopLeftOrChangesNothing) {
    DIBSection s;
    ASSERT_TRUE(s.create(640, 480));
    testimage::fillTagged(s);
    const HDC dc = s.dc;
    EXPECT_FALSE(s.create(0, 5) || s.resizeKeep(-1, -1));
    EXPECT_FALSE(s.resizeKeep(65536, 65536));  // 16 GiB: the section step fails
    EXPECT_EQ(s.dc, dc);
    GdiFlush();
    ASSERT_TRUE(s.resizeKeep(300, 700));
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_BITMAP), s.bitmap);
    for (int32_t y = 0; y < 480; ++y)
        for (int32_t x = 0; x < 300; ++x)
            ASSERT_EQ(s.pixelAt(x, y) & kColour, tag(x, y) & kColour) << x << "," << y;
    const HDC last = s.dc;
    EXPECT_FALSE(s.create(65536, 65536));
    EXPECT_TRUE(isDeleted(last));
    EXPECT_EQ(s.pixels, nullptr);
}

// Wine's GetGuiResources always answers 0, so the objects themselves are checked too.
TEST(DibSection, EveryReplacedOrReleasedObjectIsDeleted) {
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 50; ++i) {
        std::optional<DIBSection> holder(std::in_place);
        DIBSection& s = *holder;
        ASSERT_TRUE(s.create(8, 8));
        auto old = owned(s);
        ASSERT_TRUE(s.create(64 + i, 48));
        expectDeleted(old);
        ASSERT_TRUE(s.selectFont(makeFont()));
        old = owned(s);
        ASSERT_TRUE(s.resizeKeep(40, 30 + i));  // the font goes with the old context
        EXPECT_EQ(s.font, nullptr);
        expectDeleted(old);
        ASSERT_TRUE(s.selectFont(makeFont()));
        HFONT first = s.font;
        ASSERT_TRUE(s.selectFont(makeFont()));
        EXPECT_TRUE(isDeleted(first));  // a replaced font is deleted
        old = owned(s);
        if (i % 2 == 0) {
            s.release();
            EXPECT_TRUE(!s.pixels && !s.dc && !s.bitmap && !s.font && s.width() == 0);
        } else {
            holder.reset();  // the destructor releases too
        }
        expectDeleted(old);
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
    DIBSection empty;
    HFONT none = makeFont();
    EXPECT_FALSE(empty.selectFont(none));  // no device context: still ours
    EXPECT_FALSE(isDeleted(none));
    DeleteObject(none);
}
