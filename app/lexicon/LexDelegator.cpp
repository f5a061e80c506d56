// Type-ahead: typing, the one-second pause, Return, Tab and activation.
#include "app/lexicon/LexDelegator.h"

#include <cctype>
#include <new>

#include "base/object/AMemoryStream.h"
#include "base/object/InputRecords.h"
#include "base/procedural/AError.h"
#include "framework/clusters/ACommandItem.h"
#include "framework/clusters/AItemCluster.h"
#include "framework/components/AKindSet.h"

SV_IMPLEMENT_CLASS(LexDelegator, 0, ASizerBox)

namespace {

const uint16_t kEndMark = 0xFFFF;
const long kTextChanged = 6;

}  // namespace

LexDelegator::LexDelegator(AComponent* parent, int16_t id, int16_t commandId, int16_t targetId)
    : ASizerBox(parent, id, ASizeSpec::zero), commandId_(commandId), targetId_(targetId) {}

void LexDelegator::readFrom(AMemoryStream& stream) {
    ASizerBox::readFrom(stream);
    commandId_ = stream.readShort();
    targetId_ = stream.readShort();
    third_ = stream.readShort();
    if (uint16_t(stream.readShort()) != kEndMark)
        ThrowAssert("ulexique", __LINE__);
}

void LexDelegator::childrenLoaded() {
    ASizerBox::childrenLoaded();
    AItemCluster* cluster = nullptr;
    for (AComponent* c = getParent(); c && !cluster; c = c->getParent())
        cluster = dynamic_cast<AItemCluster*>(c);
    if (!cluster)
        ThrowAssert("ulexique", __LINE__);
    target_ = cluster->findItem(targetId_, false);
    if (!target_)
        ThrowAssert("ulexique", __LINE__);
    if ((target_->itemFlags() & AClusterItem::kFocusable) || catcher_)
        return;
    int16_t id = int16_t(targetId_ + 1000);
    while (cluster->findItem(id, false))
        ++id;
    auto* catcher = new (std::nothrow) AAtomicItem(this, id, ASizeSpec::zero, 0, 0, nullptr, 0x1000);
    catcher_ = CheckAlloc(catcher, "ulexique", __LINE__);
    AObject::completeNew(catcher_);
    target_->setEnabled(false);
}

void LexDelegator::componentDeleted(AComponent* component) {
    if (component == target_)
        target_ = nullptr;
    if (component == catcher_)
        catcher_ = nullptr;
    ASizerBox::componentDeleted(component);
}

void LexDelegator::setTargetText(const char* text) {
    target_->setText(text);
    AKindSet kinds;
    kinds.add(kTextChanged);
    target_->notify(kinds);
}

long LexDelegator::onActivate() {
    if (catcher_)
        catcher_->becomeTarget(1);
    if (!timer_ && target_)
        saved_ = target_->getText();
    send(1, 1);
    return ASizerBox::onActivate();
}

ACommand* LexDelegator::charToCommand(AKeyEvent& event) {
    const unsigned ch = event.character & 0xFF;
    const bool counts = ch > 127 || std::isalnum(int(ch));
    if (!catcher_ || !counts || !target_)
        return passThroughCommand();
    if (timer_)
        restartTimer(timer_);
    timer_ = addTimer(kPauseMs);
    if (typed_.empty())
        saved_ = target_->getText();
    typed_ += char(ch);
    setTargetText(typed_.c_str());
    return noChangeCommand();
}

ACommand* LexDelegator::keyToCommand(AKeyEvent& event) {
    if (!catcher_ || !event.down)
        return ASizerBox::keyToCommand(event);
    // Return only: typed characters reach here with key code 0.
    if (event.keyCode == VK_RETURN) {
        if (timer_) {
            send(2, 1);
        } else if (AItemCluster* owner = target_ ? target_->enclosingCluster() : nullptr) {
            if (!owner->triggerDefault(1))
                owner->itemCommand(targetId_, 1, target_);
        }
        return noChangeCommand();
    }
    if (event.keyCode == VK_TAB && timer_) {
        setTargetText(saved_.c_str());
        restartTimer(timer_);
        timer_ = 0;
        saved_ = AString();
        typed_ = AString();
    }
    return ASizerBox::keyToCommand(event);
}

long LexDelegator::timerFired(uint16_t id, uint32_t now) {
    if (id != timer_ || !timer_)
        return ASizerBox::timerFired(id, now);
    send(0, 1);
    return 1;
}

void LexDelegator::send(int16_t reset, long argument) {
    AItemCluster* owner = target_ ? target_->enclosingCluster() : nullptr;
    if (!owner)
        ThrowAssert("ulexique", __LINE__);
    owner->itemCommand(commandId_, argument, owner->findItem(commandId_, false));
    if (target_)
        setTargetText(saved_.c_str());
    if (reset && timer_)
        restartTimer(timer_);
    timer_ = 0;
    saved_ = AString();
    typed_ = AString();
}
