// The phonetic window shell: its two views and its enabled commands.
#include "app/main/PhonetiseurWin.h"

#include <set>

#include "app/main/ToolWindowViews.h"
#include "base/object/AError.h"

SV_IMPLEMENT_CLASS(PhonetiseurWin, 0, AWindow)

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
    AWindow::setUpItems();
    text_ = RequiredView(this, kText);
    list_ = RequiredView(this, kList);
    SetUpTextView(text_, 2);
    if (!ToolBase(kGlbBase))
        ThrowAssert("appclass", __LINE__);
    SetUpListView(this, list_);
}

void PhonetiseurWin::bindActions() {
    AWindow::bindActions();
    for (int16_t id = kFirstCommand; id <= kLastCommand; ++id)
        addAction(id, this, id, nullptr);
}

int16_t PhonetiseurWin::commandStatus(int16_t id, long argument) {
    return id >= kFirstCommand && id <= kLastCommand ? 1 : AWindow::commandStatus(id, argument);
}
