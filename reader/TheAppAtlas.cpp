// What the atlas panes ask of the application: the place index, the maps'
// sizes and place lists, and the map-name index's target texts.
#include <new>

#include "reader/TheApp.h"
#include "base/procedural/AError.h"
#include "panes/search/atlas/AAtlasApp.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/AKeyIndex.h"
#include "search/facade/ASearchBase.h"

namespace {

const int16_t kMapsBase = 6;
const short kTargetTable = 6;
const char kMapNameIndex[] = "CARTESFS";

class TheAppAtlas : public AAtlasApp {
public:
    explicit TheAppAtlas(TheApp& app) : app_(app) {}

    bool getDocDimensions(long docNo, long* width, long* height) override {
        try {
            return app_.getDocDimensions(docNo, width, height);
        } catch (const AError&) {
            *width = *height = 0;
            return false;
        }
    }
    AString getMapFsText(const char* name) override { return app_.getMapFsText(name); }

private:
    TheApp& app_;
};

}  // namespace

AString TheApp::getMapFsText(const char* name) {
    if (!name || !*name || !dataLocation_ || !getDataManager())
        return AString();
    // A reader whose maps base has no map-name index, or a damaged one, finds no target.
    try {
        if (!mapNames_)
            mapNames_.reset(dataLocation_->openIndex(kMapNameIndex));
        long record = mapNames_->findExact(name, nullptr);
        ASearchBase* base = getDataManager()->getBase(kMapsBase);
        if (record < 0 || !base || record >= base->getRecordCount(kTargetTable))
            return AString();
        return base->getText(kTargetTable, record, 1);
    } catch (const AError&) {
        return AString();
    }
}

void TheApp::installAtlasServices() {
    atlas_.reset(CheckAlloc(new (std::nothrow) TheAppAtlas(*this), "theapp", __LINE__));
    AAtlasApp::install(atlas_.get());
}

void TheApp::removeAtlasServices() {
    if (atlas_ && &AAtlasApp::current() == atlas_.get())
        AAtlasApp::install(nullptr);
    atlas_.reset();
    mapNames_.reset();
}
