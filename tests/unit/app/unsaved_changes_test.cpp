#include "edit/document.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/unsaved_changes.h"

// Each sequence of events against the counters it must leave.
TEST(UnsavedChanges, CountersFollowEditsUndoRedoSaveAndOpen) {
    using E = DocumentEvent;
    struct Case {
        std::vector<DocumentEvent> events;
        int32_t editCount;
        uint8_t modifiedFlag;
    } cases[] = {
        {{E::Edited, E::Saved, E::Undone}, -1, 0},  // undo past the save is a change
        {{E::Edited, E::Saved, E::Undone, E::Redone}, 0, 0},
        {{E::Edited, E::Saved, E::Undone, E::Edited}, 0, 1},  // changed even at count 0
        {{E::Opened}, 0, 0},                                  // opening a clean document
        {{E::Edited, E::Opened}, 2, 1},                       // opening over unsaved work
    };
    for (const Case& c : cases) {
        Document doc;
        for (DocumentEvent e : c.events) countEvent(doc, e);
        EXPECT_EQ(doc.editCount, c.editCount);
        EXPECT_EQ(doc.modifiedFlag, c.modifiedFlag);
        EXPECT_EQ(doc.hasUnsavedChanges(), c.editCount != 0 || c.modifiedFlag != 0);
    }
}
