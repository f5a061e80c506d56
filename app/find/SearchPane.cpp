// The search panes' find text, highlight set, find dialog and hit steps.
#include "app/find/SearchPane.h"

#include <new>

#include "app/find/FindDialog.h"
#include "base/procedural/AError.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AHiliteSet.h"
#include "docengine/render/AHitNavigator.h"
#include "docengine/render/ARenderer.h"
#include "framework/app/AApp.h"
#include "search/facade/ADataLocation.h"

SV_IMPLEMENT_CLASS(SearchPane, 0, SVPane)
SV_IMPLEMENT_CLASS(TextPane, 0, SearchPane)

namespace {

void Beep() {
    if (AApp* app = AApp::current())
        app->beep(0);
}

}  // namespace

SearchPane::~SearchPane() {
    ReleaseAndNull(hiliteSet_);
}

void SearchPane::makeHiliteSet(const AFilter& filter) {
    ReleaseAndNull(hiliteSet_);
    hiliteSet_ = CheckAlloc(new (std::nothrow) AHiliteSet(" .,;:'", filter), "SVPane", __LINE__);
    hiliteSet_->addRef();
}

void SearchPane::attachItems() {
    SVPane::attachItems();
    // Without a mounted data location (a reader with no base) the words are
    // compared as they stand.
    AFilter filter;
    if (gDataLocation)
        filter = gDataLocation->getFilter("HILITEMAJ");
    else
        filter.makeIdentity();
    makeHiliteSet(filter);
}

void SearchPane::detachItems() {
    ReleaseAndNull(hiliteSet_);
    SVPane::detachItems();
}

void SearchPane::componentDeleted(AComponent* component) {
    if (findDialog_ && component == static_cast<AComponent*>(findDialog_))
        findDialog_ = nullptr;
    SVPane::componentDeleted(component);
}

ACommand* SearchPane::findText(const char* text) {
    if (restartOnFind == 1) {
        ARenderer* view = getHitView();
        if (AHitNavigator* navigator = view ? view->hitNavigator() : nullptr)
            wrapStart = navigator->currentHitEnd();
        wrapped = 0;
    }
    if (text && *text)
        setFindText(text);
    openFindDialog();
    return noChangeCommand();
}

void SearchPane::setFindText(const char* text) {
    if (!hiliteSet_ || !text)
        return;
    AFilter filter = hiliteSet_->getFilter();
    AString typed(text);
    const bool starred = typed.length() > 0 && typed[typed.length() - 1] == '*';
    AString expression = filter.apply(typed.c_str(), typed.length());
    if (starred)
        typed.setLength(typed.length() - 1);
    expression += "*";
    if (expression == hiliteExpression_)
        return;
    findText_ = typed;
    hiliteExpression_ = expression;
    const char* lines[] = {hiliteExpression_.c_str(), nullptr};
    hiliteSet_->setExpression(lines);
}

void SearchPane::openFindDialog() {
    if (!findDialog_) {
        AComponent* loaded = AComponent::loadLayout(this, "RechDialog", 0);
        auto* dialog = CheckAlloc(loaded ? dynamic_cast<FindDialog*>(loaded) : nullptr, "SVPane", __LINE__);
        ARect frame = dialog->getFrame();
        dialog->setFrame(ARect(10, 270, 10 + frame.width(), 270 + frame.height()), false);
        findDialog_ = dialog;
    }
    findDialog_->show(false);
    findDialog_->showUpdate();
}

void SearchPane::installHitNavigator() {
    ARenderer* view = getHitView();
    if (!hiliteSet_ || !view)
        return;
    if (ADocModel* model = view->model())
        model->setHighlighter(CheckAlloc(new (std::nothrow) AHighlighter(hiliteSet_, nullptr), "SVPane", __LINE__));
    view->setHitNavigator(CheckAlloc(new (std::nothrow) AModelHitNavigator(view, 0x121), "SVPane", __LINE__));
}

AHitStepper* SearchPane::hitStepper() {
    ARenderer* view = getHitView();
    stepper_.navigator = view ? view->hitNavigator() : nullptr;
    return stepper_.navigator ? &stepper_ : nullptr;
}

ACommand* SearchPane::showNextHit() {
    return move(Move::Next);
}

ACommand* SearchPane::showPreviousHit() {
    return move(Move::Previous);
}

ACommand* SearchPane::showFirstHit() {
    return move(Move::First);
}

ACommand* SearchPane::showLastHit() {
    return move(Move::Last);
}

ACommand* SearchPane::move(Move what) {
    AHitStepper* stepper = hitStepper();
    if (!stepper)
        return noChangeCommand();
    long found = 0;
    switch (what) {
        case Move::Next:
            direction = 1;
            found = stepper->showNextHit();
            break;
        case Move::Previous:
            direction = 0;
            found = stepper->showPreviousHit();
            break;
        case Move::First:
            direction = 1;
            found = stepper->showFirstHit();
            break;
        case Move::Last:
            direction = 0;
            found = stepper->showLastHit();
            break;
    }
    wrapStep(*stepper, found);
    return noChangeCommand();
}

void SearchPane::wrapStep(AHitStepper& stepper, long found) {
    if (restartOnFind == 0 && wrapStart != 0 && found == 0) {
        Beep();
        return;
    }
    if (found == 0) {
        if (wrapped == 1) {
            Beep();
            return;
        }
        // The jump runs the wrap step again with its own result, so a
        // document without any hit ends in one beep.
        wrapped = 1;
        if (direction == 1)
            showFirstHit();
        else
            showLastHit();
        return;
    }
    if (wrapped == 0)
        return;
    const long position = stepper.currentPosition();
    if ((direction == 1 && position >= wrapStart) || (direction == 0 && position <= wrapStart)) {
        wrapped = 0;
        wrapStart = position;
        Beep();
    }
}

long SearchPane::NavigatorStepper::showNextHit() {
    return navigator->showNextHit();
}

long SearchPane::NavigatorStepper::showPreviousHit() {
    return navigator->showPreviousHit();
}

long SearchPane::NavigatorStepper::showFirstHit() {
    return navigator->showFirstHit();
}

long SearchPane::NavigatorStepper::showLastHit() {
    return navigator->showLastHit();
}

long SearchPane::NavigatorStepper::currentPosition() {
    return navigator->currentHitEnd();
}
