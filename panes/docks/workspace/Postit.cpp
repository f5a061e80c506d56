// Notes and the note list.
#include "panes/docks/workspace/Postit.h"

#include <cstdint>
#include <cstring>

#include "base/procedural/AError.h"
#include "panes/docks/workspace/StoreLines.h"

void Postit::setText(const char* text) {
    text_ = text ? Translated(text, static_cast<long>(std::strlen(text)), "\x01\x02", "  ") : AString();
}

// A note: its text on one line (LF as byte 1, CR as byte 2), then its id.
void Postit::write(AFileStream& stream) const {
    AString line = Translated(text_.c_str(), text_.length(), "\n\r", "\x01\x02");
    WriteStoreLine(stream, line.c_str());
    WriteStoreNumber(stream, id_);
}

void Postit::read(AStoreReader& reader) {
    AString line = reader.line();
    text_ = Translated(line.c_str(), line.length(), "\x01\x02", "\n\r");
    id_ = reader.number();
}

void PostitList::put(Postit* note, long id) {
    void*& slot = notes_.slot(id);
    Postit* old = static_cast<Postit*>(slot);
    slot = note;
    if (old != note)
        delete old;
}

void PostitList::remove(long id) {
    Pix p = notes_.seek(id);
    if (!p)
        return;
    delete notes_.valueOf(p);
    notes_.removeKey(id);
}

void PostitList::clear() {
    for (Pix p = notes_.first(); p; notes_.next(p))
        delete notes_.valueOf(p);
    notes_.clear();
}

// The count ("%d"; read as an unsigned 16-bit number), then the notes in
// ascending id. A later note of the same id replaces an earlier one.
void PostitList::write(AFileStream& stream) const {
    WriteStoreNumber(stream, notes_.count());
    for (Pix p = notes_.first(); p; notes_.next(p))
        notes_.valueOf(p)->write(stream);
}

void PostitList::read(AStoreReader& reader) {
    clear();
    auto count = static_cast<uint16_t>(reader.number());
    for (unsigned i = 0; i < count; ++i) {
        Postit* note = CheckAlloc(new Postit(0, ""), "postit", 70);
        try {
            note->read(reader);
        } catch (...) {
            delete note;
            throw;
        }
        put(note, note->getId());
    }
}
