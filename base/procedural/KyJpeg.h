// The JPEG library's source manager over a KY_File: the decompressor reads
// its compressed bytes from the file's current position, 4096 at a time.
//
// Failures go through the decompressor's own error manager (its error_exit
// must longjmp back to the caller's frame): an empty file is the library
// error JERR_INPUT_EMPTY; a stream that ends early is the warning
// JWRN_JPEG_EOF and a synthetic end-of-image marker. The library keeps its
// own memory back-end (no backing store).
#pragma once

// clang-format off
#include <cstdio>  // first: jpeglib.h uses FILE without declaring it
#include <jpeglib.h>
// clang-format on

struct KY_File;

// Installs (or reuses) the source manager; its record and buffer come from the
// decompressor's permanent pool (new ones when another kind of manager is
// installed). The file is not owned and must outlive the decoding.
void KY_JpegStreamSrc(j_decompress_ptr cinfo, KY_File* file);
// The same over at most length bytes from the file's current position (an
// image inside a bigger file): past them the stream reads as cut short.
void KY_JpegStreamSrcRange(j_decompress_ptr cinfo, KY_File* file, long length);
