#pragma once
// Windows only: the new canvas, configuration, grid, change-colour and
// version dialogs. The modal ones edit the record handed to them and report
// whether the user confirmed it; the two tool windows work on the document
// and the settings directly while they are open.
#include <windows.h>

#include "dialogs/dialog_records.h"
#include "edit/document.h"

// True after OK, with the record as the user left it.
bool runNewCanvasDialog(HINSTANCE instance, HWND owner, NewCanvasRecord& record);
// True after OK. The options are stored even by an OK that is then refused
// for its size; colours picked and a reset checkerboard stay after Cancel.
bool runConfigDialog(HINSTANCE instance, HWND owner, ConfigRecord& record, const DIB& canvas);
void runVersionDialog(HINSTANCE instance, HWND owner);

// The tool windows exist at most once: the first call creates the window,
// owned by `owner`, and stores its handle in the document; later calls show
// and activate it (the change-colour window also reloads).
void openGridDialog(HINSTANCE instance, HWND owner, Document& doc);
void openChangeColorDialog(HINSTANCE instance, HWND owner, Document& doc);
