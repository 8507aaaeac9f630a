#include "app/unsaved_changes.h"

#include "settings/settings.h"

void noteEdit(Settings& s) {
    s.editCount += 1;
    s.modifiedFlag = 1;
}

void noteUndo(Settings& s) {
    s.editCount -= 1;
    s.modifiedFlag = 0;
}

void noteRedo(Settings& s) {
    s.editCount += 1;
    s.modifiedFlag = 0;
}

void noteSaved(Settings& s) {
    s.editCount = 0;
    s.modifiedFlag = 0;
}

void noteOpened(Settings& s) {
    // Opening over unsaved work keeps counting as a change, so it still asks.
    if (s.hasUnsavedChanges()) noteEdit(s);
}

std::u16string closePromptText(std::u16string_view fileTitle) {
    if (fileTitle.empty()) return u"変更を保存しますか？";
    std::u16string text(fileTitle);
    text += u" へ変更を保存しますか？";
    return text;
}
