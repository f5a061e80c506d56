// A named collection of documents of the reader (a dossier), with its lines
// in "sv.dos". Changes here neither save the store nor touch the manager's
// document counts: the manager's element operations do both.
#pragma once

#include "base/object/AString.h"
#include "panes/docks/workspace/DossierElement.h"

class ADossierManager;
class AFileStream;
class AStoreReader;

class Dossier {
public:
    // name may be null (the reader sets it from the file).
    Dossier(ADossierManager* manager, const char* name);
    Dossier(const Dossier&) = delete;
    Dossier& operator=(const Dossier&) = delete;
    virtual ~Dossier() = default;

    virtual void write(AFileStream& stream) const;
    virtual void read(AStoreReader& reader);

    // The name is one line: CR and LF become spaces.
    void setName(const char* name);
    AString getName() const { return name_; }
    long getId() const { return id_; }
    void setId(long id) { id_ = id; }
    ADossierManager* manager() const { return manager_; }

    void addElement(DossierElement* element) { elements_.append(element); }
    void removeElement(DossierElement* element) { elements_.remove(element); }
    bool contains(const DossierElement& element) const { return elements_.contains(element); }
    DosElementList& elements() { return elements_; }
    const DosElementList& elements() const { return elements_; }

private:
    ADossierManager* manager_;  // not owned
    long id_ = -1;
    DosElementList elements_;
    AString name_;
};
