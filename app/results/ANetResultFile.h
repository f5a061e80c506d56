// The reader of the ".net" files that the online search saves in the
// application's temporary folder.
//
// File (bytes of the service's answer, Windows-1252):
//   category line LF                  entries "a:b:c" separated by TAB, c the
//                                     category's row count
//   row LF  ...                       one result row a line
//   [empty line]                      the rows end here (or at the file's end)
// A CR before an LF belongs to the line end; NUL bytes are dropped. A line longer than kMaxLine
// ends the reading: the rows before it are kept.
//
// The name comes from the history: only a plain name (no '\', '/', ':', no
// "..", not empty) is read, inside the given folder, with ".net" added.
#pragma once

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

struct ANetResult {
    AString categoryLine;
    AString resultText;  // the rows, each followed by LF
    long rowCount = 0;
};

class ANetResultFile {
public:
    static const long kMaxLine = 65536;
    static const long kMaxRows = 100000;

    // True when the name is a plain file name.
    static bool isPlainName(const char* name);
    // Fills result from folder\name.net; false (result empty) for a refused
    // name or a file that cannot be opened.
    static bool read(const AFileSpec& folder, const char* name, ANetResult* result);
};

// The categories of a category line, one "a TAB b TAB c" line each (missing
// parts empty); nonEmpty counts the entries whose third part is not "0".
AString FormatNetCategories(const char* categoryLine, int16_t* nonEmpty);
