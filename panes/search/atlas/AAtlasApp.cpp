// The atlas panes' default application answers.
#include "panes/search/atlas/AAtlasApp.h"

#include <memory>

#include "app/find/AFlashServices.h"
#include "base/procedural/AError.h"
#include "panes/content/article/AContentApp.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/AKeyIndex.h"
#include "search/facade/ASearchBase.h"

namespace {

AAtlasApp gDefault;
AAtlasApp* gInstalled = nullptr;

const int16_t kMapsBase = 6;
const short kPlacesTable = 7;

}  // namespace

AAtlasApp& AAtlasApp::current() {
    return gInstalled ? *gInstalled : gDefault;
}

void AAtlasApp::install(AAtlasApp* app) {
    gInstalled = app;
}

AKeyIndex* AAtlasApp::openIndex(const char* key) {
    if (!gDataLocation)
        return nullptr;
    // An installation without the index (or with a damaged one) lists no place.
    try {
        std::unique_ptr<AKeyIndex> index(gDataLocation->openIndex(key));
        index->getCount();
        return index.release();
    } catch (const AError&) {
        return nullptr;
    }
}

AString AAtlasApp::placeList(long mapDoc) {
    if (mapDoc < 0)
        return AString();
    AContentApp& app = AContentApp::current();
    ADocRefInfo info = app.getDocRefInfo(mapDoc);
    ASearchBase* base = app.getBase(kMapsBase);
    if (!base || info.fRecord < 0)
        return AString();
    // A map whose record the table lacks lists no place.
    try {
        if (info.fRecord >= base->getRecordCount(kPlacesTable))
            return AString();
        return base->getText(kPlacesTable, info.fRecord, 1);
    } catch (const AError&) {
        return AString();
    }
}

AString AAtlasApp::getMapFsText(const char* name) {
    return FlashServices().getMapFsText(name);
}
