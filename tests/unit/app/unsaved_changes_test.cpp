#include "app/unsaved_changes.h"

#include <gtest/gtest.h>

#include "settings/settings.h"

TEST(UnsavedChanges, UndoPastTheSaveCountsAsAChangeAndRedoReturnsToClean) {
    Settings s;
    noteEdit(s);
    noteSaved(s);
    noteUndo(s);
    EXPECT_EQ(s.editCount, -1);
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
    EXPECT_EQ(s.editCount, 0);
    EXPECT_EQ(s.modifiedFlag, 1);
    EXPECT_TRUE(s.hasUnsavedChanges());
}

TEST(UnsavedChanges, OpeningCountsOnlyOverUnsavedWork) {
    Settings clean;
    noteOpened(clean);
    EXPECT_FALSE(clean.hasUnsavedChanges());

    Settings dirty;
    noteEdit(dirty);
    noteOpened(dirty);
    EXPECT_EQ(dirty.editCount, 2);
    EXPECT_EQ(dirty.modifiedFlag, 1);
}
