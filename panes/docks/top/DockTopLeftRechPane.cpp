// The quick search field: the first stretch of the road of a search.
#include "panes/docks/top/DockTopLeftRechPane.h"

#include <cstdlib>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "app/lines/ASVSiSearchLineGetter.h"
#include "app/lists/ASVEditFilter.h"
#include "app/popup/PopupTree.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/ASiReqSearch.h"
#include "app/state/AppState.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AEditBox.h"
#include "framework/controls/AIconButton.h"
#include "panes/docks/top/ATopDockApp.h"

SV_IMPLEMENT_CLASS(AExecSearchCmd, 0, ACommand)
SV_IMPLEMENT_CLASS(DockTopLeftRechPane, 0, RechPane)

AExecSearchCmd::AExecSearchCmd(RechPane* pane, int16_t argument)
    : ACommand(pane, 0, 1), pane_(pane), argument_(argument) {}

void AExecSearchCmd::execute() {
    if (pane_)
        pane_->runSearch(argument_);
}

APopupTreeCallBackSiSearch::APopupTreeCallBackSiSearch(DockTopLeftRechPane* pane)
    : APopupTreeCallBack(pane), pane_(pane) {}

void APopupTreeCallBackSiSearch::itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) {
    (void)value, (void)line, (void)top;
    char* end = nullptr;
    long position = std::strtol(name ? name : "", &end, 10);
    if (!name || end == name)
        return;
    ASiReqSearch& history = ATopDockApp::current().queryHistory();
    if (position >= 0 && position < history.count())
        pane_->setSearchText(history.get(static_cast<int16_t>(position)).c_str());
}

DockTopLeftRechPane::DockTopLeftRechPane() = default;

DockTopLeftRechPane::~DockTopLeftRechPane() {
    ReleaseAndNull(callBack_);
}

void DockTopLeftRechPane::readFrom(AMemoryStream& stream) {
    RechPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockTopLeftRechPane", 56);
}

void DockTopLeftRechPane::attachItems() {
    RechPane::attachItems();
    getFrame()->setQuickSearchPane(this);
}

void DockTopLeftRechPane::setUpItems() {
    RechPane::setUpItems();
    ReleaseAndNull(callBack_);
    callBack_ = CheckAlloc(new (std::nothrow) APopupTreeCallBackSiSearch(this), "DockTopLeftRechPane", 67);
    callBack_->addRef();
    AClusterItem* item = findItem(kField, false);
    field_ = CheckAlloc(item ? static_cast<AEditBox*>(item->castTo(&AEditBox::classRecord)) : nullptr,
                        "DockTopLeftRechPane", 70);
    field_->setMaxLength(kMaxQuery);
    field_->addLink(this);
    field_->setText("");
    field_->setFilter(CheckAlloc(new (std::nothrow) ASVEditFilter(field_), "DockTopLeftRechPane", 74));
    setItemHelp(kHistoryButton, 6007, 1, 0);
    setItemHelp(kSearchButton, 6007, 2, 0);
}

void DockTopLeftRechPane::detachItems() {
    ReleaseAndNull(callBack_);
    field_ = nullptr;
    RechPane::detachItems();
}

void DockTopLeftRechPane::bindActions() {
    RechPane::bindActions();
    for (int16_t id : {kHistoryButton, kSearchButton, kField})
        addAction(id, this, id, nullptr);
}

ACommand* DockTopLeftRechPane::doCommand(int16_t id, long argument) {
    switch (id) {
    case kHistoryButton:
        showQueryHistory();
        return noChangeCommand();
    case kSearchButton: {
        AppState* state = currentState();
        if (!state)
            return noChangeCommand();
        if (state->getScreenMode() == 0)
            perform(CheckAlloc(new (std::nothrow) AExecSearchCmd(this, 1), "DockTopLeftRechPane", 104));
        else
            runSearch(1);
        return noChangeCommand();
    }
    case kField:
        // Enter in the field is the search button.
        if (commandStatus(kSearchButton, 0) == 1)
            return doCommand(kSearchButton, 0);
        return noChangeCommand();
    default:
        return RechPane::doCommand(id, argument);
    }
}

int16_t DockTopLeftRechPane::commandStatus(int16_t id, long argument) {
    switch (id) {
    case kHistoryButton: return ATopDockApp::current().queryHistory().count() > 0 ? 1 : 2;
    case kSearchButton:
    case kField: return 1;
    default: return RechPane::commandStatus(id, argument);
    }
}

void DockTopLeftRechPane::linkChanged(AComponent* source, const AKindSet& kinds) {
    RechPane::linkChanged(source, kinds);
    if (field_ && source == field_ && kinds.contains(1))
        field_->selectAll();
}

void DockTopLeftRechPane::runSearch(int16_t argument) {
    (void)argument;
    AppState* state = currentState();
    query_ = field_ ? field_->getText() : AString();
    ATopDockApp& app = ATopDockApp::current();
    ASVLoSearchState* search = app.runFullTextSearch(1, query_.c_str(), 0);
    if (!search)
        return;
    // The application may have taken the phonetic alternative.
    query_ = search->getQuery();
    app.queryHistory().add(query_.c_str());
    bool locked = state && state->hasDocCadenas();
    AppState* next = getFrame()->makeNavState(0, locked, locked, 0, 1, 1, 1);
    next->setSearchState(search);
    if (ALeftState* left = next->getLeftState()) {
        if (left->fExpand == 0)
            left->fExpand = 1;
    }
    goToState(next);
}

void DockTopLeftRechPane::showSearchState(ASearchState* search) {
    if (!search)
        return;
    if (field_)
        field_->setText(search->getText(4).c_str());
    query_ = search->getText(3);
    queueUpdate(0);
}

void DockTopLeftRechPane::fillSearchState(ASearchState* search, long value) {
    ATopDockApp::current().setSearchStateTexts(search, value, field_ ? field_->getText().c_str() : "", query_.c_str());
}

AString DockTopLeftRechPane::getQueryText() {
    AString title("/A/0Mot(s) recherch\xE9(s) : ");
    title += ATopDockApp::current().escapeMarkup(query_.c_str());
    title += "/$";
    return title;
}

void DockTopLeftRechPane::setSearchText(const char* text) {
    if (field_)
        field_->setText(text ? text : "");
    runSearch(1);
}

void DockTopLeftRechPane::makeHistoryPopupParams(PopupTreeParams& params) {
    AStyleSheet* sheet = CheckAlloc(ATopDockApp::current().getStyleSheet(1), "DockTopLeftRechPane", 176);
    params = PopupTreeParams(sheet, sheet->getColor(3), sheet->getColor(3), sheet->getColor(6), sheet->getColor(0),
                             sheet->getColor(0), 15, 4, 0, "/!6!/", "/5");
}

void DockTopLeftRechPane::showQueryHistory() {
    AClusterItem* item = findItem(kHistoryButton, false);
    auto* button = CheckAlloc(item ? static_cast<AIconButton*>(item->castTo(&AIconButton::classRecord)) : nullptr,
                              "DockTopLeftRechPane", 183);
    PopupTree* popup = CheckAlloc(PopupTree::load(getFrame()->getParent(), "PopupSiSearch"), "DockTopLeftRechPane", 184);
    ARect anchor = button->getScreenBounds();
    anchor.first.x -= 140;
    PopupTreeParams params;
    makeHistoryPopupParams(params);
    popup->setParams(params);
    popup->setMinWidth(146);
    popup->setUp(this, callBack_, "PopupSiSearch", 0x2042, 0);
    auto* rows = CheckAlloc(new (std::nothrow) ASVSiSearchLineGetter(&ATopDockApp::current().queryHistory()),
                            "DockTopLeftRechPane", 188);
    popup->setLineGetter(rows, 1);
    popup->openAt(anchor);
}

void DockTopLeftRechPane::updatePane() {
    AppState* state = currentState();
    ASVLoSearchState* search = state ? state->getSearchState() : nullptr;
    RechPane::updatePane();
    if (search)
        showSearchState(search);
    else if (field_)
        field_->setText("");
    if (field_)
        field_->becomeTarget(1);
}

int16_t DockTopLeftRechPane::isPaneWanted() {
    AppState* state = currentState();
    int16_t mode = state ? state->getScreenMode() : 0;
    if (mode == 3 || mode == 4)
        return 0;
    if (mode == 1) {
        ALeftState* left = state->getLeftState();
        return left && left->fMode == 1 ? 1 : 0;
    }
    return 1;
}

void DockTopLeftRechPane::goToState(AppState* state) {
    if (state)
        RechPane::goToState(state);
}
