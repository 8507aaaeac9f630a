#include "app/unsaved_changes.h"

std::u16string closePromptText(std::u16string_view fileTitle) {
    if (fileTitle.empty()) return u"変更を保存しますか？";
    std::u16string text(fileTitle);
    text += u" へ変更を保存しますか？";
    return text;
}
