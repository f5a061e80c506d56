// Dossier elements and their list.
#include "panes/docks/workspace/DossierElement.h"

#include <cstdint>

#include "base/procedural/AError.h"
#include "panes/docks/workspace/StoreLines.h"

long DocumentKeyOf(long reference, int16_t kind) {
    uint32_t high = static_cast<uint32_t>(static_cast<int32_t>(kind)) << 24;
    return static_cast<long>(static_cast<int32_t>(high | static_cast<uint32_t>(reference)));
}

long DossierElement::documentKey() const {
    return DocumentKeyOf(reference, kind);
}

// An element: "ELEM", kind ("%ld" of the signed 16-bit kind), reference,
// tag ("REF"), tagValue ("10"); the token is not checked on reading.
void DossierElement::write(AFileStream& stream) const {
    WriteStoreLine(stream, "ELEM");
    WriteStoreNumber(stream, kind);
    WriteStoreNumber(stream, reference);
    WriteStoreLine(stream, OneLine(tag.c_str()).c_str());
    WriteStoreLine(stream, OneLine(tagValue.c_str()).c_str());
}

void DossierElement::read(AStoreReader& reader) {
    reader.line();
    kind = static_cast<int16_t>(reader.number());
    reference = reader.number();
    tag = reader.line();
    tagValue = reader.line();
}

DosElementList::~DosElementList() {
    clear();
}

DossierElement* DosElementList::elementAt(long position) const {
    if (position < 0 || position >= count())
        return nullptr;
    const ALink* link = const_cast<DosElementList*>(this)->firstLink();
    for (long i = 0; i < position; ++i)
        link = link->next;
    return static_cast<DossierElement*>(static_cast<const APlink*>(link)->value);
}

void DosElementList::remove(DossierElement* element) {
    if (!element)
        return;
    short before = count();
    Alist::remove(element);
    if (count() != before)
        delete element;
}

bool DosElementList::contains(const DossierElement& element) const {
    for (long i = 0; i < count(); ++i)
        if (elementAt(i)->equals(element))
            return true;
    return false;
}

void DosElementList::clear() {
    while (!empty())
        delete static_cast<DossierElement*>(removeFirst());
}

void DosElementList::countDocuments(ALongLongDic& counts) const {
    AListIterator it(const_cast<DosElementList*>(this));
    for (void* value = it.first(); value; value = it.next())
        ++counts.slot(static_cast<DossierElement*>(value)->documentKey());
}

// The count ("%d" of the 16-bit count), then the elements in list order.
void DosElementList::write(AFileStream& stream) const {
    WriteStoreNumber(stream, count());
    AListIterator it(const_cast<DosElementList*>(this));
    for (void* value = it.first(); value; value = it.next())
        static_cast<DossierElement*>(value)->write(stream);
}

void DosElementList::read(AStoreReader& reader) {
    clear();
    long written = reader.number();
    if (written < 0 || written > 0x7FFF)
        reader.damaged();
    for (long i = 0; i < written; ++i) {
        DossierElement* element = CheckAlloc(new DossierElement, "dossier", 120);
        try {
            element->read(reader);
        } catch (...) {
            delete element;
            throw;
        }
        if (element->reference == -1)
            delete element;
        else
            append(element);
    }
}
