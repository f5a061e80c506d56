// The application's answers to the search panes: media documents, online
// addresses, the media window, the beep and the documents' information digits.
#include <new>
#include <string>

#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "reader/ADicoLibrary.h"
#include "reader/ASVSelContextMenuCallBack.h"
#include "reader/TheApp.h"
#include "app/online/ANetSearch.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/ADocRef.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/search/dico/ADicoHost.h"
#include "panes/search/left/ASearchPanesApp.h"

namespace {

class TheAppSearchPanes : public ASearchPanesApp {
public:
    explicit TheAppSearchPanes(TheApp& app) : app_(app) {}

    bool docIsMedia(long docNo) override { return app_.docIsMedia(docNo); }
    int16_t getDocKind(long docNo, int16_t defaultKind) override { return app_.getDocKind(docNo, defaultKind); }
    long getUrlDocNo(const char* address) override { return app_.getUrlDocNo(address); }
    void openMediaWindow(long docNo, int16_t first, int16_t second) override {
        if (!app_.openMediaWindow(docNo, first, second))
            app_.beep(0);
    }
    void beep() override { app_.beep(0); }
    int16_t docInfoDigit(long docNo, int16_t n) override {
        AppDataManager* data = app_.getDataManager();
        return data && docNo >= 0 ? data->getDocRefInfo(docNo).getInfo(n) : 0;
    }

    bool isStopWordQuery(const char* query) override { return TheApp::isStopWordQuery(query); }
    AString proximityOption() override { return app_.proximityOption(); }
    AString expandLigatures(const char* text) override { return app_.expandLigatures(AString(text)); }
    AString filterQuery(const char* query) override { return app_.filterQuery(query); }
    AString configMessage(const char* key) override { return app_.configMessage(key); }
    AString proposeSoundAlike(const char* query) override { return app_.proposeSoundAlike(query); }
    AString searchOnline(ASVLoSearchState* search, long entry, const char* action, long id) override {
        if (!search)
            return AString();
        ANetSearch(&app_).searchOnline(*search, entry, action, id);
        return search->getNetFile(entry);
    }

private:
    TheApp& app_;
};

// The dictionary window's library, renderers and main window.
class TheAppDicoHost : public ADicoHost {
public:
    explicit TheAppDicoHost(TheApp& app) : app_(app) {}

    int16_t ask(const char* word) override {
        ADicoLibrary* dico = app_.getDicoLibrary();
        return dico ? dico->ask(word) : -1;
    }
    AString getDefinition() override {
        ADicoLibrary* dico = app_.getDicoLibrary();
        return dico ? dico->fDefinitionText : AString();
    }
    ATextRenderer* createTextRenderer(ARendererView* view, long sheet) override {
        return app_.createTextRenderer(view, sheet);
    }
    ASelContextMenuCallBack* selContextMenu() override { return app_.getSelContextMenu(false); }
    ADataLocation* dataLocation() override {
        AppDataManager* data = app_.getDataManager();
        return data ? data->getDataLocation() : nullptr;
    }
    void forgetWindow(AComponent* window) override {
        if (Frame1* frame = app_.getFrame())
            frame->forgetDictionaryWindow(window);
    }

private:
    TheApp& app_;
};

}  // namespace

void TheApp::installSearchPanes() {
    searchPanes_.reset(CheckAlloc(new (std::nothrow) TheAppSearchPanes(*this), "theapp", __LINE__));
    ASearchPanesApp::install(searchPanes_.get());
    dicoHost_.reset(CheckAlloc(new (std::nothrow) TheAppDicoHost(*this), "theapp", __LINE__));
    ADicoHost::install(dicoHost_.get());
}

void TheApp::removeSearchPanes() {
    if (searchPanes_ && &ASearchPanesApp::current() == searchPanes_.get())
        ASearchPanesApp::install(nullptr);
    searchPanes_.reset();
    if (dicoHost_ && ADicoHost::current() == dicoHost_.get())
        ADicoHost::install(nullptr);
    dicoHost_.reset();
}
