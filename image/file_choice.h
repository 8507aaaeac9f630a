#pragma once
// The record a file dialog fills, the dialogs' filter lists, and the file-name
// tests that decide how a file is loaded. Texts are UTF-16; nothing here
// touches the platform.
#include <cstddef>
#include <cstdint>

constexpr size_t kFileTitleLength = 260;  // code units, terminator included
constexpr size_t kFilePathLength = 520;

struct FileChoice {
    char16_t fileTitle[kFileTitleLength];
    char16_t filePath[kFilePathLength];
    int32_t filterIndexNormal;  // last filter chosen in an image save dialog
    int32_t filterIndexMask;    // last filter chosen in a mask save dialog
};

// Copies `path` into filePath and its file name part (after the last '\\',
// '/' or ':') into fileTitle. Texts too long for their buffers are cut; the
// result is false when the path itself was cut, because a cut path names a
// different file and must not be opened.
bool setChoiceFromPath(FileChoice& choice, const char16_t* path);
// Empties both names and sets both filter indexes to 0.
void clearChoice(FileChoice& choice);
// Empties both names and keeps the filter indexes.
void clearChoiceNames(FileChoice& choice);
void copyChoice(FileChoice& destination, const FileChoice& source);

// True when the text from the last '.' of `path` to its end equals `ext`
// (dot included) ignoring case. Null arguments and names without a dot
// match nothing.
bool hasExtension(const char16_t* path, const char16_t* ext);
// The image file list takes ".bmp", ".jpg", ".gif" and ".png" files only.
bool isListableImage(const char16_t* path);

// Which decoder a file is given to, chosen by its extension alone.
enum class ImageLoader {
    None,     // not an image extension: the file is not even opened
    Png,      // ".png": libpng only, never another decoder
    Bitmap,   // ".bmp", ".dib": the platform bitmap loader, then the picture loader
    Picture,  // ".jpg", ".jpeg", ".jpe", ".gif": the platform picture loader
};
ImageLoader imageLoaderFor(const char16_t* path);

// Filter lists in the platform's dialog format: pairs of display text and
// pattern, each NUL-terminated, the list ended by a second NUL.
extern const char16_t kOpenFilter[];
constexpr int kImageSaveList = 0;
constexpr int kMaskSaveList = 1;
// The filter list and default extension of a save list; null for another list.
const char16_t* saveFilter(int list);
const char16_t* saveDefaultExtension(int list);

// The writer behind a filter index of the image save list.
enum class ImageWriter { Png32, Png24, Bmp32, Bmp24 };
ImageWriter imageWriterFor(int32_t filterIndex);

// The writer behind a filter index of the mask save list.
enum class MaskWriter { GreyBmp, Png24, Bmp24 };
MaskWriter maskWriterFor(int32_t filterIndex);
