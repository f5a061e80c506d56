// Descriptions and random contents of the workspace stores.
#include "tests/panes/docks/workspace/StoreTestSupport.h"

#include "docengine/model/AHiliteRangeMap.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspace/ANoteManager.h"

namespace {

std::string RandomText(std::mt19937& random, int low, size_t maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text)
        c = static_cast<char>(low + random() % (256 - low));
    return text;
}

}  // namespace

std::string Describe(const ADossierManager& dossiers) {
    std::string text = "current=";
    long current = -1;
    for (long i = 0; i < dossiers.getDossierCount(); ++i)
        if (dossiers.getCurrentDossier() && dossiers.getDossierAt(i) == dossiers.getCurrentDossier())
            current = i;
    text += std::to_string(current);
    for (long i = 0; i < dossiers.getDossierCount(); ++i) {
        const Dossier* dossier = dossiers.getDossierAt(i);
        text += "[" + std::string(dossier->getName().c_str());
        for (long e = 0; e < dossier->elements().count(); ++e) {
            const DossierElement* element = dossier->elements().elementAt(e);
            text += "|" + std::to_string(element->kind) + ":" + std::to_string(element->reference) + ":" +
                    element->tag.c_str() + ":" + element->tagValue.c_str();
        }
        text += "]";
    }
    return text;
}

std::string Describe(ANoteManager& notes) {
    std::string text;
    const PostitLongDic& list = notes.notes().notes();
    for (Pix p = list.first(); p; list.next(p))
        text += std::to_string(list.keyOf(p)) + "=" + list.valueOf(p)->getText().c_str() + ";";
    for (long i = 0; i < notes.documentCount(); ++i) {
        long document = notes.documentAt(i);
        text += std::to_string(document) + ":" + notes.getMarkerSet(document)->toLine().c_str() + ";";
    }
    return text;
}

void FillRandom(ADossierManager& dossiers, std::mt19937& random) {
    while (dossiers.getDossierCount())
        dossiers.removeDossier(dossiers.getDossierAt(0)->getId());
    // A store always holds a dossier: one read without any gets the default.
    long count = 1 + random() % 5;
    for (long i = 0; i < count; ++i) {
        Dossier* dossier = dossiers.createDossier(RandomText(random, 0x20, 30).c_str(), 0);
        long elements = random() % 7;
        for (long e = 0; e < elements; ++e) {
            DossierElement* element = dossiers.newElement(static_cast<long>(random() % 0x1000000));
            element->kind = static_cast<int16_t>(random() % 2);
            element->tag = RandomText(random, 0x20, 8).c_str();
            element->tagValue = RandomText(random, 0x20, 8).c_str();
            dossier->addElement(element);
        }
    }
    dossiers.recount();
    dossiers.setCurrentId(count ? dossiers.getDossierAt(random() % count)->getId() : -1);
}

void FillRandom(ANoteManager& notes, std::mt19937& random) {
    while (notes.notes().count())
        notes.removePostit(notes.notes().notes().keyOf(notes.notes().notes().first()));
    for (long i = 0; i < notes.documentCount(); ++i)
        notes.getMarkerSet(notes.documentAt(i))->parse("");
    notes.purgeEmptyDocuments();
    long documents = random() % 12;
    for (long d = 0; d < documents; ++d) {
        long document = static_cast<long>(random() % 0x3000000);
        AHiliteRangeMap* set = notes.getMarkerSet(document);
        long markers = random() % 6;
        for (long m = 0; m < markers; ++m) {
            long id = static_cast<long>((1 + random() % 127) << 24 | (document & 0xFFFFFF));
            // Now and then a note whose ordinal went past 127 in an older store.
            if (random() % 10 == 0)
                id = -id;
            set->set(static_cast<long>(random() % 200000), id);
            std::string text = RandomText(random, 1, 40);
            if (random() % 2)
                text += "\r\n" + RandomText(random, 0x20, 20) + "\r\n";
            notes.addPostit(new Postit(id, text.c_str()), id);
        }
    }
}

void SaveNextVersion(ADossierManager& dossiers, std::mt19937& random) {
    dossiers.setReadOnly(1);
    FillRandom(dossiers, random);
    dossiers.setReadOnly(0);
    dossiers.save();
}

void SaveNextVersion(ANoteManager& notes, std::mt19937& random) {
    FillRandom(notes, random);
    notes.save();
}
