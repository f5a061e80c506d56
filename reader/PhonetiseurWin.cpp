// The phonetic window shell: the application's side of the proposal pane.
#include "reader/PhonetiseurWin.h"

#include <set>

#include "reader/TheApp.h"
#include "reader/ToolWindowViews.h"
#include "base/procedural/AError.h"

SV_IMPLEMENT_CLASS(PhonetiseurWin, 0, PhonemPane)

namespace {

// The windows that exist, for the local loop of TheApp::openPhonetiseur.
std::set<const PhonetiseurWin*>& Open() {
    static std::set<const PhonetiseurWin*> open;
    return open;
}

const short kGlbBase = 1;

}  // namespace

PhonetiseurWin::PhonetiseurWin() {
    Open().insert(this);
}

PhonetiseurWin::~PhonetiseurWin() {
    Open().erase(this);
}

bool PhonetiseurWin::isOpen(const PhonetiseurWin* window) {
    return Open().count(window) != 0;
}

void PhonetiseurWin::setUpItems() {
    PhonemPane::setUpItems();
    if (!ToolBase(kGlbBase))
        ThrowAssert("appclass", __LINE__);
}

void PhonetiseurWin::setUpHeaderView(ARendererView* view) {
    SetUpTextView(view, 2);
}

AString PhonetiseurWin::escapeRowText(const char* text) {
    return TheApp::escapeMarkup(text, "/#{}");
}

void PhonetiseurWin::endLocalLoop() {
    if (TheApp* app = TheApp::current())
        app->setLocalLoopFlag(2);
}
