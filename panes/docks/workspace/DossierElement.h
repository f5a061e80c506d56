// One document of a dossier (DossierElement) and a dossier's elements
// (DosElementList), with their lines in "sv.dos".
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/AString.h"
#include "base/object/Alist.h"

class AFileStream;
class AStoreReader;

// A document of the bases (kind 0, the document reference) or a page of the
// online service (kind 1, the online store's page number).
class DossierElement {
public:
    enum : int16_t { kBaseDocument = 0, kOnlinePage = 1 };

    DossierElement() = default;
    DossierElement(const DossierElement&) = default;
    DossierElement& operator=(const DossierElement&) = default;
    virtual ~DossierElement() = default;

    virtual void write(AFileStream& stream) const;
    virtual void read(AStoreReader& reader);

    // Kind and reference: an online page P and a base document P differ.
    bool equals(const DossierElement& other) const { return reference == other.reference && kind == other.kind; }
    // The kind shifted left by 24 bits, OR the reference.
    long documentKey() const;

    long reference = -1;
    int16_t kind = 0;
    AString tagValue;
    AString tag;
};

// The key of the document counts: kind << 24 | reference.
long DocumentKeyOf(long reference, int16_t kind);

// The elements in insertion order; owns them. Counts are 16-bit (the file's).
class DosElementList : public Alist {
public:
    DosElementList() = default;
    ~DosElementList() override;

    virtual void write(AFileStream& stream) const;
    // Replaces the elements by those of the file; elements of reference -1 are dropped.
    virtual void read(AStoreReader& reader);

    // Takes the element; null is ignored.
    void append(DossierElement* element) { Alist::append(element); }
    // Null outside 0..count-1.
    DossierElement* elementAt(long position) const;
    // Unlinks and deletes the element.
    void remove(DossierElement* element);
    bool contains(const DossierElement& element) const;
    void clear();
    // Adds one to counts[key] for each element.
    void countDocuments(ALongLongDic& counts) const;
};
