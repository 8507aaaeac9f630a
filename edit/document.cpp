#include "edit/document.h"

#include <algorithm>
#include <iterator>
#include <string_view>

void setDropPath(Document& doc, const char16_t* path) {
    const std::u16string_view text(path ? path : u"");
    const size_t kept = std::min(text.size(), std::size(doc.dropPath) - 1);
    std::copy_n(text.begin(), kept, doc.dropPath);
    doc.dropPath[kept] = u'\0';
    doc.dropPathCut = kept < text.size();
}

void countEvent(Document& doc, DocumentEvent event) {
    switch (event) {
    case DocumentEvent::Edited:
        doc.editCount += 1;
        doc.modifiedFlag = 1;
        break;
    case DocumentEvent::Undone:
        doc.editCount -= 1;
        doc.modifiedFlag = 0;
        break;
    case DocumentEvent::Redone:
        doc.editCount += 1;
        doc.modifiedFlag = 0;
        break;
    case DocumentEvent::Saved:
        doc.editCount = 0;
        doc.modifiedFlag = 0;
        break;
    case DocumentEvent::Opened:
        // Opening over unsaved work keeps counting as a change, so closing still asks.
        if (doc.hasUnsavedChanges()) countEvent(doc, DocumentEvent::Edited);
        break;
    }
}
