// Selecting a run of rows of a result list without a click notice (a
// restored selection must not open a document again), and opening a clicked row.
#pragma once

#include "base/object/AString.h"

class ARendererView;
class SVPane;

// Selects rows first .. last of the view's list renderer; a negative last,
// or last before first, clears the selection instead.
void SelectListRun(ARendererView* view, long first, long last);
// The row below line, kept on the list's last row.
long NextRow(long line, long lineCount);
// A row key without the markup's escapes ("http:\/\/a" is "http://a"), as a click's hit names it.
AString UnescapedKey(const AString& key);
// The click on a disc row of pane's list view: a media document opens its
// window, the document shown stays, another opens in the centre (the left
// part kept, the right part only when padlocked). Not a named link: nothing.
void OpenClickedDocument(SVPane& pane, ARendererView* view);
// The click on an online row: its address's document opens as a web page;
// an address the application does not know beeps.
void OpenClickedAddress(SVPane& pane, ARendererView* view);
