// Selecting a run of rows of a result list without a click notice (a
// restored selection must not open a document again), and opening a clicked row.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class AEditBox;
class ALineGetter;
class AppState;
class LROptionsAfficherDVDPane;
class ARenderer;
class ARendererView;
class DockLCRPane;
class ListPane;
class SVPane;

// Selects rows first .. last of the view's list renderer; a negative last,
// or last before first, clears the selection instead.
void SelectListRun(ARendererView* view, long first, long last);
// The row below line, kept on the list's last row.
long NextRow(long line, long lineCount);
// A row key without the markup's escapes ("http:\/\/a" is "http://a"), as a click's hit names it.
AString UnescapedKey(const AString& key);

// The renderer of a click on an index row's entry (hit kinds 1 to 3), else null.
ARenderer* IndexEntryHit(ARendererView* view);

// Shows document docNo for a result list: through the centre switcher when
// there is one, else in a new state of the list's frame (keeping the search
// and the left part, the right part when keepRight). A negative docNo does nothing.
void OpenListDocument(SVPane* list, DockLCRPane* lcr, long docNo, int16_t screenMode, int16_t keepRight);
// A click on a result list's row: a link hit with a document number opens the
// media window of a media document, nothing for the current document, else
// the document (keeping the right part while it is padlocked, unless
// keepPadlockedRight is false: the new document then brings its own).
void OpenClickedListRow(SVPane* list, DockLCRPane* lcr, ARendererView* view, bool keepPadlockedRight = true);
// The click on an online row: its address's document opens as a web page;
// an address the application does not know beeps.
void OpenClickedAddress(SVPane& pane, ARendererView* view);

// Whether a disc list's refresh may open the document of its selected row:
// the state follows no link, its document is not padlocked, and the row is
// no media document.
bool RefreshMayOpenRow(LROptionsAfficherDVDPane& list, AppState* cur);

// The rows of a lexicon in an index list: getter becomes the list's line
// getter and its view's model, with the kytab tables of its rows.
void ShowLexiconRows(ListPane* list, ALineGetter* getter);
// The refresh of an index list with a typed text: a new left part empties
// the field and the selection, a part from the history restores the text
// (under textKey) and the selection; the selection is shown (none makes the
// state temporary unless it is a link) and typing goes to the field.
void RestoreTypedList(ListPane* list, AEditBox* field, int16_t textKey);
