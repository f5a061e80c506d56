// The application's side of the dossier and note windows.
#include <memory>
#include <new>

#include "app/frame/SVPane.h"
#include "reader/TheApp.h"
#include "app/online/ADocNetManager.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "app/views/AboutDlg.h"
#include "base/procedural/AError.h"
#include "docengine/render/ATextRenderer.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "panes/docks/workspacewin/DossierWin.h"
#include "panes/docks/workspacewin/NotePane.h"

namespace {

// The application's document base 13 (HDFILES).
const short kDocInfoBase = 13;

// What the workspace windows ask of the application object; online page
// titles come from the online-document store.
class TheAppWorkspaceWin : public AWorkspaceWinApp {
public:
    explicit TheAppWorkspaceWin(TheApp& app) : app_(app) {}
    ASearchBase* documentBase() override {
        AppDataManager* data = app_.getDataManager();
        return data ? data->getBase(kDocInfoBase) : nullptr;
    }
    int16_t getDocIconType(long docNo) override { return app_.getDocIconType(docNo); }
    AString getDocTitle(long docNo) override {
        AppDataManager* data = app_.getDataManager();
        return data ? data->getDocTitle(docNo) : AString();
    }
    bool docIsMedia(long docNo) override { return app_.docIsMedia(docNo); }
    int16_t getDocKind(long docNo, int16_t defaultKind) override { return app_.getDocKind(docNo, defaultKind); }
    AString escapeMarkup(const char* text) override { return TheApp::escapeMarkup(text, "/\\{}#"); }
    int messageBox(const char* text, const char* caption, unsigned flags) override {
        return app_.messageBox(text, caption, flags, nullptr);
    }
    Frame1* frame() override { return app_.getFrame(); }
    void openMediaWindow(long docNo, int16_t first, int16_t second) override {
        if (!app_.openMediaWindow(docNo, first, second))
            app_.beep(0);
    }
    // The notes window's "go to the note": its place in the shown article.
    void showTextPosition(long position) override { app_.showTextPosition(position); }
    AString onlinePageRecord(long number) override {
        ADocNetManager* docNet = app_.getDocNetManager();
        return docNet && number >= 0 ? docNet->getRecord(number) : AString();
    }
    ADossierManager* dossiers() override { return app_.getDossierManager(); }
    ANoteManager* notes() override { return app_.getNoteManager(); }
    ARenderer* createTextRenderer(ARendererView* view) override {
        AAppTextRenderer* renderer = app_.createTextRenderer(view, 2);
        renderer->options = static_cast<uint16_t>(renderer->options & ~8u);
        return renderer;
    }

private:
    TheApp& app_;
};

}  // namespace

void TheApp::installWorkspaceWindows() {
    workspaceWin_.reset(CheckAlloc(new (std::nothrow) TheAppWorkspaceWin(*this), "theapp", __LINE__));
    AWorkspaceWinApp::install(workspaceWin_.get());
}

void TheApp::removeWorkspaceWindows() {
    if (workspaceWin_ && &AWorkspaceWinApp::current() == workspaceWin_.get())
        AWorkspaceWinApp::install(nullptr);
    workspaceWin_.reset();
}

void TheApp::hookNoteWindow() {
    if (ANoteManager* notes = getNoteManager())
        notes->setNoteWindowOpener(
            [this](long document, long noteId, APane* owner) { openNoteWindow(document, noteId, owner); });
}

void TheApp::openNoteWindow(long docNo, long noteId, SVPane* owner) {
    openNoteWindow(docNo, noteId, static_cast<APane*>(owner));
}

void TheApp::openNoteWindow(long docNo, long noteId, APane* owner) {
    if (getNoteManager())
        NotePane::openWindow(docNo, noteId, owner);
}

void TheApp::openDossierWindow(long reference, int16_t kind) {
    if (ADossierManager* dossiers = getDossierManager())
        DossierWin::show(dossiers, reference, kind);
}

void TheApp::addToCurrentDossier(AppState* state) {
    ADossierManager* dossiers = getDossierManager();
    if (!dossiers)
        ThrowAssert("frame1", __LINE__);
    Dossier* dossier = dossiers->getCurrentDossier();
    if (!dossier || !state)
        return;
    long docNo = state->getDocNo();
    std::unique_ptr<DossierElement> element(CheckAlloc(dossiers->newElement(docNo), "frame1", __LINE__));
    ADocState* doc = state->getDocState();
    // A web page is an element of its own kind: an online page P and a base document P differ.
    int16_t web = doc && doc->fDocType == 8 ? 1 : 0;
    element->kind = web;
    if (dossier->contains(*element)) {
        AString text;
        messageBox(getListString(text, 6002, 5, false).c_str(), "Dossiers", MB_ICONINFORMATION, nullptr);
        return;
    }
    dossiers->addElement(dossier, element.release(), 0);
    openDossierWindow(docNo, web);
}

AboutDlg* TheApp::openAbout() {
    return AboutDlg::openAbout(install_.network);
}
