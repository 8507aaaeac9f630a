#pragma once
// Windows only: the font image generator. A modal dialog renders the
// character codes 32 to 127 of an installed font into a 16 x 6 sheet of
// cells, for copying to the clipboard or saving as a bitmap font. Its
// parameters are settings().fontParams, changed as each control changes.
#include <windows.h>

#include "edit/document.h"
#include "image/dib_section.h"

// The save button proposes the document's file name and leaves it unchanged.
void runFontImageDialog(HINSTANCE instance, HWND owner, const Document& doc);

// The sheet with its font as the last opening left it, until the next opening.
// Not valid when the platform could not make a sheet of the size asked for.
const DIBSection& fontSheet();
