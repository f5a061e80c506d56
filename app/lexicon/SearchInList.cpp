// The list line of an edit box's text, found and brought half a page down.
#include "app/lexicon/SearchInList.h"

#include "base/procedural/AError.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "framework/components/AKindSet.h"
#include "framework/controls/AEditBox.h"
#include "framework/display/ADisplayComponent.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(SearchInList, 0, AComponent)

namespace {

const long kTextChanged = 6;
const long kGoingAway = 9;

}  // namespace

SearchInList::SearchInList(AComponent* parent, int16_t editId, int16_t listId, ALineFinder* finder, char prefix)
    : AComponent(parent, 0), editId_(editId), listId_(listId), finder_(finder), prefix_(prefix) {}

void SearchInList::setUpItems() {
    AComponent::setUpItems();
    if (!editId_ || !listId_)
        ThrowAssert("ulexique", __LINE__);
    AComponent* edit = sendToId(editId_, 0);
    if (!edit)
        ThrowAssert("ulexique", __LINE__);
    edit_ = CheckAlloc(dynamic_cast<AEditBox*>(edit), "ulexique", __LINE__);
    AComponent* list = sendToId(listId_, 0);
    if (!list)
        ThrowAssert("ulexique", __LINE__);
    list_ = CheckAlloc(dynamic_cast<ARendererView*>(list), "ulexique", __LINE__);
    enclosing_ = nullptr;
    for (AComponent* c = getParent(); c && !enclosing_; c = c->getParent())
        if (auto* display = dynamic_cast<ADisplayComponent*>(c); display && !dynamic_cast<ADisplayComponent*>(c->getParent()))
            enclosing_ = display;
    if (!enclosing_)
        ThrowAssert("ulexique", __LINE__);
    edit_->addLink(this);
    list_->addLink(this);
    enclosing_->addLink(this);
    edit_->selectAll();
    AKindSet kinds;
    kinds.add(kTextChanged);
    edit_->notify(kinds);
}

void SearchInList::forget(AComponent* component) {
    if (component == edit_)
        edit_ = nullptr;
    if (component == list_)
        list_ = nullptr;
    if (component == enclosing_)
        enclosing_ = nullptr;
}

void SearchInList::detachItems() {
    for (AComponent* c : {static_cast<AComponent*>(edit_), static_cast<AComponent*>(list_), enclosing_})
        if (c)
            c->removeLink(this);
    edit_ = nullptr;
    list_ = nullptr;
    enclosing_ = nullptr;
    AComponent::detachItems();
}

void SearchInList::componentDeleted(AComponent* component) {
    forget(component);
    AComponent::componentDeleted(component);
}

void SearchInList::linkChanged(AComponent* source, const AKindSet& kinds) {
    AComponent::linkChanged(source, kinds);
    if (kinds.contains(kGoingAway)) {
        forget(source);
        return;
    }
    if (source == edit_ && kinds.contains(kTextChanged))
        search();
}

void SearchInList::search() {
    if (!edit_)
        ThrowAssert("ulexique", __LINE__);
    AString text;
    if (prefix_)
        text += prefix_;
    text += edit_->getText();
    showLine(findLine(text.c_str()));
}

long SearchInList::findLine(const char* text) {
    if (finder_)
        return finder_->lineOfText(text, 0);
    if (base_) {
        long info = base_->getTableInfo(table_, text);
        return position_ ? position_->lineOfInfo(info) : info;
    }
    return 0;
}

long SearchInList::rowsAbove(long height, long pitch) {
    return pitch ? (height / pitch) / 2 : 10;
}

void SearchInList::showLine(long line) {
    ARenderer* renderer = list_ ? list_->renderer() : nullptr;
    if (!renderer)
        ThrowAssert("ulexique", __LINE__);
    long pitch = 0;
    if (auto* text = dynamic_cast<ATextRenderer*>(renderer))
        pitch = text->rowPitch();
    const long n = rowsAbove(renderer->frame().height(), pitch);
    // The list from line - n, so that the line stands n rows down.
    renderer->scrollToPosition(line - n > 0 ? line - n : 0);
}
