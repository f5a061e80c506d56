// The application's marker callback and the article view's binding.
#include "panes/docks/workspace/ASVMarkerCallBack.h"

#include "app/data/ADataManager.h"
#include "base/procedural/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/docks/workspace/ANoteManager.h"

long ASVMarkerCallBack::documentNumber() const {
    return DocRecordOf(document, recordCount_);
}

// Counting the markers would give a deleted note's successor the ordinal of
// a note still there; the smallest free ordinal is unique and stays positive.
long ASVMarkerCallBack::newMarker(AHiliteRangeMap* map, long) {
    long number = documentNumber();
    if (number < 0 || number > 0xFFFFFF)
        return -1;
    for (long ordinal = 1; ordinal < 128; ++ordinal) {
        long id = ordinal << 24 | number;
        if ((map && map->findHit(id)) || manager_->findPostit(id))
            continue;
        return id;
    }
    return -1;
}

void ASVMarkerCallBack::markerAdded(long id) {
    manager_->addPostit(CheckAlloc(new Postit(id, "Nouvelle note\r\n"), "postit", 30), id);
    openNoteWindow(id);
}

void ASVMarkerCallBack::editMarker(long id) {
    openNoteWindow(id);
}

void ASVMarkerCallBack::markerDeleted(long id) {
    manager_->deleteNote(-1, document, id);
}

void ASVMarkerCallBack::openNoteWindow(long id) {
    if (const ANoteManager::NoteWindowOpener& open = manager_->noteWindowOpener())
        open(document, id, owner);
}

void ReleaseNoteRefAndNull(AHiliteRangeMap** set) {
    if (set)
        ReleaseAndNull(*set);
}

void ShowNotes(ANoteManager& manager, ATextRenderer& renderer, long document, APane* owner) {
    ASVMarkerCallBack* callBack = manager.getMarkerCallBack();
    callBack->document = document;
    renderer.noteMode = 1;
    renderer.markerCallBack = callBack;
    callBack->renderer = &renderer;
    if (document < 0)
        return;
    if (ADocModel* model = renderer.model())
        model->setNoteMarkers(manager.getMarkerSet(document));
    callBack->owner = owner;
}

void ForgetNotes(ANoteManager& manager, ATextRenderer& renderer) {
    ASVMarkerCallBack* callBack = manager.getMarkerCallBack();
    if (callBack->renderer != &renderer)
        return;
    callBack->renderer = nullptr;
    callBack->owner = nullptr;
    if (renderer.markerCallBack == callBack)
        renderer.markerCallBack = nullptr;
}
