// The platform's open and save file dialogs.
#include "image/file_dialogs.h"

#include <commdlg.h>

#include <algorithm>

#include "image/scoped_handles.h"

bool chooseOpenFile(FileChoice& choice, HWND owner, bool multiSelect) {
    choice.filePath[0] = u'\0';
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = asWide(kOpenFilter);
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = asWide(choice.filePath);
    dialog.nMaxFile = kFilePathLength;
    dialog.lpstrFileTitle = asWide(choice.fileTitle);
    dialog.nMaxFileTitle = kFileTitleLength;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (multiSelect) dialog.Flags |= OFN_ALLOWMULTISELECT;
    return GetOpenFileNameW(&dialog) != FALSE;
}

int chooseSaveFile(FileChoice& choice, HWND owner, int list) {
    const wchar_t* filter = asWide(saveFilter(list));
    if (filter == nullptr) return 0;
    int32_t& remembered =
        list == kImageSaveList ? choice.filterIndexNormal : choice.filterIndexMask;

    // The dialog works on copies, so a cancelled dialog cannot leave anything
    // behind in the choice.
    FileChoice edited;
    copyChoice(edited, choice);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = static_cast<DWORD>(std::max<int32_t>(remembered, 0));
    dialog.lpstrFile = asWide(edited.filePath);
    dialog.nMaxFile = kFilePathLength;
    dialog.lpstrFileTitle = asWide(edited.fileTitle);
    dialog.nMaxFileTitle = kFileTitleLength;
    dialog.lpstrDefExt = asWide(saveDefaultExtension(list));
    dialog.Flags = OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameW(&dialog)) return 0;

    copyChoice(choice, edited);
    remembered = static_cast<int32_t>(dialog.nFilterIndex);
    return remembered;
}
