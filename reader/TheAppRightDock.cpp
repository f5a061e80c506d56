// The application's side of the right dock: its services, the online links
// page of a web-link key and the media icon types.
#include <new>

#include "app/data/AppDataManager.h"
#include "reader/TheApp.h"
#include "base/procedural/AError.h"
#include "panes/docks/right/ARightDockApp.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"

namespace {

// What the right dock asks of the application object; records outside
// their table, and missing bases or fields, read as "".
class TheAppRightDock : public ARightDockApp {
public:
    explicit TheAppRightDock(TheApp& app) : app_(app) {}
    ADocRefInfo getDocRefInfo(long docNo) override {
        AppDataManager* data = app_.getDataManager();
        return data && docNo >= 0 ? data->getDocRefInfo(docNo) : ADocRefInfo(docNo, -1, -1);
    }
    AString getDocTitle(long docNo) override {
        AppDataManager* data = app_.getDataManager();
        return data && docNo >= 0 ? data->getDocTitle(docNo) : AString();
    }
    AString getDocExt(long docNo) override {
        ADocRefInfo info = getDocRefInfo(docNo);
        long field = info.fDocBase >= 0 ? app_.findBaseField(info.fDocBase, "EXT") : -1;
        return field < 0 ? AString() : getRecordText(info.fDocBase, static_cast<int16_t>(field), info.fRecord);
    }
    AString getRecordText(int16_t base, int16_t table, long record) override {
        AppDataManager* data = app_.getDataManager();
        ASearchBase* b = data && base >= 0 ? data->getBase(base) : nullptr;
        if (!b || record < 0 || record >= b->getRecordCount(table))
            return AString();
        return b->getText(table, record, 1);
    }
    AString getLinkRecord(int16_t t, long r) override { return app_.getLinkRecord(t, r); }
    AString getMessage(const char* key) override {
        ADataLocation* location = app_.dataLocation();
        return location ? location->getMessage(key) : AString();
    }
    AString escapeMarkup(const char* text, const char* set) override { return TheApp::escapeMarkup(text, set); }
    void openLinkComplements(const char* reference) override { app_.openLinkComplements(reference); }
    // An installation without the sheet draws the title with the articles' sheet:
    // a renderer without a sheet cannot lay its text out.
    AAppTextRenderer* createTextRenderer(ARendererView* view, long sheet) override {
        return app_.createTextRenderer(view, app_.getStyleSheet(sheet) ? sheet : 0);
    }

private:
    TheApp& app_;
};

}  // namespace

void TheApp::installRightDockServices() {
    rightDock_.reset(CheckAlloc(new (std::nothrow) TheAppRightDock(*this), "theapp", __LINE__));
    ARightDockApp::install(rightDock_.get());
}

void TheApp::removeRightDockServices() {
    if (rightDock_ && &ARightDockApp::current() == rightDock_.get())
        ARightDockApp::install(nullptr);
    rightDock_.reset();
}

void TheApp::openLinkComplements(const char* reference) {
    if (!checkConnection(nullptr))
        return;
    AString address = makeServiceUrl("liens_compl", "ref", reference);
    showWebPage(address.c_str(), 0, 1);
}

bool TheApp::isDocIconType8To11(long docNo) {
    int16_t type = getDocIconType(docNo);
    return type >= 8 && type <= 11;
}
