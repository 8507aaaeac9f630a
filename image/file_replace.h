#pragma once
// Saving without ever destroying the previous file: the new content goes to a
// temporary file in the same folder, and only a complete, checked write
// replaces the target.
#include <functional>
#include <string>

#include "image/byte_stream.h"

// Runs `produce` on a sink over a fresh temporary file beside `path`. When it
// returns true and every byte reached the file, the temporary replaces
// `path`; otherwise it is deleted and `path` is left as it was.
bool replaceFileWith(const char16_t* path, const std::function<bool(ByteSink&)>& produce);

// The temporary used for `path`: "~plimsett-<process id>.tmp" in the same
// folder, so the final rename never crosses volumes and never collides with
// another running instance.
std::u16string temporaryPathFor(const char16_t* path);
