#pragma once
// The bookkeeping of unsaved changes (Settings::hasUnsavedChanges). editCount is the net number of
// edits since the canvas last matched its file (it goes negative when undo passes the saved state);
// modifiedFlag makes an edit after such an undo count even when the count returns to 0.
#include <cstdint>
#include <string>
#include <string_view>

struct Settings;

void noteEdit(Settings& s);
void noteUndo(Settings& s);
void noteRedo(Settings& s);
void noteSaved(Settings& s);
void noteOpened(Settings& s);  // a file opened onto the canvas

// "%s へ変更を保存しますか？" naming the file, or the plain question without one.
std::u16string closePromptText(std::u16string_view fileTitle);
