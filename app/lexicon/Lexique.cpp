// The lexicon window: filling, group windows, the choice and the search command.
#include "app/lexicon/Lexique.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "app/lines/StandardLineGetter.h"
#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/components/AKindSet.h"
#include "framework/controls/AEditBox.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/ATextStyle.h"
#include "search/facade/ASearchBase.h"

SV_IMPLEMENT_CLASS(ExecSearchCmd, 0, ACommand)
SV_IMPLEMENT_CLASS(Lexique, 0, AWindow)

namespace {

const uint16_t kEndMark = 0xFFFF;

// A decimal number of at most nine digits at p; false otherwise.
bool ReadNumber(const char*& p, long& out) {
    const char* start = p;
    long value = 0;
    while (*p >= '0' && *p <= '9' && p - start < 9)
        value = value * 10 + (*p++ - '0');
    if (p == start || (*p >= '0' && *p <= '9'))
        return false;
    out = value;
    return true;
}

void SetFieldText(AEditBox* field, const char* text) {
    field->setText(text);
    AKindSet kinds;
    kinds.add(6);
    field->notify(kinds);
}

}  // namespace

void ExecSearchCmd::execute() {
    if (provider_)
        provider_->runSearch(fieldId_, value_);
}

Lexique::~Lexique() {
    if (child_) {
        AComponent* child = child_;
        child_->parent_ = nullptr;
        child_ = nullptr;
        DeleteComponent(child);
    }
    if (parent_ && parent_->child_ == this) {
        parent_->child_ = nullptr;
        if (!(parent_->state() & 1))
            parent_->goAway();
    }
    if (list_ && list_->renderer())
        list_->renderer()->setModel(nullptr);
}

void Lexique::readFrom(AMemoryStream& stream) {
    AWindow::readFrom(stream);
    subLayout_ = stream.readString(-1);
    if (uint16_t(stream.readShort()) != kEndMark)
        ThrowAssert("ulexique", __LINE__);
}

void Lexique::childrenLoaded() {
    AWindow::childrenLoaded();
    if (AComponent* field = findById(kFieldId, 0))
        field_ = CheckAlloc(dynamic_cast<AEditBox*>(field), "ulexique", __LINE__);
    list_ = CheckAlloc(dynamic_cast<ARendererView*>(findById(kListId, 0)), "ulexique", __LINE__);
    if (!list_->renderer() && list_->rendererLayer()) {
        auto* renderer = CheckAlloc(new (std::nothrow) AListRenderer(list_->rendererLayer()), "ulexique", __LINE__);
        renderer->listOptions = 0x0002 | 0x0008;
        list_->rendererLayer()->setRenderer(renderer);
    }
    if (field_)
        field_->addLink(this);
    list_->addLink(this);
    // The rows are written in the list's own font, the style sheet's font 1.
    ATextStyle* env = list_->ownDisplayEnv();
    if (env && env->font() && list_->renderer() && list_->renderer()->styleSheet())
        list_->renderer()->styleSheet()->setFont(1, env->font()->spec());
    applyRowSpacing();
    setDeleteOnClose(true);
}

// The layer that holds the spacing is made anew with each model.
void Lexique::applyRowSpacing() {
    auto* r = list_ ? dynamic_cast<ATextRenderer*>(list_->renderer()) : nullptr;
    if (!r || !r->lines())
        return;
    r->lines()->minLineHeight = kRowHeight;
    r->lines()->lineSpacing = kRowGap;
    r->invalidateLayout();
}

void Lexique::componentDeleted(AComponent* component) {
    if (component == field_)
        field_ = nullptr;
    if (component == list_)
        list_ = nullptr;
    AWindow::componentDeleted(component);
}

void Lexique::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {kFieldId, kCloseId, kListId, kOpenId})
        if (findItem(id, false))
            addAction(int16_t(id + 1000), this, id, nullptr);
}

int16_t Lexique::commandStatus(int16_t id, long argument) {
    switch (id) {
    case kFieldId + 1000:
        return 2;
    case kCloseId + 1000:
    case kListId + 1000:
    case kOpenId + 1000:
        return 1;
    default:
        return AWindow::commandStatus(id, argument);
    }
}

ACommand* Lexique::doCommand(int16_t id, long argument) {
    switch (id) {
    case kFieldId + 1000:
        return passThroughCommand();
    case kCloseId + 1000:
        goAway();
        return noChangeCommand();
    case kListId + 1000:
    case kOpenId + 1000: {
        ARenderer* r = list_ ? list_->renderer() : nullptr;
        if (!r)
            ThrowAssert("ulexique", __LINE__);
        lastRow_ = r->hitRecord() ? AListRenderer::rowOfHit(*r->hitRecord()) : -1;
        rowClicked(r->getHitText().c_str());
        return noChangeCommand();
    }
    default:
        return AWindow::doCommand(id, argument);
    }
}

void Lexique::setText(const char* text) {
    setTitle(text ? text : "");
    if (findItem(kTitleId, false))
        setItemText(kTitleId, text ? text : "");
}

void Lexique::fillRange(long start, long end) {
    if (!provider_)
        ThrowAssert("ulexique", __LINE__);
    LexiqueOwner* owner = provider_->ownerRecord();
    if (!owner)
        ThrowAssert("ulexique", __LINE__);
    ARenderer* r = list_ ? list_->renderer() : nullptr;
    if (!r)
        ThrowAssert("ulexique", __LINE__);
    if (!owner->base) {
        r->setModel(nullptr);
        return;
    }
    if (owner->table < 0)
        ThrowAssert("ulexique", __LINE__);
    auto* rows = CheckAlloc(new (std::nothrow) StandardLineGetter(owner->base, nullptr, owner->table, start, end),
                            "ulexique", __LINE__);
    rows->addRef();
    r->setSourceModel(rows, nullptr);
    rows->release();
    if (r->styleSheet())
        r->styleSheet()->name = owner->style;
    applyRowSpacing();
    r->scrollToPosition(0);
    r->layoutAll();
}

bool Lexique::parseGroup(const char* text, long& start, long& count) {
    if (!text)
        return false;
    const char* hash = std::strchr(text, '#');
    const char* p = hash ? hash + 1 : text;
    if (*p != '>')
        return false;
    ++p;
    if (!ReadNumber(p, start))
        return false;
    const char* colon = std::strchr(p, ':');
    if (!colon)
        return false;
    p = colon + 1;
    return ReadNumber(p, count) && count > 0;
}

void Lexique::rowClicked(const char* text) {
    const char* hash = text ? std::strchr(text, '#') : nullptr;
    const bool group = text && (hash ? hash[1] == '>' : text[0] == '>');
    if (group) {
        if (!provider_ || !provider_->ownerRecord())
            ThrowAssert("ulexique", __LINE__);
        LexiqueOwner* owner = provider_->ownerRecord();
        long start = 0, count = 0;
        if (!parseGroup(text, start, count) || !owner->base)
            return;
        // A group naming records past the table is bad data: nothing opens.
        long records = owner->base->getRecordCount(owner->table);
        if (start >= records || count > records - start)
            return;
        AString title = hash ? AString(text, long(hash - text)) : AString(text);
        openGroup(start, count, title.c_str());
        return;
    }
    current_ = text ? text : "";
    choose();
}

void Lexique::openGroup(long start, long count, const char* title) {
    if (!provider_ || !list_ || !list_->renderer())
        ThrowAssert("ulexique", __LINE__);
    if (child_) {
        AComponent* old = child_;
        child_->parent_ = nullptr;
        child_ = nullptr;
        DeleteComponent(old);
    }
    AComponent* loaded = AComponent::loadLayout(getParent(), subLayout_.c_str(), 0);
    auto* child = dynamic_cast<Lexique*>(loaded);
    if (!child && loaded)
        DeleteComponent(loaded);
    CheckAlloc(child, "ulexique", __LINE__);
    child->parent_ = this;
    child_ = child;
    child->setProvider(provider_, value_);
    child->setText(title);
    child->fillRange(start, start + count);
    ARect row;
    if (auto* list = dynamic_cast<AListRenderer*>(list_->renderer()))
        row = list->rowRect(lastRow_ >= 0 ? lastRow_ : 0);
    APoint corner = list_->localToScreen(APoint(row.first.x + 10, row.second.y + 5));
    ARect frame = child->getScreenBounds();
    child->setScreenBounds(ARect(corner.x, corner.y, corner.x + frame.width(), corner.y + frame.height()), false);
    child->showUpdate();
}

void Lexique::choose() {
    if (parent_) {
        parent_->setCurrentText(current_.c_str());
        hideUpdate();
        parent_->choose();
        return;
    }
    LexiqueOwner* owner = provider_ ? provider_->ownerRecord() : nullptr;
    if (!owner || !owner->firstField)
        ThrowAssert("ulexique", __LINE__);
    const char* text = current_.c_str();
    const char* colon = std::strchr(text, ':');
    if (owner->secondField && colon) {
        SetFieldText(owner->firstField, AString(text, long(colon - text)).c_str());
        SetFieldText(owner->secondField, colon + 1);
    } else {
        SetFieldText(owner->firstField, text);
    }
    auto* command = new (std::nothrow)
        ExecSearchCmd(AComponent::application(), provider_, owner->firstField->id(), value_);
    AObject::completeNew(command);
    perform(CheckAlloc(command, "ulexique", __LINE__));
    goAway();
}

void Lexique::goAway() {
    if (goingAway_)
        return;
    goingAway_ = 1;
    hideUpdate();
    perform(new ADeleteComponentCmd(1, this));
}

void Lexique::activate(bool on) {
    AWindow::activate(on);
    if (!on && !child_)
        goAway();
}
