// The dossier store.
#include "panes/docks/workspace/ADossierManager.h"

#include "base/procedural/AError.h"
#include "panes/docks/workspace/StoreLines.h"

ADossierManager::ADossierManager(ADataManager* dataManager, int16_t value, const AFileSpec& folder, const char* name)
    : AWorkspaceStore(folder, name), dataManager_(dataManager), value_(value) {
    loadStore();
}

ADossierManager::ADossierManager(ADataManager* dataManager, int16_t value, const char* name)
    : AWorkspaceStore(name), dataManager_(dataManager), value_(value) {
    loadStore();
}

ADossierManager::~ADossierManager() {
    saveQuietly();
    deleteAll();
}

void ADossierManager::deleteAll() {
    for (Pix p = dossiers_.first(); p; dossiers_.next(p))
        delete dossiers_.valueOf(p);
    dossiers_.clear();
    order_.clear();
    counts_.clear();
    nextId_ = 0;
    currentId_ = -1;
}

Dossier* ADossierManager::newDossier(const char* name) {
    return CheckAlloc(new Dossier(this, name), "dossier", 60);
}

Dossier* ADossierManager::getDossierAt(long position) const {
    if (order_.empty())
        return nullptr;
    Pix p = order_.seek(position);
    if (!p)
        p = order_.seek(0);
    return p ? findDossier(order_.numberOf(p)) : nullptr;
}

long ADossierManager::documentCount(long key) const {
    Pix p = counts_.seek(key);
    return p ? counts_.numberOf(p) : 0;
}

long ADossierManager::positionOf(long id) const {
    for (Pix p = order_.first(); p; order_.next(p))
        if (order_.numberOf(p) == id)
            return order_.keyOf(p);
    return -1;
}

Dossier* ADossierManager::createDossier(const char* name, int16_t makeCurrent) {
    Dossier* dossier = newDossier(name);
    addDossier(dossier);
    if (makeCurrent)
        currentId_ = dossier->getId();
    return dossier;
}

void ADossierManager::addDossier(Dossier* dossier) {
    if (!dossier)
        ThrowAssert("dossier", 110);
    long n = dossiers_.count();
    long id = nextId();
    dossier->setId(id);
    dossiers_.slot(id) = dossier;
    order_.slot(n) = id;
    dossier->elements().countDocuments(counts_);
}

void ADossierManager::removeDossier(long id) {
    long position = -1;
    long expected = 0;
    for (Pix p = order_.first(); p; order_.next(p), ++expected) {
        if (order_.keyOf(p) != expected)
            ThrowAssert("dossier", 125);
        if (order_.numberOf(p) == id && position < 0)
            position = expected;
    }
    if (position < 0)
        return;
    long last = order_.count() - 1;
    for (long i = position; i < last; ++i) {
        Pix next = order_.seek(i + 1);
        if (!next)
            ThrowAssert("dossier", 135);
        order_.slot(i) = order_.numberOf(next);
    }
    order_.removeKey(last);
    Dossier* dossier = findDossier(id);
    dossiers_.removeKey(id);
    delete dossier;
    recount();
    save();
}

DossierElement* ADossierManager::newElement(long reference) {
    DossierElement* element = CheckAlloc(new DossierElement, "dossier", 150);
    element->reference = reference;
    element->tagValue = "10";
    element->tag = "REF";
    return element;
}

void ADossierManager::addElementStrict(Dossier* dossier, DossierElement* element, int16_t bulk) {
    if (!dossier || !element)
        ThrowAssert("dossier", 160);
    addElement(dossier, element, bulk);
}

void ADossierManager::addElement(Dossier* dossier, DossierElement* element, int16_t bulk) {
    if (!dossier || !element)
        ThrowAssert("dossier", 166);
    dossier->addElement(element);
    if (!bulk)
        ++counts_.slot(element->documentKey());
    save();
}

DossierElement* ADossierManager::elementAt(Dossier* dossier, long position, int16_t mode) const {
    if (!dossier || mode != 0 || position < 0 || position >= dossier->elements().count())
        ThrowAssert("dossier", 175);
    return dossier->elements().elementAt(position);
}

void ADossierManager::removeElement(Dossier* dossier, DossierElement* element, int16_t bulk) {
    if (!dossier || !element)
        ThrowAssert("dossier", 181);
    if (!bulk) {
        long key = element->documentKey();
        Pix p = counts_.seek(key);
        if (p && --counts_.slot(key) <= 0)
            counts_.removeKey(key);
    }
    dossier->removeElement(element);
    save();
}

void ADossierManager::removeElementAt(Dossier* dossier, long position, int16_t mode) {
    removeElement(dossier, elementAt(dossier, position, mode), 0);
}

void ADossierManager::recount() {
    counts_.clear();
    for (Pix p = dossiers_.first(); p; dossiers_.next(p)) {
        Dossier* dossier = dossiers_.valueOf(p);
        if (!dossier)
            ThrowAssert("dossier", 200);
        dossier->elements().countDocuments(counts_);
    }
}

void ADossierManager::setDefaults() {
    deleteAll();
    createDossier(getDefaultName(), 1);
}

// "sv.dos", lines ended by CR LF, read by position (tokens are not checked):
//   DOSSIERS
//   N                  number of dossiers
//   C                  position of the current dossier in file order, -1 none
//   N times, in ascending id (which is the order of the positions):
//     DOSSIER
//     name             one line
//     INTERNALS
//     E                number of elements (at most 32767)
//     E times: ELEM, kind, reference, tag ("REF"), tagValue ("10")
// The dossiers read get ids 0, 1, ... in file order, so C names the same
// dossier again; a negative C makes the first dossier current. Elements of
// reference -1 are dropped; a file of no dossier gives the default one. A count beyond the file's end or a line that is
// not a number where one is due is a damaged file.
void ADossierManager::readFrom(AFileStream& stream) {
    AStoreReader reader(stream, name().c_str());
    reader.line();
    long count = reader.number();
    if (count < 0)
        reader.damaged();
    long current = reader.number();
    deleteAll();
    for (long i = 0; i < count && !isFull(); ++i) {
        Dossier* dossier = newDossier(nullptr);
        try {
            dossier->read(reader);
        } catch (...) {
            delete dossier;
            throw;
        }
        addDossier(dossier);
    }
    // Left by a reader stopped between deleting its last dossier and saving
    // the default one: the windows need a dossier to show.
    if (dossiers_.count() == 0) {
        setDefaults();
        return;
    }
    recount();
    currentId_ = current < 0 ? 0 : current;
}

void ADossierManager::writeTo(AFileStream& stream) {
    WriteStoreLine(stream, "DOSSIERS");
    WriteStoreNumber(stream, dossiers_.count());
    WriteStoreNumber(stream, currentId_ < 0 ? -1 : positionOf(currentId_));
    for (Pix p = dossiers_.first(); p; dossiers_.next(p)) {
        const Dossier* dossier = dossiers_.valueOf(p);
        if (!dossier)
            ThrowAssert("dossier", 250);
        dossier->write(stream);
    }
}
