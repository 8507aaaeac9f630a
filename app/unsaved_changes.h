#pragma once
// The question asked when the main window closes over unsaved changes.
#include <string>
#include <string_view>

// "%s へ変更を保存しますか？" naming the file, or the plain question without one.
std::u16string closePromptText(std::u16string_view fileTitle);
