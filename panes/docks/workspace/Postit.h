// One note of the reader (Postit) and the note list (PostitList), with their
// lines in "sv.note".
#pragma once

#include "base/object/AString.h"
#include "panes/docks/workspace/ATypedLongDic.h"

class AFileStream;
class AStoreReader;

// A note: free text (lines separated by CR LF) and its id. Bytes 1 and 2
// stand for LF and CR in the file, so a text never holds them: they become
// spaces, and every text a note holds is read back as it was.
class Postit {
public:
    Postit(long id, const char* text) : id_(id) { setText(text); }
    Postit(const Postit&) = delete;
    Postit& operator=(const Postit&) = delete;
    virtual ~Postit() = default;

    virtual void write(AFileStream& stream) const;
    virtual void read(AStoreReader& reader);

    long getId() const { return id_; }
    AString getText() const { return text_; }
    void setText(const char* text);

private:
    long id_;
    AString text_;
};

// Note id -> note (not owned by the dictionary).
class PostitLongDic : public ATypedLongDic<Postit> {};

// The notes by id; owns them.
class PostitList {
public:
    PostitList() = default;
    PostitList(const PostitList&) = delete;
    PostitList& operator=(const PostitList&) = delete;
    virtual ~PostitList() { clear(); }

    virtual void write(AFileStream& stream) const;
    virtual void read(AStoreReader& reader);

    // Takes the note; a note already under the id is deleted.
    void put(Postit* note, long id);
    // Null for -1 and for an id not in the list.
    Postit* find(long id) const { return id == -1 ? nullptr : notes_.at(id); }
    void remove(long id);
    void clear();
    long count() const { return notes_.count(); }
    const PostitLongDic& notes() const { return notes_; }

private:
    PostitLongDic notes_;
};
