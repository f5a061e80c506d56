// The note store.
#include "panes/docks/workspace/ANoteManager.h"

#include <vector>

#include "app/data/ADataManager.h"
#include "base/procedural/AError.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/docks/workspace/ASVMarkerCallBack.h"
#include "panes/docks/workspace/StoreLines.h"
#include "search/facade/ASearchBase.h"

ANoteManager::ANoteManager(ADataManager* dataManager, const char* name)
    : AWorkspaceStore(name), dataManager_(dataManager) {
    loadStore();
}

ANoteManager::ANoteManager(ADataManager* dataManager, const AFileSpec& folder, const char* name)
    : AWorkspaceStore(folder, name), dataManager_(dataManager) {
    loadStore();
}

ANoteManager::~ANoteManager() {
    saveQuietly();
    releaseAllMarkers();
    // A store read again (a reader identified, a work restored) goes while the
    // article still shows: its renderer must not keep this callback.
    if (callBack_ && callBack_->renderer && callBack_->renderer->markerCallBack == callBack_)
        callBack_->renderer->markerCallBack = nullptr;
    delete callBack_;
}

void ANoteManager::forgetAll() {
    releaseAllMarkers();
    notes_.clear();
}

bool ANoteManager::hasNote(long document) const {
    AHiliteRangeMap* set = markers_.at(document);
    return set && set->count() > 0;
}

AHiliteRangeMap* ANoteManager::getMarkerSet(long document) {
    if (document < 0)
        return nullptr;
    if (AHiliteRangeMap* set = markers_.at(document))
        return set;
    AHiliteRangeMap* set = CheckAlloc(new AHiliteRangeMap, "postit", 60);
    fileSet(document, set);
    return set;
}

void ANoteManager::fileSet(long document, AHiliteRangeMap* set) {
    set->addRef();
    void*& slot = markers_.slot(document);
    AHiliteRangeMap* old = static_cast<AHiliteRangeMap*>(slot);
    slot = set;
    ReleaseNoteRefAndNull(&old);
}

ASVMarkerCallBack* ANoteManager::getMarkerCallBack() {
    if (!callBack_) {
        // Table 1 of base 13: the document information records.
        long records = 0;
        if (dataManager_ && dataManager_->getBaseCount() > 13)
            if (ASearchBase* base = dataManager_->getBase(13))
                records = base->getRecordCount(1);
        callBack_ = CheckAlloc(new ASVMarkerCallBack(this, records), "postit", 80);
    }
    return callBack_;
}

Postit* ANoteManager::postitAt(long document, long index) {
    AHiliteRangeMap* set = markers_.at(document);
    if (!set)
        return nullptr;
    set->gotoIndex(index);
    return findPostit(set->hitEnd());
}

long ANoteManager::noteIndex(long document, long noteId) const {
    AHiliteRangeMap* set = markers_.at(document);
    if (!set || !set->findHit(noteId))
        return -1;
    return set->currentIndex();
}

// The note goes from the list. Its marker goes through the article's renderer
// only when that renderer shows this very set for the document the note
// window was opened on, so the article redraws; otherwise it is removed from
// the document's own set directly. The renderer reports the removal back
// (markerDeleted), which finds note and marker gone. True when a marker was
// removed directly, or when the set shown is empty afterwards.
bool ANoteManager::deleteNote(long openingDocument, long document, long noteId) {
    if (noteId < 0)
        return false;
    removePostit(noteId);
    AHiliteRangeMap* set = markers_.at(document);
    if (!set)
        return false;
    ATextRenderer* renderer = callBack_ ? callBack_->renderer : nullptr;
    bool shown = document == openingDocument && renderer && renderer->markerCallBack && renderer->model() &&
                 renderer->model()->getAttachment() == set;
    if (!shown) {
        if (!set->removeValue(noteId))
            return false;
        set->notify(201, 0);
        return true;
    }
    if (set->findHit(noteId))
        renderer->deleteNoteAt(set->hitStart());
    return set->count() == 0;
}

AString ANoteManager::getNotesText(long document) {
    AString text;
    AHiliteRangeMap* set = markers_.at(document);
    if (!set)
        return text;
    long n = 1;
    for (set->first(-1); set->currentIndex() < set->count(); set->next()) {
        long id = set->hitEnd();
        Postit* note = id >= 0 ? findPostit(id) : nullptr;
        if (!note)
            continue;
        text += "Note ";
        text += AString(n++);
        text += " : ";
        text += note->getText().withoutChars("\r");
    }
    return text;
}

long ANoteManager::documentAt(long index) const {
    long i = 0;
    for (Pix p = markers_.first(); p; markers_.next(p), ++i)
        if (i == index)
            return markers_.keyOf(p);
    return -1;
}

long ANoteManager::documentIndex(long document) const {
    long i = 0;
    for (Pix p = markers_.first(); p; markers_.next(p), ++i)
        if (markers_.keyOf(p) == document)
            return i;
    return -1;
}

void ANoteManager::purgeEmptyDocuments() {
    std::vector<long> empty;
    for (Pix p = markers_.first(); p; markers_.next(p))
        if (markers_.valueOf(p)->count() == 0)
            empty.push_back(markers_.keyOf(p));
    for (long document : empty) {
        AHiliteRangeMap* set = markers_.at(document);
        markers_.removeKey(document);
        ReleaseNoteRefAndNull(&set);
    }
}

void ANoteManager::releaseAllMarkers() {
    for (Pix p = markers_.first(); p; markers_.next(p)) {
        AHiliteRangeMap* set = markers_.valueOf(p);
        ReleaseNoteRefAndNull(&set);
    }
    markers_.clear();
}

// "sv.note", lines ended by CR LF:
//   N              number of notes (read as an unsigned 16-bit number)
//   N times, in ascending id:
//     text         the note on one line: LF as byte 1, CR as byte 2
//     id           the note id (ordinal << 24 | document number)
//   D              number of documents with a marker set (below 1: none)
//   D times, in ascending document number:
//     document     the document number
//     markers      "position,id," for each marker in ascending position;
//                  empty for an empty set; negative values keep their '-'
// A count beyond the file's end or a line that is not a number where one is
// due is a damaged file.
void ANoteManager::readFrom(AFileStream& stream) {
    AStoreReader reader(stream, name().c_str());
    releaseAllMarkers();
    notes_.read(reader);
    long documents = reader.number();
    for (long i = 0; i < documents; ++i) {
        long document = reader.number();
        AHiliteRangeMap* set = CheckAlloc(new AHiliteRangeMap, "postit", 200);
        set->addRef();
        try {
            set->parse(reader.line().c_str());
        } catch (...) {
            set->release();
            throw;
        }
        fileSet(document, set);
        set->release();
    }
}

void ANoteManager::writeTo(AFileStream& stream) {
    notes_.write(stream);
    WriteStoreNumber(stream, markers_.count());
    for (Pix p = markers_.first(); p; markers_.next(p)) {
        WriteStoreNumber(stream, markers_.keyOf(p));
        WriteStoreLine(stream, markers_.valueOf(p)->toLine().c_str());
    }
}
