// The application's marker callback: gives new notes their ids, files a new
// note, opens the note window on a marker and drops the note of a deleted
// marker. Made and owned by the note manager; it serves the last text
// article shown (its renderer, document and owner pane, none of them owned).
#pragma once

#include "docengine/hilite/AMarkerCallBack.h"

class AHiliteRangeMap;
class ANoteManager;
class APane;
class ATextRenderer;

class ASVMarkerCallBack : public AMarkerCallBack {
public:
    ASVMarkerCallBack(ANoteManager* manager, long recordCount) : manager_(manager), recordCount_(recordCount) {}

    // The smallest ordinal 1..127 that no note or marker of the document
    // uses, shifted left by 24, OR the document's number (DocRecordOf); -1
    // when none is free or the number does not fit in 24 bits.
    long newMarker(AHiliteRangeMap* map, long argument) override;
    // Files "Nouvelle note" CR LF under the id and opens the note window on it.
    void markerAdded(long id) override;
    void editMarker(long id) override;
    void deleteMarker(long) override {}
    // Drops the note of the removed marker.
    void markerDeleted(long id) override;
    // The set holds the new position already; the note keeps its id.
    void markerMoved(long, long) override {}

    // The names the workspace calls the same operations by.
    long newNoteId(AHiliteRangeMap* map, long argument) { return newMarker(map, argument); }
    void newNote(long id) { markerAdded(id); }
    void editNote(long id) { editMarker(id); }
    void noteDeleting(long id) { deleteMarker(id); }
    void noteDeleted(long id) { markerDeleted(id); }
    void noteMoved(long id, long position) { markerMoved(id, position); }

    // The document's number as note ids carry it.
    long documentNumber() const;

    ATextRenderer* renderer = nullptr;  // not owned
    long document = 0;
    APane* owner = nullptr;  // not owned

private:
    void openNoteWindow(long id);

    ANoteManager* manager_;  // not owned
    long recordCount_;
};

// Drops a marker-set reference and clears the pointer; nothing for null.
void ReleaseNoteRefAndNull(AHiliteRangeMap** set);

// The article view's binding after a text document is laid out: the
// callback's document, the renderer's note mode, callback and the document's
// marker set, then the owner. A negative document binds no set.
void ShowNotes(ANoteManager& manager, ATextRenderer& renderer, long document, APane* owner);
// The article view's unbinding before its renderer goes: the callback serves
// no renderer, and deletions reach the marker sets directly.
void ForgetNotes(ANoteManager& manager, ATextRenderer& renderer);
