// The reader's notes and their markers, and their file "sv.note": the notes
// by id, one marker set (position -> note id) per document, and the marker
// callback through which the article's text renderer reports marker edits.
//
// Owns the notes, one reference on each marker set and the callback. Changes
// stay in memory until save (the note window's Save) or the destructor. A
// damaged file starts the store empty (AWorkspaceStore). Saves raise
// AFileError; the destructor's save swallows it.
#pragma once

#include <functional>

#include "base/object/ALongDic.h"
#include "panes/docks/workspace/ATypedLongDic.h"
#include "panes/docks/workspace/AWorkspaceStore.h"
#include "panes/docks/workspace/Postit.h"

class ADataManager;
class AHiliteRangeMap;
class APane;
class ASVMarkerCallBack;

// Document number -> marker set (one reference held by the note manager).
class AMarkerListLongDic : public ATypedLongDic<AHiliteRangeMap> {};

class ANoteManager : public AWorkspaceStore {
public:
    // Opens the note window on a document with a note selected (the application's).
    using NoteWindowOpener = std::function<void(long document, long noteId, APane* owner)>;

    ANoteManager(ADataManager* dataManager, const char* name);
    // The store in a reader's own folder (network installation).
    ANoteManager(ADataManager* dataManager, const AFileSpec& folder, const char* name);
    ~ANoteManager() override;

    bool hasMarkerSet(long document) const { return markers_.contains(document); }
    // A set that exists and holds a marker.
    bool hasNote(long document) const;
    // Null for a negative number; otherwise the document's set, made empty
    // when it has none. The manager keeps the reference; not the caller's.
    AHiliteRangeMap* getMarkerSet(long document);
    // Made at the first call, with the record count of table 1 of base 13.
    ASVMarkerCallBack* getMarkerCallBack();

    void addPostit(Postit* note, long id) { notes_.put(note, id); }
    Postit* findPostit(long id) const { return notes_.find(id); }
    void removePostit(long id) { notes_.remove(id); }
    // The note of the document's index-th marker in position order (moves the set's cursor).
    Postit* postitAt(long document, long index);
    // The position-order index of the document's marker carrying the id; -1 when none.
    long noteIndex(long document, long noteId) const;
    // Deletes the note and its marker; see the .cpp. Negative ids change nothing.
    bool deleteNote(long openingDocument, long document, long noteId);
    // "Note n : text" for each note of the document in marker order, CRs removed.
    AString getNotesText(long document);
    long documentCount() const { return markers_.count(); }
    long documentAt(long index) const;
    long documentIndex(long document) const;
    void purgeEmptyDocuments();
    void releaseAllMarkers();

    const PostitList& notes() const { return notes_; }
    ADataManager* dataManager() const { return dataManager_; }
    void setNoteWindowOpener(NoteWindowOpener opener) { opener_ = std::move(opener); }
    const NoteWindowOpener& noteWindowOpener() const { return opener_; }

protected:
    void readFrom(AFileStream& stream) override;
    void writeTo(AFileStream& stream) override;
    void forgetAll() override;

private:
    // Files the set under the document (its reference taken), releasing an earlier one.
    void fileSet(long document, AHiliteRangeMap* set);

    ADataManager* dataManager_;      // not owned
    ASVMarkerCallBack* callBack_ = nullptr;  // owned
    AMarkerListLongDic markers_;
    PostitList notes_;
    NoteWindowOpener opener_;
};
