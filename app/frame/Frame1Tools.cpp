// The main window's tool commands: the dictionary and author windows, the
// help pages, the adding to a dossier, a document's sound or video, the
// status text and progress, the online-state images and the active Flash
// and HTML panes.
#include "app/frame/Frame1.h"

#include <windows.h>

#include <cstdio>
#include <new>

#include "app/data/AppDataManager.h"
#include "app/frame/AFrameServices.h"
#include "app/frame/AToolWindows.h"
#include "app/frame/SVPane.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ACommand.h"
#include "framework/graphics/ARegion.h"
#include "framework/display/ASizerGroup.h"
#include "search/facade/ASearchBase.h"
#include "web/movie/AMovie.h"
#include "web/movie/MovieFile.h"

namespace {

// A tool window made from its layout under the application (as the frame's
// child its ids would meet those of a closing one the frame still holds); a
// layout whose root is not a window is deleted and fails the allocation check.
AWindow* LoadToolWindow(Frame1* frame, const char* layout, long line) {
    AApp* app = AApp::current();
    AComponent* root = AComponent::loadLayout(app ? static_cast<AComponent*>(app) : frame, layout, 0);
    void* typed = root ? root->castTo(&AWindow::classRecord) : nullptr;
    if (root && !typed)
        DeleteComponent(root);
    return static_cast<AWindow*>(CheckAlloc(typed, "frame1", line));
}

void RestoreIfMinimised(AWindow* window) {
    HWND hwnd = window->getHWnd();
    if (hwnd && IsIconic(hwnd))
        ShowWindow(hwnd, SW_RESTORE);
}

const int16_t kConnected = 4;
const int kFirstStateBitmap = 1096;
const int kDisconnectedBitmap = 1099;

void ShowBitmap(AStaticImage* image, int number) {
    if (!image)
        return;
    char name[16];
    snprintf(name, sizeof name, "#%d", number);
    // The command status asks at every idle turn: the picture is loaded only when it changes.
    if (image->getText() != AString(name))
        image->setText(name);
}

}  // namespace

// ---- Tool windows ----------------------------------------------------------

void Frame1::openDictionary(const char* word) {
    bool first = !dicoWin_;
    if (first) {
        dicoWin_ = LoadToolWindow(this, "Dico", __LINE__);
        addLink(dicoWin_);
    }
    auto* dico = CheckAlloc(dynamic_cast<ADictionaryWindow*>(dicoWin_), "frame1", __LINE__);
    if (first)
        dico->openDictionary();
    else
        RestoreIfMinimised(dicoWin_);
    dicoWin_->select();
    dicoWin_->centerIn(nullptr, true);
    dico->lookUp(word ? word : "");
    dicoWin_->showUpdate();
}

void Frame1::openAuthor(long author, long docNo) {
    if (AWindow* old = auteurWin_) {
        // Its close tells the frame to forget it; a window that refuses is forgotten all the same.
        old->perform(old->closeWindow());
        forgetAuthorWindow(old);
    }
    auteurWin_ = LoadToolWindow(this, "Auteur", __LINE__);
    addLink(auteurWin_);
    CheckAlloc(dynamic_cast<AAuthorWindow*>(auteurWin_), "frame1", __LINE__)->showAuthor(author, docNo);
    auteurWin_->select();
    auteurWin_->centerIn(nullptr, true);
    auteurWin_->showUpdate();
}

void Frame1::forgetDictionaryWindow(AComponent* window) {
    if (window == dicoWin_ && dicoWin_) {
        removeLink(dicoWin_);
        dicoWin_ = nullptr;
    }
}

void Frame1::forgetAuthorWindow(AComponent* window) {
    if (window == auteurWin_ && auteurWin_) {
        removeLink(auteurWin_);
        auteurWin_ = nullptr;
    }
}

// ---- Help pages and dossiers -----------------------------------------------

namespace {

// Local pages shown as full pages: loaded offline as well (user info 3004, 3005).
void ShowFullPage(Frame1& frame, const AString& address) {
    if (AppState* state = FrameServices().makeUrlNavState(frame, address, 8, -1)) {
        state->setUserInfo(3004, 1);
        state->setUserInfo(3005, 1);
        frame.goToState(state, 1);
    }
}

}  // namespace

void Frame1::openHelp() {
    if (gAppDataManager)
        ShowFullPage(*this, gAppDataManager->getHelpMainUrl());
}

void Frame1::openAssist() {
    if (gAppDataManager)
        ShowFullPage(*this, gAppDataManager->getAssistUrl());
}

void Frame1::addCurrentToDossier(AppState* state) {
    FrameServices().addToCurrentDossier(state);
}

long Frame1::frameChanged(const APoint& size) {
    invalidate();
    if (dockPane_)
        dockPane_->syncLeftDockSize();
    return AWindow::frameChanged(size);
}

void Frame1::addNoteToArticle() {
    FrameServices().addNoteToArticle(*this);
}

// ---- Media -----------------------------------------------------------------

void Frame1::playDocument(long docNo) {
    if (docNo < 0) {
        stopMedia();
        return;
    }
    AFrameServices& services = FrameServices();
    if (!services.ensureDocumentDisc(docNo) || !gAppDataManager)
        return;
    releaseMediaTempFile();
    ADocRefInfo info = gAppDataManager->getDocRefInfo(docNo);
    ASearchBase* base = gAppDataManager->getBase(info.fCdBase);
    if (!base)
        ThrowAssert("frame1", __LINE__);
    if (!movie_) {
        auto* made = CheckAlloc(new (std::nothrow) AMovie(this), "frame1", __LINE__);
        AObject::completeNew(made);
        movie_ = made;
    }
    // The record is a range of the base's data file; a CD set plays a copy on the hard disc.
    AMovieFile file;
    if (services.isCDInstall()) {
        mediaTempFile_ = services.copyMediaToTemp(info.fCdBase, info.fRecord);
        if (mediaTempFile_.empty())
            return;
        file.spec = AFileSpec(mediaTempFile_.c_str());
    } else {
        file.spec = base->getFileSpec(0);
        base->getExtent(0, info.fRecord, 0, &file.start, &file.end);
    }
    if (movie_->openMovie(file, APoint()) & 0xFFFF)
        return;
    movie_->goToTime(50);
    movie_->playFrom(-1, -2, 1000);
    // The controller shows the play at once, before the next idle round.
    movie_->idle();
}

void Frame1::stopMedia() {
    if (movie_ && movie_->isPlaying())
        movie_->pause();
    // The player lets go of the copy it read, which may be deleted now.
    if (movie_ && FrameServices().isCDInstall() && !mediaTempFile_.empty() &&
        GetFileAttributesA(mediaTempFile_.c_str()) != INVALID_FILE_ATTRIBUTES) {
        AMovieFile file;
        file.spec = AFileSpec(mediaTempFile_.c_str());
        movie_->openMovie(file, APoint());
    }
    FrameServices().stopMediaWindows();
}

void Frame1::releaseMediaTempFile() {
    if (!mediaTempFile_.empty() && GetFileAttributesA(mediaTempFile_.c_str()) != INVALID_FILE_ATTRIBUTES)
        FrameServices().registerTempFile(mediaTempFile_.c_str());
    mediaTempFile_ = AString();
}

// ---- Status, progress and online state -------------------------------------

void Frame1::showStatusText(const char* text) {
    if (statusText_)
        statusText_->setText(text ? text : "");
}

void Frame1::showProgress() {
    if (!sizerGroup_)
        return;
    sizerGroup_->showUpdate();
    if (HWND hwnd = sizerGroup_->enclosingWindow()) {
        AInvalidationHold::flush(hwnd);
        UpdateWindow(hwnd);
    }
}

void Frame1::hideProgress() {
    if (sizerGroup_)
        sizerGroup_->hideUpdate();
}

void Frame1::showConnectionState() {
    ShowBitmap(connectImage_, FrameServices().connectionState() == kConnected ? kFirstStateBitmap : kDisconnectedBitmap);
}

void Frame1::showFilterLevel() {
    if (!filterImage_)
        return;
    filterImage_->showUpdate();
    int16_t level = FrameServices().filterLevel();
    // The four bitmaps are levels 0 to 3; another level shows none rather than a stranger's.
    if (level >= 0 && level <= 3)
        ShowBitmap(filterImage_, kFirstStateBitmap + level);
}

// ---- Active panes and the current document ---------------------------------

const AString& Frame1::setActiveFlashPane(SVPane* pane, const char* name, int16_t value) {
    if (relink(flashPane_, pane))
        queueUpdate(6);
    flashName_ = name ? name : "";
    flashValue_ = value;
    return flashName_;
}

void Frame1::setActiveHtmlPane(SVPane* pane) {
    if (relink(htmlPane_, pane))
        queueUpdate(6);
}

namespace {

bool RelinkView(AComponent& frame, AComponent*& slot, AComponent* view) {
    if (slot == view)
        return false;
    if (slot)
        frame.removeLink(slot);
    slot = view;
    if (view)
        frame.addLink(view);
    return true;
}

}  // namespace

void Frame1::setDocumentView(AComponent* view) {
    if (RelinkView(*this, documentView_, view))
        queueUpdate(6);
}

void Frame1::setTextView(AComponent* view, int16_t flag) {
    textViewFlag_ = flag;
    if (RelinkView(*this, textView_, view))
        queueUpdate(6);
}

ADocRefInfo Frame1::getCurrentDocInfo() {
    if (!curState_ || !gAppDataManager)
        return ADocRefInfo();
    return gAppDataManager->getDocRefInfo(curState_->getDocNo());
}

bool Frame1::hasShownDocument() const {
    SVPane* pane = slots_.docPane2;
    return curState_ && pane && (pane->displayFlags() & ADisplayComponent::kShown) && curState_->getDocNo() >= 0;
}
