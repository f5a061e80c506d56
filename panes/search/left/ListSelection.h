// Selecting a run of rows of a result list without a click notice: a
// restored selection must not open a document again.
#pragma once

#include "base/object/AString.h"

class ARendererView;

// Selects rows first .. last of the view's list renderer; a negative last,
// or last before first, clears the selection instead.
void SelectListRun(ARendererView* view, long first, long last);
// The row below line, kept on the list's last row.
long NextRow(long line, long lineCount);
// A row key without the markup's escapes ("http:\/\/a" is "http://a"), as a click's hit names it.
AString UnescapedKey(const AString& key);
