#include "app/unsaved_changes.h"

#include <gtest/gtest.h>

#include "settings/settings.h"

namespace {

struct Counters {
    int32_t editCount;
    uint8_t modifiedFlag;
};

Counters countersOf(const Settings& s) { return {s.editCount, s.modifiedFlag}; }

}  // namespace

TEST(UnsavedChanges, EditThenUndoIsClean) {
    Settings s;
    noteEdit(s);
    EXPECT_TRUE(s.hasUnsavedChanges());
    noteUndo(s);
    EXPECT_FALSE(s.hasUnsavedChanges());
}

TEST(UnsavedChanges, UndoPastTheSaveCountsAsAChangeAndRedoReturnsToClean) {
    Settings s;
    noteEdit(s);
    noteSaved(s);
    noteUndo(s);
    EXPECT_EQ(countersOf(s).editCount, -1);
    EXPECT_TRUE(s.hasUnsavedChanges());
    noteRedo(s);
    EXPECT_FALSE(s.hasUnsavedChanges());
}

TEST(UnsavedChanges, ANewEditAfterUndoStaysChangedEvenAtCountZero) {
    Settings s;
    noteEdit(s);
    noteSaved(s);
    noteUndo(s);
    noteEdit(s);
    EXPECT_EQ(countersOf(s).editCount, 0);
    EXPECT_EQ(countersOf(s).modifiedFlag, 1);
    EXPECT_TRUE(s.hasUnsavedChanges());
}

TEST(UnsavedChanges, OpeningCountsOnlyOverUnsavedWork) {
    Settings clean;
    noteOpened(clean);
    EXPECT_FALSE(clean.hasUnsavedChanges());

    Settings dirty;
    noteEdit(dirty);
    noteOpened(dirty);
    EXPECT_EQ(countersOf(dirty).editCount, 2);
    EXPECT_EQ(countersOf(dirty).modifiedFlag, 1);
}

TEST(UnsavedChanges, ClosePromptNamesTheFileOnlyWhenThereIsOne) {
    EXPECT_EQ(closePromptText(u""), u"変更を保存しますか？");
    EXPECT_EQ(closePromptText(u"a.png"), u"a.png へ変更を保存しますか？");
}
