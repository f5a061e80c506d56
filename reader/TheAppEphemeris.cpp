// The application's side of the ephemeris and caption panes: today's date and
// the documents' answers.
#include <new>

#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "reader/ASVSelContextMenuCallBack.h"
#include "reader/TheApp.h"
#include "base/procedural/AError.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/search/ephemeris/AEphemerisApp.h"

namespace {

class TheAppEphemeris : public AEphemerisApp {
public:
    explicit TheAppEphemeris(TheApp& app) : app_(app) {}

    AString todayText() override { return app_.todayText(); }
    int16_t getDocIconType(long docNo) override { return docNo >= 0 ? app_.getDocIconType(docNo) : 0; }
    AString getDocTitle(long docNo) override {
        AppDataManager* data = app_.getDataManager();
        return data && docNo >= 0 ? data->getDocTitle(docNo) : AString();
    }
    bool isTextDoc(long docNo) override { return docNo >= 0 && app_.isTextDoc(docNo); }
    ADocRefInfo getDocRefInfo(long docNo) override {
        AppDataManager* data = app_.getDataManager();
        return data && docNo >= 0 ? data->getDocRefInfo(docNo) : ADocRefInfo(docNo, -1, -1);
    }
    long findBaseField(int16_t base, const char* fieldName) override { return app_.findBaseField(base, fieldName); }
    AString escapeMarkup(const char* text, const char* set) override { return TheApp::escapeMarkup(text, set); }
    // An installation without the sheet draws with the articles' sheet.
    AAppTextRenderer* createTextRenderer(ARendererView* view, long sheet) override {
        return app_.createTextRenderer(view, app_.getStyleSheet(sheet) ? sheet : 0);
    }
    void setSelectionMenu(ARenderer* renderer) override {
        if (auto* text = dynamic_cast<ATextRenderer*>(renderer))
            text->menuCallBack = app_.getSelContextMenu(false);
    }
    AppState* mainState() override {
        Frame1* frame = app_.getFrame();
        return frame ? frame->currentState() : nullptr;
    }

private:
    TheApp& app_;
};

}  // namespace

void TheApp::installEphemeris() {
    ephemeris_.reset(CheckAlloc(new (std::nothrow) TheAppEphemeris(*this), "theapp", __LINE__));
    AEphemerisApp::install(ephemeris_.get());
}

void TheApp::removeEphemeris() {
    if (ephemeris_ && &AEphemerisApp::current() == ephemeris_.get())
        AEphemerisApp::install(nullptr);
    ephemeris_.reset();
}

AString TheApp::todayText() const {
    return AppToolKit(clock_).dateText();
}
