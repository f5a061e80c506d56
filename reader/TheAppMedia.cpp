// The application's side of the media window: its services and the
// dictionary of open media windows (one window, replaced unless locked).
#include <windows.h>

#include <new>

#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "app/prefs/APrefManager.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/content/article/DocKycfPane.h"
#include "panes/content/media/AMediaApp.h"
#include "panes/content/media/MediaWin.h"
#include "search/facade/ASearchBase.h"

namespace {

class TheAppMedia : public AMediaApp {
public:
    explicit TheAppMedia(TheApp& app) : app_(app) {}
    ADocRefInfo getDocRefInfo(long docNo) override { return app_.getDataManager()->getDocRefInfo(docNo); }
    int16_t getDocIconType(long docNo) override { return app_.getDocIconType(docNo); }
    AString getDocTitle(long docNo) override { return app_.getDataManager()->getDocTitle(docNo); }
    AString getDocCredit(long docNo) override { return app_.getDataManager()->getDocCopyright(docNo); }
    bool getDocDimensions(long docNo, long* width, long* height) override {
        return app_.getDocDimensions(docNo, width, height);
    }
    AString extractPicture(long docNo) override {
        ADocRefInfo info = getDocRefInfo(docNo);
        long table = info.fCdBase >= 0 ? app_.findBaseField(info.fCdBase, "DOC") : -1;
        if (table < 0 || info.fRecord < 0 || !app_.ensureDocumentDisc(docNo))
            return AString();
        return app_.extractRecordToTemp(info.fCdBase, static_cast<short>(table), info.fRecord, ".img");
    }
    AString extractMovie(long docNo) override {
        ADocRefInfo info = getDocRefInfo(docNo);
        long table = info.fCdBase >= 0 ? app_.findBaseField(info.fCdBase, "DOC") : -1;
        if (table < 0 || info.fRecord < 0 || !app_.ensureDocumentDisc(docNo))
            return AString();
        return app_.extractRecordToTemp(info.fCdBase, static_cast<short>(table), info.fRecord, ".swf");
    }
    bool getDocField(long docNo, const char* field, AString* text, AString* folder) override {
        *text = *folder = AString();
        ADocRefInfo info = getDocRefInfo(docNo);
        long position = info.fCdBase >= 0 ? app_.findBaseField(info.fCdBase, field) : -1;
        AppDataManager* data = app_.getDataManager();
        ASearchBase* base = position >= 0 && data ? data->getBase(info.fCdBase) : nullptr;
        if (!base || info.fRecord < 0 || info.fRecord >= base->getRecordCount(static_cast<short>(position)))
            return false;
        *folder = base->getFileSpec(static_cast<short>(position)).parent(false).path();
        *text = base->getText(static_cast<short>(position), info.fRecord, 1);
        return true;
    }
    AString makeMediaPage(const char* key, const AMediaPageValues& values) override {
        return app_.makeMediaPage(key, values);
    }
    AString fillVideoTemplate(const char* pageKey, const char* launcherKey, const AString& video,
                              const AString& director, const AString& title) override {
        return app_.fillVideoTemplate(pageKey, launcherKey, video, director, title);
    }
    bool hasReferenceBase() override { return app_.usesReferenceFile(); }
    bool isNetworkInstall() override { return app_.isNetworkInstall(); }
    AString tempFolder() override { return app_.getTempDir().path(); }
    AString configString(const char* key) override { return app_.configString(key); }
    void registerTempFile(const char* path) override { app_.registerTempFile(path); }
    ARenderer* createTextRenderer(ARendererView* view, long sheet) override {
        return app_.createTextRenderer(view, app_.getStyleSheet(sheet) ? sheet : 0);
    }
    AHotspotRenderer* createHotspotRenderer(ARendererView* view) override { return app_.createHotspotRenderer(view); }
    AHighlighter* newCaptionHighlighter() override {
        Frame1* frame = app_.getFrame();
        AppState* state = frame ? frame->currentState() : nullptr;
        AppDataManager* data = app_.getDataManager();
        return state && data ? NewSearchHighlighter(state->getSearchState(), data->getBase(1)) : nullptr;
    }
    void addToCurrentDossier(AppState* state) override { app_.addToCurrentDossier(state); }
    bool hidesMediaExtensions() override {
        APrefManager* prefs = app_.getPrefManager();
        return prefs && prefs->getLong(APrefManager::kHideMediaBars) != 0;
    }
    bool docIsMedia(long docNo) override { return app_.docIsMedia(docNo); }
    void openMediaWindow(long docNo, int16_t frame, int16_t forceNew) override {
        app_.openMediaWindow(docNo, frame, forceNew);
    }
    void showDocument(long docNo) override { app_.showDocument(docNo); }
    void forgetMediaWindow(MediaWin* window) override { app_.forgetMediaWindow(window); }
    void message(const char* text) override { app_.messageBox(text, app_.getWindowTitle().c_str(), MB_OK, nullptr); }

private:
    TheApp& app_;
};

}  // namespace

void TheApp::installMediaServices() {
    media_.reset(CheckAlloc(new (std::nothrow) TheAppMedia(*this), "theapp", __LINE__));
    AMediaApp::install(media_.get());
}

AString TheApp::fillVideoTemplate(const char* pageKey, const char* launcherKey, const AString& video,
                                  const AString& director, const AString& title) {
    std::string videoUrl = PathToFileUrl(video.c_str()).c_str(), dcrUrl = PathToFileUrl(director.c_str()).c_str();
    AString launcher = writeTempPage(FillVideoPage(readTemplate(launcherKey).c_str(), videoUrl, dcrUrl, "", title.c_str()));
    std::string launcherUrl = launcher.empty() ? "" : PathToFileUrl(launcher.c_str()).c_str();
    return writeTempPage(FillVideoPage(readTemplate(pageKey).c_str(), videoUrl, dcrUrl, launcherUrl, title.c_str()));
}

void TheApp::removeMediaServices() {
    if (media_ && &AMediaApp::current() == media_.get())
        AMediaApp::install(nullptr);
    media_.reset();
}

int16_t TheApp::computeZoomPercent(long boxWidth, long boxHeight, long width, long height) {
    return ComputeZoomPercent(boxWidth, boxHeight, width, height);
}

bool TheApp::openMediaWindow(long docNo, int16_t frame, int16_t forceNew) {
    Frame1* main = getFrame();
    if (main)
        main->stopMedia();
    else
        stopMediaWindows();
    if (!ensureDocumentDisc(docNo))
        return false;
    AComponent* parent = main ? static_cast<AComponent*>(main) : static_cast<AComponent*>(this);
    return mediaWindows_.open(parent, docNo, frame, forceNew) != nullptr;
}

void TheApp::forgetMediaWindow(MediaWin* window) {
    mediaWindows_.forget(window);
}

void TheApp::stopMediaWindows() {
    mediaWindows_.stopAll();
}

void TheApp::closeVideoMediaWindows() {
    mediaWindows_.closeVideos();
}
