// File choice record, dialog filter lists and extension tests.
#include "image/file_choice.h"

#include <string>

namespace {

using Traits = std::char_traits<char16_t>;

char16_t foldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Copies at most capacity - 1 code units and a terminator; never leaves half
// of a surrogate pair at the end. True when everything fitted.
bool copyCut(char16_t* destination, size_t capacity, const char16_t* text) {
    const size_t length = Traits::length(text);
    size_t count = length < capacity - 1 ? length : capacity - 1;
    if (count < length && count > 0 && isHighSurrogate(text[count - 1])) --count;
    Traits::copy(destination, text, count);
    destination[count] = u'\0';
    return count == length;
}

const char16_t* fileNamePart(const char16_t* path) {
    const char16_t* name = path;
    for (const char16_t* p = path; *p != u'\0'; ++p) {
        if (*p == u'\\' || *p == u'/' || *p == u':') name = p + 1;
    }
    return name;
}

constexpr char16_t kImageSaveFilter[] =
    u" PNG32(*.png)\0*.png\0"
    u" PNG24(*.png)\0*.png\0"
    u" 32bitビットマップ(*.bmp)\0*.bmp\0"
    u" 24bitビットマップ(*.bmp)\0*.bmp\0";

constexpr char16_t kMaskSaveFilter[] =
    u"グレイスケール(*.bmp)\0*.bmp\0"
    u"PNG24(*.png)\0*.png\0"
    u"BMP24(*.bmp)\0*.bmp\0";

}  // namespace

// The literal's own terminator is the list's second NUL.
const char16_t kOpenFilter[] =
    u"All Supported Type\0*.png;*.bmp;*.jpg;*.jpeg;*.gif\0"
    u"PNG(*.png)\0*.png\0"
    u"ビットマップ(*.bmp)\0*.bmp\0"
    u"JPEG(*.jpg,*.jpeg)\0*.jpg;*.jpeg\0"
    u"GIF(*.gif)\0*.gif\0"
    u"すべて(*.*)\0*.*\0";

bool setChoiceFromPath(FileChoice& choice, const char16_t* path) {
    if (path == nullptr) path = u"";
    const bool whole = copyCut(choice.filePath, kFilePathLength, path);
    copyCut(choice.fileTitle, kFileTitleLength, fileNamePart(path));
    return whole;
}

void clearChoice(FileChoice& choice) {
    clearChoiceNames(choice);
    choice.filterIndexNormal = 0;
    choice.filterIndexMask = 0;
}

void clearChoiceNames(FileChoice& choice) {
    choice.fileTitle[0] = u'\0';
    choice.filePath[0] = u'\0';
}

void copyChoice(FileChoice& destination, const FileChoice& source) {
    if (&destination == &source) return;
    destination.filterIndexNormal = source.filterIndexNormal;
    destination.filterIndexMask = source.filterIndexMask;
    copyCut(destination.fileTitle, kFileTitleLength, source.fileTitle);
    copyCut(destination.filePath, kFilePathLength, source.filePath);
}

bool hasExtension(const char16_t* path, const char16_t* ext) {
    if (path == nullptr || ext == nullptr) return false;
    const char16_t* dot = nullptr;
    for (const char16_t* p = path; *p != u'\0'; ++p) {
        if (*p == u'.') dot = p;
    }
    if (dot == nullptr) return false;
    for (; *dot != u'\0' && *ext != u'\0'; ++dot, ++ext) {
        if (foldAscii(*dot) != foldAscii(*ext)) return false;
    }
    return *dot == u'\0' && *ext == u'\0';
}

bool isListableImage(const char16_t* path) {
    return hasExtension(path, u".bmp") || hasExtension(path, u".jpg") ||
           hasExtension(path, u".gif") || hasExtension(path, u".png");
}

ImageLoader imageLoaderFor(const char16_t* path) {
    if (hasExtension(path, u".png")) return ImageLoader::Png;
    if (hasExtension(path, u".bmp") || hasExtension(path, u".dib")) return ImageLoader::Bitmap;
    if (hasExtension(path, u".jpg") || hasExtension(path, u".jpeg") ||
        hasExtension(path, u".jpe") || hasExtension(path, u".gif")) {
        return ImageLoader::Picture;
    }
    return ImageLoader::None;
}

const char16_t* saveFilter(int list) {
    if (list == kImageSaveList) return kImageSaveFilter;
    if (list == kMaskSaveList) return kMaskSaveFilter;
    return nullptr;
}

const char16_t* saveDefaultExtension(int list) {
    if (list == kImageSaveList) return u"png";
    if (list == kMaskSaveList) return u"bmp";
    return nullptr;
}

ImageWriter imageWriterFor(int32_t filterIndex) {
    switch (filterIndex) {
    case 2: return ImageWriter::Png24;
    case 3: return ImageWriter::Bmp32;
    case 4: return ImageWriter::Bmp24;
    default: return ImageWriter::Png32;
    }
}

MaskWriter maskWriterFor(int32_t filterIndex) {
    switch (filterIndex) {
    case 2: return MaskWriter::Png24;
    case 3: return MaskWriter::Bmp24;
    default: return MaskWriter::GreyBmp;
    }
}
