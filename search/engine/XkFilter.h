// The filter package of the search engine: its nested start and end, and the
// work string that filtering uses for texts it must copy first.
#pragma once

struct KY_String;

// Nested start: the first creates the work string; non-zero when ready, 0 when
// it cannot be made (the start is then undone).
int EXK_PkgInit();
// Nested end: the last frees the work string.
void EXK_PkgEnd();
// The package's work string (not owned); null while the package is not started.
KY_String* EXK_WorkString();
