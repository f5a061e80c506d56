// The home movie's page and actions.
#include "panes/content/home/AccueilFlashPane.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "app/data/AFSCommInfo.h"
#include "app/data/AppDataManager.h"
#include "app/frame/AFrameServices.h"
#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "panes/content/article/AContentApp.h"
#include "web/browser/AMozillaView.h"
#include "web/browser/BrowserPaneHandler.h"

SV_IMPLEMENT_CLASS(AccueilFlashPane, 0, SVPane)
SV_IMPLEMENT_CLASS(AAccueilFlashPaneCmd, 0, AMozillaFlashCmd)

namespace {

// First part of the action table: a room page (page, room), the dictionary
// (room 0, no page) or a media document by link (room -1).
const struct {
    const char* action;
    const char* page;
    int16_t room;
} kPageActions[] = {{"rech_dico", nullptr, 0},
                    {"go_chrono", "mus_histoire", 6},
                    {"go_genea", "mus_genealogie", 6},
                    {"go_univers", nullptr, -1},
                    {"go_anato", nullptr, -1},
                    {"go_classif", nullptr, -1},
                    {"go_geochrono", "hg_geochrono", 4},
                    {"go_dossierini", "ini_mini", 3},
                    {"go_guide", "bib_guide", 2},
                    {"go_plamars", "sci_mars", 7},
                    {"go_sculp", "art_visites", 1},
                    {"go_scient", "med_entretiens", 5}};

// Second part: menu actions of the frame (group, item).
const struct {
    const char* action;
    int16_t group, item;
} kMenuActions[] = {{"rech_simple", 1, 1}, {"rech_expert", 1, 2},  {"rech_alpha", 1, 3},     {"rech_theme", 1, 4},
                    {"rech_chrono", 1, 5}, {"go_art", 2, 1},       {"go_sculpt", 2, 1},      {"go_biblio", 2, 2},
                    {"go_ini", 2, 3},      {"go_geohist", 2, 4},   {"go_mediatheque", 2, 5}, {"go_musique", 2, 6},
                    {"go_sciences", 2, 7}, {"go_sport", 2, 8},     {"go_auteurs", 2, 9}};

// Entry of a room page state's left part that "go_sculp" sets (the room's tab).
const long kSculptureTab = 1149;

}  // namespace

int16_t AAccueilFlashPaneHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    if (!pane_ || !event)
        return 0;
    if (event->name == "Observe") {
        auto* observe = static_cast<AMozillaObserveEvent*>(event->castTo(&AMozillaObserveEvent::classRecord));
        if (!observe || !view || !view->hasFlags(2))
            return 0;
        auto* command = CheckAlloc(new (std::nothrow) AAccueilFlashPaneCmd(pane_, observe->data.c_str(), this),
                                   "AccueilFlashPane", __LINE__);
        // Queued: the action runs after the browser's callback returned.
        pane_->perform(command);
        return 1;
    }
    return event->name == "UpdateTitle" ? 1 : 0;
}

void AAccueilFlashPaneCmd::execute() {
    if (!pane_)
        return;
    AFSCommInfo info(fName.c_str());
    pane_->runMessage(info.fKind, info.fValue.c_str());
}

AccueilFlashPane::~AccueilFlashPane() {
    UnhookBrowserHandler(nullptr, this, handler_);
}

void AccueilFlashPane::attachItems() {
    SVPane::attachItems();
    page_ = AString();
}

void AccueilFlashPane::setUpItems() {
    SVPane::setUpItems();
    AClusterItem* item = findItem(kView, false);
    view_ = CheckAlloc(item ? static_cast<AMozillaView*>(item->castTo(&AMozillaView::classRecord)) : nullptr,
                       "AccueilFlashPane", __LINE__);
    HookBrowserHandler(view_, this, handler_, "AccueilFlashPane", __LINE__);
}

void AccueilFlashPane::detachItems() {
    UnhookBrowserHandler(view_, this, handler_);
    view_ = nullptr;
    SVPane::detachItems();
    purgePage();
}

int16_t AccueilFlashPane::isPaneWanted() {
    AppState* state = currentState();
    return state && state->getScreenMode() == 0 ? 1 : 0;
}

void AccueilFlashPane::setPaneVisible(int16_t visible) {
    SVPane::setPaneVisible(visible);
    if (view_)
        view_->observeTopic(visible != 0 ? 1 : 0);
}

void AccueilFlashPane::updatePane() {
    AContentApp& app = AContentApp::current();
    AString name = app.configString("SALLE_ACCUEIL");
    if (!view_ || name.empty() || name == movie_)
        return;
    movie_ = name;
    std::string folder = app.roomsFolder().c_str();
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    AString address = PathToFileUrl((folder + name.c_str()).c_str());
    purgePage();
    AMediaPageValues values;
    values.file = address;
    values.title = app.windowTitle();
    values.align = "left";
    ARect frame = view_->getFrame();
    FitMovie(frame.width(), frame.height(), std::atol(app.configString("ACCUEIL_W").c_str()),
             std::atol(app.configString("ACCUEIL_H").c_str()), values.width, values.height);
    values.frame = -1;
    values.background = "#FFFFFF";
    page_ = app.makeMediaPage("HTMLFLASHACCUEILWIN", values);
    if (!page_.empty())
        view_->loadUrl(PathToFileUrl(page_.c_str()));
}

void AccueilFlashPane::purgePage() {
    AContentApp::current().releaseTempFile(page_);
}

void AccueilFlashPane::runMessage(long kind, const char* action) {
    std::string text = action ? action : "";
    Frame1* frame = getFrame();
    if (kind == 4) {
        AppState* current = currentState();
        int16_t mode = current ? current->getScreenMode() : -1;
        if (mode != 3 && mode != 4)
            return;
        if (AppState* state = FrameServices().makeUrlNavState(*frame, AString(text.c_str()), 8, -1))
            frame->goToState(state, 1);
        return;
    }
    if ((kind != 2 && kind != 3) || text.empty())
        return;
    for (const auto& row : kPageActions) {
        if (text != row.action)
            continue;
        if (row.room == 0) {
            frame->openDictionary("");
        } else if (row.room < 0) {
            long docNo = AContentApp::current().resolveDocLink(row.action);
            if (docNo != -1)
                AContentApp::current().openMediaWindow(docNo, 0, 0);
        } else if (AppState* state = FrameServices().makeUrlNavState(*frame, AString(row.page), 3, row.room)) {
            if (text == "go_sculp")
                if (ALeftState* left = state->getLeftState())
                    left->fUserInfo.slot(kSculptureTab) = 2;
            frame->goToState(state, 1);
        }
        return;
    }
    doHomeAction(text.c_str());
}

void AccueilFlashPane::doHomeAction(const char* action) {
    for (const auto& row : kMenuActions)
        if (std::strcmp(action, row.action) == 0) {
            getFrame()->doMenuAction(row.group, row.item);
            return;
        }
}
