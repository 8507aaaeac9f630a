#pragma once
// The open and save file dialogs over a FileChoice.
#include <windows.h>

#include "image/file_choice.h"

// Empties filePath and shows the open dialog with the six image filters,
// starting on "All Supported Type". True when the user chose a file. With
// multiSelect, filePath receives the folder followed by each chosen name,
// every one NUL-terminated and the list ended by a second NUL.
bool chooseOpenFile(FileChoice& choice, HWND owner, bool multiSelect);

// Shows the save dialog of `list` (kImageSaveList or kMaskSaveList), starting
// on the filter the choice remembers for that list and on its current path,
// with overwrite confirmation. On OK the choice takes the path, the title and
// the filter index, which is returned; on cancel (or another list) the result
// is 0 and the choice is unchanged.
int chooseSaveFile(FileChoice& choice, HWND owner, int list);
