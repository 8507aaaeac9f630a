#pragma once
// PNG reading and writing with libpng, on byte sources and sinks, so the same
// code serves files (Win32 side), memory (tests, benchmarks) and the fuzzer.
#include <cstddef>

#include "image/byte_stream.h"
#include "image/dib.h"

// Results of decodePng.
constexpr int kPngFailed = 0;
constexpr int kPngOpaqueSource = 1;       // no alpha channel and no tRNS: alpha bytes are 0
constexpr int kPngTransparentSource = 2;  // alpha channel or tRNS: alpha bytes are the file's

// Decodes a whole PNG file from `source` into `target` (blue, green, red,
// alpha; rows bottom-up). Samples are taken as stored: no gamma, colour
// profile, significant-bits or background handling. The image is built aside
// and replaces the target only when decoding succeeded; on failure the target
// is left as it was. Every library error ends in kPngFailed.
int decodePng(ByteSource& source, DIB& target);

// decodePng over a file held in memory.
int decodePngBytes(const void* data, size_t size, DIB& target);

// RGBA, 8 bits per channel, with sBIT 8, 8, 8, 8; rows from the top. False on
// an empty image, a library error or a failed write.
bool encodePng32(const DIB& image, ByteSink& sink);

// RGB, 8 bits per channel: the alpha byte is dropped, colours are kept as
// stored (no compositing).
bool encodePng24(const DIB& image, ByteSink& sink);
